// Playing and exporting on a 100,000-song synthetic library of 200 artists (about 500 songs
// each): Play All in the Songs view, Play on one artist, and the export of every song. A play
// is everything but the player's start: the songs collected, the playlist written, the launcher
// called, the play counts raised.

#include <benchmark/benchmark.h>

#include <filesystem>

#include "benchwindow.h"
#include "browse/librarygrid.h"
#include "db/librarydb.h"
#include "librarygen.h"
#include "qtbench.h"

namespace {

CBenchLibrary& Reference() {
    static CBenchLibrary library("play", [] {
        LibraryShape shape;
        shape.artists = 200;  // about 500 songs each
        return shape;
    }());
    return library;
}

void BM_PlayAllSongsView(benchmark::State& state) {
    CLibraryGrid& grid = Reference().Grid();
    grid.SwitchMode(3, 0, 0, 0);
    Reference().Window().choices.randomize = state.range(0) != 0;
    for (auto _ : state) {
        benchmark::DoNotOptimize(grid.PlayAll());
    }
    Reference().Window().choices.randomize = false;
    state.counters["songs"] = grid.GetRowTotal() - 1;
}
BENCHMARK(BM_PlayAllSongsView)->ArgName("randomize")->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond);

void BM_PlayArtist(benchmark::State& state) {
    CLibraryGrid& grid = Reference().Grid();
    grid.SwitchMode(0, 0, 0, 0);
    const std::int32_t artist = Reference().Db().FindArtistId("Artist 7");
    for (auto _ : state) {
        benchmark::DoNotOptimize(grid.PlayItem(artist));
    }
}
BENCHMARK(BM_PlayArtist)->Unit(benchmark::kMillisecond);

void BM_ExportAllSongs(benchmark::State& state) {
    CLibraryGrid& grid = Reference().Grid();
    grid.SwitchMode(3, 0, 0, 0);
    const std::string path = (std::filesystem::current_path() / "all.m3u").string();
    for (auto _ : state) {
        benchmark::DoNotOptimize(
            Reference().Window().Player().ExportQuery(path, grid.BuildViewQuery(true), Reference().Window().choices));
    }
    state.counters["bytes"] = static_cast<double>(std::filesystem::file_size(path));
}
BENCHMARK(BM_ExportAllSongs)->Unit(benchmark::kMillisecond);

}  // namespace

int main(int argc, char** argv) {
    return RunWindowBenchmarks(argc, argv);
}

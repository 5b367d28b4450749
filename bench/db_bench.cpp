#include <benchmark/benchmark.h>

#include <filesystem>
#include <memory>
#include <string>

#include <fmt/format.h>

#include "benchfolder.h"
#include "db/dbtable.h"
#include "db/librarydb.h"
#include "engine/transaction.h"
#include "librarygen.h"

namespace {

// (a) One insert through the store's insert path, with `range(0)` songs already in the table.
void BM_InsertSong(benchmark::State& state) {
    CBenchFolder folder("insert");
    CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
    const int existing = static_cast<int>(state.range(0));
    AddSyntheticSongs(db, existing);
    CTransaction transaction(db);
    int number = existing;
    for (auto _ : state) {
        benchmark::DoNotOptimize(InsertSong(db, number++));
    }
    transaction.Commit();
}
BENCHMARK(BM_InsertSong)->Arg(1000)->Arg(100000)->Unit(benchmark::kMicrosecond);

// (b) A name lookup among 20,000 artists.
void BM_LookupArtistByName(benchmark::State& state) {
    CBenchFolder folder("lookup");
    CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
    AddSyntheticArtists(db, 20000);
    CDbTable artists(&db, "Artists");
    int number = 0;
    for (auto _ : state) {
        const std::int32_t id = artists.LookupLongByText("ID", "Name", fmt::format("artist {}", number));
        if (id != number + 1) {
            state.SkipWithError("lookup found the wrong artist");
        }
        number = (number + 7919) % 20000;
    }
}
BENCHMARK(BM_LookupArtistByName)->Unit(benchmark::kMicrosecond);

// (c) Opening a library of 100,000 songs and checking its version, as start-up does.
void BM_OpenLibrary(benchmark::State& state) {
    CBenchFolder folder("open");
    {
        CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
        AddSyntheticSongs(db, 100000);
    }
    state.counters["file MB"] = static_cast<double>(std::filesystem::file_size("Cadenzo.mdb")) / 1e6;
    for (auto _ : state) {
        CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
        if (!db.IsOpen() || !db.CheckVersion()) {
            state.SkipWithError("the library did not open");
        }
    }
}
BENCHMARK(BM_OpenLibrary)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

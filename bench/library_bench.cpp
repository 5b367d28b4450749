#include <benchmark/benchmark.h>

#include <memory>

#include "benchfolder.h"
#include "browse/underplayedrank.h"
#include "db/librarydb.h"
#include "engine/transaction.h"
#include "librarygen.h"

namespace {

// The reference library, built once for all benchmarks of this program.
CLibraryDb& ReferenceLibrary() {
    static CBenchFolder folder("reference");
    static CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
    static const bool built = [] {
        BuildSyntheticLibrary(db, LibraryShape());
        return true;
    }();
    (void)built;
    return db;
}

// Every stored rating is out of date, so every row is written.
void BM_RecalcRatings(benchmark::State& state) {
    CLibraryDb& db = ReferenceLibrary();
    for (auto _ : state) {
        state.PauseTiming();
        for (const char* table : {"Artists", "Albums", "Collections"}) {
            db.Execute(std::string("UPDATE ") + table + " SET AutoRating = -1", dbFailOnError);
        }
        state.ResumeTiming();
        db.RecalcRatings();
    }
}
BENCHMARK(BM_RecalcRatings)->Unit(benchmark::kMillisecond);

// Nothing changed since the last run: nothing is written.
void BM_RecalcRatingsUnchanged(benchmark::State& state) {
    CLibraryDb& db = ReferenceLibrary();
    db.RecalcRatings();
    for (auto _ : state) {
        db.RecalcRatings();
    }
}
BENCHMARK(BM_RecalcRatingsUnchanged)->Unit(benchmark::kMillisecond);

void BM_UnderplayedRanks(benchmark::State& state) {
    CLibraryDb& db = ReferenceLibrary();
    NameList names;
    IdList albums;
    db.FillNameList(names, albums, "Albums", "Name", "ID");
    for (auto _ : state) {
        benchmark::DoNotOptimize(ComputeUnderplayedRanks(db, albums, 3));
    }
    state.counters["albums"] = static_cast<double>(albums.size());
}
BENCHMARK(BM_UnderplayedRanks)->Unit(benchmark::kMillisecond);

void BM_FindOrAddSongExisting(benchmark::State& state) {
    CLibraryDb& db = ReferenceLibrary();
    SongRecord song;
    song.filePath = "/music/7/7/000007.mp3";
    for (auto _ : state) {
        benchmark::DoNotOptimize(db.FindOrAddSong(song));
    }
}
BENCHMARK(BM_FindOrAddSongExisting)->Unit(benchmark::kMicrosecond);

void BM_FindOrAddSongNew(benchmark::State& state) {
    CLibraryDb& db = ReferenceLibrary();
    CTransaction transaction(db);  // undone at the end: the reference library stays as built
    SongRecord song;
    int number = 0;
    for (auto _ : state) {
        song.filePath = "/new/" + std::to_string(number++) + ".mp3";
        benchmark::DoNotOptimize(db.FindOrAddSong(song));
    }
}
BENCHMARK(BM_FindOrAddSongNew)->Unit(benchmark::kMicrosecond);

void BM_RemoveArtistDeep(benchmark::State& state) {
    CLibraryDb& db = ReferenceLibrary();
    for (auto _ : state) {
        state.PauseTiming();
        auto transaction = std::make_unique<CTransaction>(db);  // undone after each removal
        const std::int32_t artist = db.FindOrAddArtist({0, "Prolific", 0, 0.0});
        const std::int32_t album = db.FindOrAddAlbum({0, artist, "Everything", 0, 0.0, "/p"});
        for (int i = 0; i < 500; ++i) {
            SongRecord song;
            song.artistId = artist;
            song.albumId = album;
            song.filePath = "/prolific/" + std::to_string(i) + ".mp3";
            db.AddSongToCollection(db.FindOrAddSong(song), 1);
        }
        state.ResumeTiming();
        db.RemoveItem(kArtistItem, artist, true);
        state.PauseTiming();
        transaction.reset();
        state.ResumeTiming();
    }
}
BENCHMARK(BM_RemoveArtistDeep)->Unit(benchmark::kMillisecond);

}  // namespace

BENCHMARK_MAIN();

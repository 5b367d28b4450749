// Editing at scale: Edit Item(s) on 1,000 ticked songs (1,000 checked tag writes through the tag
// worker, then the rows) against 1,000 bare TagLib saves of the same files in this process; and
// Deep Remove of an artist with 5,000 songs; 1,000 ratings written into files in the background;
// Find Missing Songs at 100,000 songs.

#include <benchmark/benchmark.h>

#include <filesystem>

#include <fmt/format.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include "benchfolder.h"
#include "benchtree.h"
#include "db/dbquery.h"
#include "db/librarydb.h"
#include "edit/itemedit.h"
#include "edit/librarychanges.h"
#include "edit/missingsongs.h"
#include "edit/ratingsaver.h"
#include "import/tagworkers.h"
#include "librarygen.h"

namespace {

constexpr int kEditedSongs = 1000;

// A library of the first 1,000 songs of the generated tree, imported.
struct EditedLibrary {
    CBenchFolder folder{"edit"};
    CTagWorkers workers;
    CLibraryDb db{"Cadenzo.mdb", false, false, BenchSettings(), BenchMessages()};
    IdList songs;

    EditedLibrary() {
        const SongTree& tree = GeneratedTree();
        CDefaultAnswers questions;
        for (int artist = 0; artist < kEditedSongs / (kAlbumsPerArtist * kSongsPerAlbum); ++artist) {
            PathStack paths{fmt::format("{}/Artist {}", tree.root, artist)};
            db.ImportFolder(paths, questions, workers);
        }
        NameList names;
        db.FillNameList(names, songs, "Songs", "Name", "ID");
    }
};

void BM_BareTagSaves(benchmark::State& state) {
    const SongTree& tree = GeneratedTree();
    int round = 0;
    for (auto _ : state) {
        for (int i = 0; i < kEditedSongs; ++i) {
            TagLib::FileRef file(tree.files[static_cast<std::size_t>(i)].first.c_str());
            file.tag()->setComment(TagLib::String(fmt::format("bare {}", round), TagLib::String::UTF8));
            file.save();
        }
        ++round;
    }
    state.counters["files"] = kEditedSongs;
}
BENCHMARK(BM_BareTagSaves)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_EditSeveralSongs(benchmark::State& state) {
    EditedLibrary library;
    int round = 0;
    for (auto _ : state) {
        CItemEdit edit(library.db, library.workers, kSeveralSongsItem, library.songs);
        ItemTexts texts = edit.Loaded();
        texts.comment = fmt::format("edited {}", round++);
        if (const std::vector<std::string> unwritten = edit.Store(texts, [] {}); !unwritten.empty()) {
            state.SkipWithError(UnwrittenFilesMessage(unwritten).c_str());
        }
    }
    state.counters["songs"] = static_cast<double>(library.songs.size());
}
BENCHMARK(BM_EditSeveralSongs)->Unit(benchmark::kMillisecond)->Iterations(2);

void BM_DeepRemoveArtist(benchmark::State& state) {
    CBenchFolder folder("deep-remove");
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove("Cadenzo.mdb");
        CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
        LibraryShape shape;
        shape.artists = 20;  // 5,000 songs each
        BuildSyntheticLibrary(db, shape);
        const std::int32_t artist = db.FindArtistId("Artist 3");
        IdList songs;
        db.GetSongIdsOfArtist(songs, artist);
        state.counters["songs"] = static_cast<double>(songs.size());
        state.ResumeTiming();
        RemoveItemWhole(db, kArtistItem, artist, true);
    }
}
BENCHMARK(BM_DeepRemoveArtist)->Unit(benchmark::kMillisecond)->Iterations(1);

// The ratings and play counts of 1,000 songs written into their files in the background, as after
// a Play All with "Save Ratings In Tags": how long until the last one is written.
void BM_SaveRatingsInFiles(benchmark::State& state) {
    EditedLibrary library;
    const SongTree& tree = GeneratedTree();
    int round = 0;
    for (auto _ : state) {
        std::vector<CRatingSaver::Song> songs;
        for (int i = 0; i < kEditedSongs; ++i) {
            const auto& [path, type] = tree.files[static_cast<std::size_t>(i)];
            songs.push_back({path, type, (i + round) % 8, round});
        }
        CRatingSaver saver(CTagWorkers::DefaultTagWorkerCommand());
        saver.Save(songs);
        saver.Flush();
        if (!saver.TakeFailures().empty()) {
            state.SkipWithError("a rating was not written");
        }
        ++round;
    }
    state.counters["songs"] = kEditedSongs;
}
BENCHMARK(BM_SaveRatingsInFiles)->Unit(benchmark::kMillisecond)->Iterations(2);

// Find Missing Songs at 100,000 songs (the synthetic library's files do not exist: every song
// is missing, the dialog's worst case).
void BM_FindMissingSongs(benchmark::State& state) {
    CBenchFolder folder("missing");
    CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
    BuildSyntheticLibrary(db, LibraryShape{});
    for (auto _ : state) {
        const std::vector<MissingSong> missing = FindMissingSongs(db, [](std::size_t, std::size_t) { return true; });
        state.counters["missing"] = static_cast<double>(missing.size());
    }
}
BENCHMARK(BM_FindMissingSongs)->Unit(benchmark::kMillisecond)->Iterations(2);

}  // namespace

int main(int argc, char** argv) {
    return RunTagWorkerBenchmarks(argc, argv);
}

// Importing the generated tree of 10,480 song files (with compilations and folders the import
// asks about, answered at once with the defaults), against the floor: one loop in this process
// that only opens every file with TagLib and reads its seven tags and length. Run the floor with
// the imports (--benchmark_filter='BM_TagLibFloor|BM_ImportTree/2/|BM_ReimportTree'
// --benchmark_repetitions=5): each import then gives its time as a share of the floor's last
// pass (x_floor).
// CADENZO_BENCH_TREE=folder imports a tree made elsewhere; CADENZO_BENCH_KEEP_LIBRARY=file
// keeps a copy of the imported library, for scripts/compare-libraries.

#include <benchmark/benchmark.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include <chrono>
#include <cstdlib>
#include <filesystem>
#include <string>
#include <vector>

#include "benchfolder.h"
#include "benchtree.h"
#include "db/dbquery.h"
#include "db/librarydb.h"
#include "hostilefiles.h"
#include "import/folderlisting.h"
#include "import/importquestions.h"
#include "import/songfile.h"
#include "import/tagworkers.h"

namespace {

// The floor's last pass in this run, in seconds: the imports give their time as a share of it
// (the counter x_floor), so that both come from the same run.
double g_floorSeconds = 0.0;

double SecondsSince(std::chrono::steady_clock::time_point start) {
    return std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
}

void ReportAgainstFloor(benchmark::State& state, double seconds) {
    if (g_floorSeconds > 0.0 && state.iterations() > 0) {
        state.counters["x_floor"] = seconds / static_cast<double>(state.iterations()) / g_floorSeconds;
    }
}

void BM_TagLibFloor(benchmark::State& state) {
    const SongTree& tree = GeneratedTree();
    for (auto _ : state) {
        const auto start = std::chrono::steady_clock::now();
        int parsed = 0;
        for (const auto& [path, type] : tree.files) {
            const TagLib::FileRef file(path.c_str());
            if (file.isNull() || file.tag() == nullptr || file.audioProperties() == nullptr) {
                continue;
            }
            const TagLib::Tag& tag = *file.tag();
            benchmark::DoNotOptimize(tag.title().size() + tag.artist().size() + tag.album().size() +
                                     tag.genre().size() + tag.comment().size() + tag.year() + tag.track() +
                                     static_cast<unsigned>(file.audioProperties()->lengthInMilliseconds()));
            ++parsed;
        }
        if (parsed != static_cast<int>(tree.files.size())) {
            state.SkipWithError("a generated file did not parse");
        }
        g_floorSeconds = SecondsSince(start);
    }
    state.counters["files"] = static_cast<double>(tree.files.size());
}
BENCHMARK(BM_TagLibFloor)->Unit(benchmark::kMillisecond)->Iterations(3);

void ImportInto(CLibraryDb& db, CTagWorkers& workers, ReimportChoice reimport = ReimportChoice::AllFolders) {
    CDefaultAnswers questions;
    questions.reimport = reimport;
    PathStack paths{GeneratedTree().root};
    db.ImportFolder(paths, questions, workers);
}

void BM_ImportTree(benchmark::State& state) {
    const SongTree& tree = GeneratedTree();
    CBenchFolder folder("import");
    CTagWorkers workers(CTagWorkers::DefaultTagWorkerCommand(), static_cast<int>(state.range(0)));
    double seconds = 0.0;
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove("Cadenzo.mdb");
        CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
        state.ResumeTiming();
        const auto start = std::chrono::steady_clock::now();
        ImportInto(db, workers);
        seconds += SecondsSince(start);
        state.PauseTiming();
        if (const char* keep = std::getenv("CADENZO_BENCH_KEEP_LIBRARY"); keep != nullptr && *keep != '\0') {
            std::filesystem::copy_file("Cadenzo.mdb", keep, std::filesystem::copy_options::overwrite_existing);
        }
        if (CDbQuery(db, "SELECT * FROM Songs").GetCount() != static_cast<long>(tree.files.size())) {
            state.SkipWithError("not every song was imported");
        }
        state.ResumeTiming();
    }
    ReportAgainstFloor(state, seconds);
}
BENCHMARK(BM_ImportTree)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);

// The listing of the whole tree an import makes before it reads a tag (to count the folders for
// the progress bar and find the known songs), against BM_ImportTree's time.
void BM_ListTree(benchmark::State& state) {
    for (auto _ : state) {
        std::size_t files = 0;
        ForEachFolderBelow(GeneratedTree().root,
                           [&](const FolderListing& listing) { files += listing.songFiles.size(); });
        state.counters["files"] = static_cast<double>(files);
    }
}
BENCHMARK(BM_ListTree)->Unit(benchmark::kMillisecond)->Iterations(5);

// The same tree again: every song is there already. Arg 0: all folders, as the user may choose;
// 1: only the folders with new songs, the question's default.
void BM_ReimportTree(benchmark::State& state) {
    CBenchFolder folder("reimport");
    CTagWorkers workers;
    CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
    ImportInto(db, workers);
    const ReimportChoice choice = state.range(0) == 0 ? ReimportChoice::AllFolders : ReimportChoice::OnlyNewFolders;
    const auto start = std::chrono::steady_clock::now();
    for (auto _ : state) {
        ImportInto(db, workers, choice);
    }
    ReportAgainstFloor(state, SecondsSince(start));
}
BENCHMARK(BM_ReimportTree)->Arg(0)->Arg(1)->Unit(benchmark::kMillisecond)->Iterations(2);

// The workers alone, one folder at a time, as the walk asks them.
void BM_WorkersReadPerFolder(benchmark::State& state) {
    const SongTree& tree = GeneratedTree();
    CTagWorkers workers(CTagWorkers::DefaultTagWorkerCommand(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (std::size_t i = 0; i < tree.files.size(); i += kSongsPerAlbum) {
            CTagWorkers::Files folder(tree.files.begin() + static_cast<long>(i),
                                      tree.files.begin() + static_cast<long>(i + kSongsPerAlbum));
            benchmark::DoNotOptimize(workers.Read(folder));
        }
    }
}
BENCHMARK(BM_WorkersReadPerFolder)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);

// What a crafted OGG whose comment length wraps costs before it counts as unparsable (the tag
// worker's memory and per-file time limits stop TagLib).
void BM_HostileOgg(benchmark::State& state) {
    CBenchFolder folder("hostile");
    CTagWorkers workers(CTagWorkers::DefaultTagWorkerCommand(), 1);
    const std::string path = std::filesystem::current_path() / "hostile.ogg";
    MakeWrappingCommentOgg(path, std::string(CADENZO_TEST_DATA) + "/silent.ogg", workers);
    for (auto _ : state) {
        benchmark::DoNotOptimize(workers.Read({{path, kOggFile}}));
    }
}
BENCHMARK(BM_HostileOgg)->Unit(benchmark::kMillisecond)->Iterations(3);

}  // namespace

int main(int argc, char** argv) {
    return RunTagWorkerBenchmarks(argc, argv);
}

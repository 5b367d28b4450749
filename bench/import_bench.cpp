// Importing a generated tree of 10,000 song files (100 artists, 1,000 albums), against the
// floor: one loop in this process that only opens every file with TagLib and reads its seven
// tags and length.

#include <benchmark/benchmark.h>

#include <filesystem>
#include <fstream>
#include <string>
#include <vector>

#include <fmt/format.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

#include "benchfolder.h"
#include "db/dbquery.h"
#include "db/librarydb.h"
#include "hostilefiles.h"
#include "import/importquestions.h"
#include "import/songfile.h"
#include "import/taglibio.h"
#include "import/tagworkers.h"
#include "platform/filedescriptor.h"

namespace {

constexpr int kArtists = 100;
constexpr int kAlbumsPerArtist = 10;
constexpr int kSongsPerAlbum = 10;

// The import of a tree without surprises asks nothing.
class CNoQuestions : public CImportQuestions {
public:
    bool AskUntagged(const std::string&, const std::vector<CSongFile>&, const std::string&, UntaggedAnswer&) override {
        return false;
    }
    bool AskUnknown(const std::string&, const std::string&, const std::vector<CSongFile>&, const std::string&,
                    UnknownAnswer&) override {
        return false;
    }
    void ShowProgress(const std::string&) override {}
};

struct SongTree {
    std::string root;
    std::vector<std::pair<std::string, int>> files;
};

// Copies the fixtures into artist/album folders and tags every copy (a complete tree left by
// an earlier run is used again).
const SongTree& GeneratedTree() {
    static const SongTree tree = [] {
        SongTree made;
        made.root = (std::filesystem::temp_directory_path() / "cadenzo-bench-tree").string();
        const std::string complete = made.root + "/complete";
        const bool reuse = std::filesystem::exists(complete);
        if (!reuse) {
            std::filesystem::remove_all(made.root);
        }
        const std::string fixtures = CADENZO_TEST_DATA;
        for (int artist = 0; artist < kArtists; ++artist) {
            for (int album = 0; album < kAlbumsPerArtist; ++album) {
                const std::string folder = fmt::format("{}/Artist {}/Album {}", made.root, artist, album);
                std::filesystem::create_directories(folder);
                for (int song = 0; song < kSongsPerAlbum; ++song) {
                    const int type = song % 2 == 0 ? 1 : 2;
                    const std::string path =
                        fmt::format("{}/{:02} Song.{}", folder, song + 1, type == 1 ? "mp3" : "ogg");
                    made.files.emplace_back(path, type);
                    if (reuse) {
                        continue;
                    }
                    std::filesystem::copy_file(fixtures + (type == 1 ? "/silent.mp3" : "/silent.ogg"), path);
                    TagLib::FileRef file(path.c_str());
                    file.tag()->setTitle(TagLib::String(fmt::format("Song {}", song + 1), TagLib::String::UTF8));
                    file.tag()->setArtist(TagLib::String(fmt::format("Artist {}", artist), TagLib::String::UTF8));
                    file.tag()->setAlbum(TagLib::String(fmt::format("Album {}", album), TagLib::String::UTF8));
                    file.tag()->setGenre("Rock");
                    file.tag()->setYear(2000 + static_cast<unsigned>(album));
                    file.tag()->setTrack(static_cast<unsigned>(song + 1));
                    file.save();
                }
            }
        }
        std::ofstream(complete) << "done\n";
        return made;
    }();
    return tree;
}

void BM_TagLibFloor(benchmark::State& state) {
    const SongTree& tree = GeneratedTree();
    for (auto _ : state) {
        int parsed = 0;
        for (const auto& [path, type] : tree.files) {
            parsed += ReadSongTags(path, type).parsed ? 1 : 0;
        }
        if (parsed != static_cast<int>(tree.files.size())) {
            state.SkipWithError("a generated file did not parse");
        }
    }
    state.counters["files"] = static_cast<double>(tree.files.size());
}
BENCHMARK(BM_TagLibFloor)->Unit(benchmark::kMillisecond)->Iterations(3);

void ImportInto(CLibraryDb& db, CTagWorkers& workers) {
    CNoQuestions questions;
    PathStack paths{GeneratedTree().root};
    db.ImportFolder(paths, questions, workers);
}

void BM_ImportTree(benchmark::State& state) {
    const SongTree& tree = GeneratedTree();
    CBenchFolder folder("import");
    CTagWorkers workers(CTagWorkers::DefaultTagWorkerCommand(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        state.PauseTiming();
        std::filesystem::remove("Cadenzo.mdb");
        CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
        state.ResumeTiming();
        ImportInto(db, workers);
        state.PauseTiming();
        if (CDbQuery(db, "SELECT * FROM Songs").GetCount() != static_cast<long>(tree.files.size())) {
            state.SkipWithError("not every song was imported");
        }
        state.ResumeTiming();
    }
}
BENCHMARK(BM_ImportTree)->Arg(1)->Arg(2)->Unit(benchmark::kMillisecond)->Iterations(2);

// The same tree again: every song is there already.
void BM_ReimportTree(benchmark::State& state) {
    CBenchFolder folder("reimport");
    CTagWorkers workers;
    CLibraryDb db("Cadenzo.mdb", false, false, BenchSettings(), BenchMessages());
    ImportInto(db, workers);
    for (auto _ : state) {
        ImportInto(db, workers);
    }
}
BENCHMARK(BM_ReimportTree)->Unit(benchmark::kMillisecond)->Iterations(2);

// The workers alone, one folder at a time, as the walk asks them.
void BM_WorkersReadPerFolder(benchmark::State& state) {
    const SongTree& tree = GeneratedTree();
    CTagWorkers workers(CTagWorkers::DefaultTagWorkerCommand(), static_cast<int>(state.range(0)));
    for (auto _ : state) {
        for (std::size_t i = 0; i < tree.files.size(); i += kSongsPerAlbum) {
            std::vector<std::pair<std::string, int>> folder(tree.files.begin() + static_cast<long>(i),
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
    IgnoreBrokenPipes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

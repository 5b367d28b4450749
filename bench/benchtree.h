#pragma once

#include <string>
#include <utility>
#include <vector>

#include <benchmark/benchmark.h>

#include "import/importquestions.h"
#include "import/tagprotocol.h"
#include "platform/filedescriptor.h"

constexpr int kArtists = 100;
constexpr int kAlbumsPerArtist = 10;
constexpr int kSongsPerAlbum = 10;

// A generated tree under the temporary folder, made once and kept for later runs: 10,000
// tagged song files (100 artists, 10 albums each, 10 songs per album) and 480 more in folders
// that are compilations, or that the import asks about (80 questions: few songs, several albums
// of one artist, untagged songs). With CADENZO_BENCH_TREE set, the song files of the tree at
// that path instead (for example one made by make-music-tree).
struct SongTree {
    std::string root;
    std::vector<std::pair<std::string, SongFileType>> files;  // path, file type
};
const SongTree& GeneratedTree();

// Answers every question at once with the dialog's defaults, as a user who only clicks OK.
class CDefaultAnswers : public CImportQuestions {
public:
    bool AskUntagged(const std::string&, const std::vector<CSongFile>&, const std::string&, UntaggedAnswer&) override {
        return true;
    }
    bool AskUnknown(const std::string&, const std::string&, const std::vector<CSongFile>&, const std::string&,
                    UnknownAnswer&) override {
        return true;
    }
    void ShowProgress(const std::string&) override {}
    ReimportChoice AskReimport(std::size_t, std::size_t) override { return reimport; }

    ReimportChoice reimport = ReimportChoice::AllFolders;
};

// The main of the benchmarks that talk to tag workers: a worker that dies must not end them.
inline int RunTagWorkerBenchmarks(int argc, char** argv) {
    IgnoreBrokenPipes();
    benchmark::Initialize(&argc, argv);
    benchmark::RunSpecifiedBenchmarks();
    benchmark::Shutdown();
    return 0;
}

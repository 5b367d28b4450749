#pragma once

#include <string>
#include <utility>
#include <vector>

#include "import/importquestions.h"

constexpr int kArtists = 100;
constexpr int kAlbumsPerArtist = 10;
constexpr int kSongsPerAlbum = 10;

// A generated tree of 10,000 tagged song files (100 artists, 10 albums each, 10 songs per
// album) under the temporary folder, made once and kept for later runs.
struct SongTree {
    std::string root;
    std::vector<std::pair<std::string, int>> files;  // path, file type
};
const SongTree& GeneratedTree();

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

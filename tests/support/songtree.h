#pragma once

#include <string>
#include <vector>

#include "import/tagprotocol.h"
#include "import/tagworkers.h"
#include "support/tempdir.h"

// A folder tree of real song files for import tests: copies of the tiny silent fixtures of
// tests/data, tagged through the tag worker.
class CSongTree {
public:
    explicit CSongTree(CTagWorkers& workers) : m_workers(workers) {}

    // The full path of `relative` inside the tree.
    std::string Path(const std::string& relative) const { return m_root.File(relative); }
    const std::string& Root() const { return m_root.Path(); }

    // Makes `relative` (its folders too) from the fixture of its extension and, when
    // `tagged`, writes `tags` into it. Returns the full path.
    std::string AddSong(const std::string& relative, const SongTags& tags, bool tagged = true);
    void AddFolder(const std::string& relative);
    void AddFile(const std::string& relative, const std::string& bytes);

    // Tags with the given title, artist and album, year 2001, track 1.
    static SongTags Tags(const std::string& title, const std::string& artist, const std::string& album);

private:
    CTagWorkers& m_workers;
    CTempDir m_root;
};

// The fixture file for a file type (1 MP3, 2 OGG).
std::string FixturePath(int fileType);

// A copy of the tag worker program in `folder`, for checks that run as an unprivileged user
// (who may not reach the build folder).
std::vector<std::string> WorkerCommandIn(const std::string& folder);

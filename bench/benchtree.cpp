#include "benchtree.h"

#include <cstdlib>
#include <filesystem>
#include <fstream>

#include <fmt/format.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

namespace {

// Makes the tree's files, or only lists them when an earlier run made them.
class CTreeMaker {
public:
    CTreeMaker(SongTree& tree, bool reuse) : m_tree(tree), m_reuse(reuse) {}

    // One song file in `folder` (relative to the root); tagged unless `artist` is empty.
    void Add(const std::string& folder, int number, const std::string& artist, const std::string& album) {
        const SongFileType type = number % 2 == 0 ? kMp3File : kOggFile;
        const std::string directory = m_tree.root + "/" + folder;
        const std::string path =
            fmt::format("{}/{:02} Song.{}", directory, number + 1, type == kMp3File ? "mp3" : "ogg");
        m_tree.files.emplace_back(path, type);
        if (m_reuse) {
            return;
        }
        std::filesystem::create_directories(directory);
        std::filesystem::copy_file(std::string(CADENZO_TEST_DATA) + (type == 1 ? "/silent.mp3" : "/silent.ogg"), path);
        if (artist.empty()) {
            return;
        }
        TagLib::FileRef file(path.c_str());
        file.tag()->setTitle(TagLib::String(fmt::format("Song {}", number + 1), TagLib::String::UTF8));
        file.tag()->setArtist(TagLib::String(artist, TagLib::String::UTF8));
        file.tag()->setAlbum(TagLib::String(album, TagLib::String::UTF8));
        file.tag()->setGenre(number % 3 == 0 ? "Jazz" : "Rock");
        file.tag()->setYear(2000 + static_cast<unsigned>(number));
        file.tag()->setTrack(static_cast<unsigned>(number + 1));
        file.save();
    }

private:
    SongTree& m_tree;
    bool m_reuse;
};

// A tree made elsewhere (make-music-tree): its song files, found by their extensions.
SongTree ListedTree(const std::string& root) {
    SongTree listed;
    listed.root = root;
    for (const auto& entry : std::filesystem::recursive_directory_iterator(root)) {
        const std::string path = entry.path().string();
        if (entry.is_regular_file() && (path.ends_with(".mp3") || path.ends_with(".ogg"))) {
            listed.files.emplace_back(path, path.ends_with(".mp3") ? kMp3File : kOggFile);
        }
    }
    return listed;
}

}  // namespace

// The artists' albums first (the first 1,000 files are the albums of Artist 0 to 9), then
// compilations, folders of few songs, folders of several albums by one artist and untagged
// folders, which the import asks about.
const SongTree& GeneratedTree() {
    static const SongTree tree = [] {
        SongTree made;
        if (const char* given = std::getenv("CADENZO_BENCH_TREE"); given != nullptr && *given != '\0') {
            return ListedTree(given);
        }
        made.root = (std::filesystem::temp_directory_path() / "cadenzo-bench-tree-2").string();
        const std::string complete = made.root + "/complete";
        const bool reuse = std::filesystem::exists(complete);
        if (!reuse) {
            std::filesystem::remove_all(made.root);
        }
        CTreeMaker maker(made, reuse);
        for (int artist = 0; artist < kArtists; ++artist) {
            for (int album = 0; album < kAlbumsPerArtist; ++album) {
                for (int song = 0; song < kSongsPerAlbum; ++song) {
                    maker.Add(fmt::format("Artist {}/Album {}", artist, album), song, fmt::format("Artist {}", artist),
                              fmt::format("Album {}", album));
                }
            }
        }
        for (int i = 0; i < 10; ++i) {
            for (int song = 0; song < 10; ++song) {
                maker.Add(fmt::format("Extras/Compilation {}", i), song, fmt::format("Guest {}-{}", i, song),
                          fmt::format("Compilation {}", i));
            }
        }
        for (int i = 0; i < 40; ++i) {
            for (int song = 0; song < 2; ++song) {
                maker.Add(fmt::format("Extras/Few {}", i), song, fmt::format("Artist {}", i),
                          fmt::format("Single {}", i));
            }
        }
        for (int i = 0; i < 20; ++i) {
            for (int song = 0; song < 10; ++song) {
                maker.Add(fmt::format("Extras/Several {}", i), song, fmt::format("Artist {}", i),
                          song < 5 ? "Side A" : "Side B");
            }
        }
        for (int i = 0; i < 20; ++i) {
            for (int song = 0; song < 5; ++song) {
                maker.Add(fmt::format("Extras/Untagged {}", i), song, "", "");
            }
        }
        std::ofstream(complete) << "done\n";
        return made;
    }();
    return tree;
}

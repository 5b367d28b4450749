#include "benchtree.h"

#include <filesystem>
#include <fstream>

#include <fmt/format.h>
#include <taglib/fileref.h>
#include <taglib/tag.h>

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

#include "support/songtree.h"

#include <filesystem>
#include <stdexcept>

#include "import/songfile.h"

std::string FixturePath(int fileType) {
    return std::string(CADENZO_TEST_DATA) + (fileType == 2 ? "/silent.ogg" : "/silent.mp3");
}

void CSongTree::AddFolder(const std::string& relative) {
    std::filesystem::create_directories(Path(relative));
}

void CSongTree::AddFile(const std::string& relative, const std::string& bytes) {
    std::filesystem::create_directories(std::filesystem::path(Path(relative)).parent_path());
    WriteFile(Path(relative), bytes);
}

std::string CSongTree::AddSong(const std::string& relative, const SongTags& tags, bool tagged) {
    const std::string path = Path(relative);
    const SongFileType type = FileTypeFromPath(path);
    AddFile(relative, ReadFile(FixturePath(type)));
    if (tagged && !m_workers.Write(path, type, tags)) {
        throw std::runtime_error("cannot tag " + path);
    }
    return path;
}

SongTags CSongTree::Tags(const std::string& title, const std::string& artist, const std::string& album) {
    SongTags tags;
    tags.title = title;
    tags.artist = artist;
    tags.album = album;
    tags.year = "2001";
    tags.track = "1";
    tags.genre = "Rock";
    return tags;
}

std::vector<std::string> WorkerCommandIn(const std::string& folder) {
    const std::string copy = folder + "/cadenzo-tagworker";
    std::filesystem::copy_file(CTagWorkers::DefaultTagWorkerCommand().front(), copy,
                               std::filesystem::copy_options::overwrite_existing);
    std::filesystem::permissions(copy, std::filesystem::perms::owner_all | std::filesystem::perms::group_exec |
                                           std::filesystem::perms::others_exec | std::filesystem::perms::others_read);
    return {copy};
}

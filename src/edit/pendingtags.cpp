#include "edit/pendingtags.h"

#include <unistd.h>

#include <cerrno>
#include <cstring>
#include <filesystem>
#include <map>
#include <sstream>

#include <fmt/format.h>

#include "engine/engineerror.h"
#include "engine/transaction.h"
#include "import/songfile.h"
#include "import/tagworkers.h"
#include "platform/atomicfile.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"

CPendingTags::CPendingTags(const std::string& libraryPath) : m_path(libraryPath + ".pending-tags") {}

void CPendingTags::Record(const IdList& songs, bool keepTitleAndTrack) {
    std::string text = keepTitleAndTrack ? "keep\n" : "all\n";
    for (const std::int32_t id : songs) {
        text += std::to_string(id) + "\n";
    }
    if (!ReplaceFileAtomically(m_path, text)) {
        throw CEngineError(fmt::format(
            fmt::runtime(
                CUserText::tr("No file was changed: the record of the edit could not be written to '{}': {}.")),
            m_path, std::strerror(errno)));
    }
}

void CPendingTags::Clear() {
    unlink(m_path.c_str());
}

bool CPendingTags::Exists() const {
    std::error_code error;
    return std::filesystem::exists(m_path, error);
}

std::size_t CPendingTags::Recover(CLibraryDb& db, CTagWorkers& workers, CMessageBox& messages, bool readOnly) {
    std::string text;
    if (!ReadWholeFile(m_path, text)) {
        return 0;
    }
    std::istringstream lines(text);
    std::string kind;
    std::getline(lines, kind);
    std::vector<SongRecord> songs;
    CTagWorkers::Files files;
    for (std::int32_t id = 0; lines >> id;) {
        if (SongRecord song = db.ReadSong(id); song.id != 0 && FileTypeFromPath(song.filePath) != kNotASongFile) {
            files.emplace_back(song.filePath, FileTypeFromPath(song.filePath));
            songs.push_back(std::move(song));
        }
    }
    if (songs.empty()) {
        if (!readOnly) {
            Clear();  // a record that names no song of the library (a damaged one) goes without a word
        }
        return 0;
    }
    if (readOnly) {
        messages.Show(fmt::format(
            fmt::runtime(CUserText::tr(
                "An edit was interrupted: the tags of {} songs (the first: '{}') may differ from the library. They are "
                "brought up to date when the library can be written again.")),
            songs.size(), songs.front().filePath));
        return songs.size();
    }
    const std::vector<SongTags> tags = workers.Read(files);
    // An edit gives its songs one artist and album: each pair of names is looked up once.
    std::map<std::pair<std::string, std::string>, std::pair<std::int32_t, std::int32_t>> found;
    std::size_t updated = 0;
    CTransaction transaction(db);
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (!tags[i].parsed) {
            continue;  // a file gone or damaged since: its row stays as it is
        }
        auto known = found.find({tags[i].artist, tags[i].album});
        if (known == found.end()) {
            known = found.emplace(std::pair{tags[i].artist, tags[i].album}, EditedArtistAndAlbum(db, tags[i])).first;
        }
        StoreEditedSongRow(db, songs[i], tags[i], kind != "keep", known->second);
        ++updated;
    }
    transaction.Commit();
    Clear();
    messages.Show(fmt::format(
        fmt::runtime(
            CUserText::tr("{} songs were brought up to date with the tags in their files after an interrupted edit.")),
        updated));
    return songs.size();
}

std::pair<std::int32_t, std::int32_t> EditedArtistAndAlbum(CLibraryDb& db, const SongTags& tags) {
    const std::int32_t artistId = db.FindArtistId(tags.artist);
    return {artistId, tags.album.empty() ? 0 : db.FindAlbumId(tags.album, artistId)};
}

void StoreEditedSongRow(CLibraryDb& db, SongRecord& song, const SongTags& tags, bool nameAndTrack,
                        std::pair<std::int32_t, std::int32_t> artistAndAlbum) {
    song.artistId = artistAndAlbum.first;
    song.albumId = artistAndAlbum.second;
    song.year = tags.year;
    song.genre = tags.genre;
    if (nameAndTrack) {
        song.name = tags.title;
        song.track = tags.track;
    }
    db.UpdateSong(song);
}

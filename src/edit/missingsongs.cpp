#include "edit/missingsongs.h"

#include <sys/stat.h>

#include <algorithm>
#include <atomic>
#include <chrono>
#include <thread>
#include <unordered_set>

#include "db/dbquery.h"
#include "db/librarydb.h"
#include "engine/transaction.h"
#include "import/folderlisting.h"
#include "import/tagworkers.h"

namespace {

constexpr auto kPollInterval = std::chrono::milliseconds(50);

std::vector<MissingSong> ReadSongs(CLibraryDb& db) {
    std::vector<MissingSong> songs;
    CDbQuery query(db,
                   "SELECT Songs.ID, Songs.Name, Artists.Name AS ArtistName, Albums.Name AS AlbumName, "
                   "Songs.FilePath FROM (Songs LEFT JOIN Artists ON Songs.ArtistID = Artists.ID) "
                   "LEFT JOIN Albums ON Songs.AlbumID = Albums.ID ORDER BY Songs.ID");
    for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
        songs.push_back({row->GetFieldValue("ID").AsLong(), row->GetFieldValue("Name").AsText(),
                         row->GetFieldValue("ArtistName").AsText(), row->GetFieldValue("AlbumName").AsText(),
                         row->GetFieldValue("FilePath").AsText()});
    }
    return songs;
}

bool FileIsThere(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

}  // namespace

std::vector<MissingSong> FindMissingSongs(CLibraryDb& db, const KeepGoing& keepGoing) {
    const std::vector<MissingSong> songs = ReadSongs(db);
    std::vector<char> gone(songs.size(), 0);
    std::atomic<std::size_t> done{0};
    std::atomic<bool> stop{false};
    std::thread looker([&] {
        for (std::size_t i = 0; i < songs.size() && !stop.load(std::memory_order_relaxed); ++i) {
            gone[i] = FileIsThere(songs[i].path) ? 0 : 1;
            done.store(i + 1, std::memory_order_release);
        }
    });
    while (done.load(std::memory_order_acquire) < songs.size() && !stop) {
        if (!keepGoing(done.load(std::memory_order_acquire), songs.size())) {
            stop = true;
        } else {
            std::this_thread::sleep_for(kPollInterval);
        }
    }
    looker.join();
    std::vector<MissingSong> missing;
    const std::size_t looked = done.load(std::memory_order_acquire);
    for (std::size_t i = 0; i < looked; ++i) {
        if (gone[i] != 0) {
            missing.push_back(songs[i]);
        }
    }
    return missing;
}

std::vector<FoundSong> SearchMissingSongs(CLibraryDb& db, CTagWorkers& workers, const std::vector<MissingSong>& missing,
                                          const std::string& folder, const KeepGoing& keepGoing) {
    std::unordered_set<std::int32_t> wanted;
    for (const MissingSong& song : missing) {
        wanted.insert(song.id);
    }
    const std::unordered_set<std::string> known = db.SongPathsBelow(folder);
    std::vector<FoundSong> found;
    std::unordered_set<std::int32_t> foundIds;
    std::size_t looked = 0;
    bool going = true;
    ForEachFolderBelow(folder, [&](const FolderListing& listing) {
        if (!going || foundIds.size() == wanted.size()) {
            return;
        }
        CTagWorkers::Files unknown;
        for (const auto& file : listing.songFiles) {
            if (known.count(file.first) == 0) {
                unknown.push_back(file);
            }
        }
        const std::vector<SongTags> tags = workers.Read(unknown);
        for (std::size_t i = 0; i < unknown.size(); ++i) {
            const std::int32_t id = db.FindMovedSong(tags[i].audioKey);
            if (wanted.count(id) != 0 && foundIds.insert(id).second) {
                found.push_back({id, unknown[i].first, unknown[i].second});
            }
        }
        looked += listing.songFiles.size();
        going = keepGoing(looked, 0);
    });
    return found;
}

void MoveFoundSongs(CLibraryDb& db, const std::vector<FoundSong>& found) {
    CTransaction transaction(db);
    for (const FoundSong& song : found) {
        db.MoveSong(song.id, song.path, static_cast<std::int16_t>(song.type));
    }
    transaction.Commit();
}

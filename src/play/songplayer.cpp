#include "play/songplayer.h"

#include "db/dbtable.h"
#include "db/librarydb.h"
#include "play/playercommand.h"

CSongPlayer::CSongPlayer(CLibraryDb& db, CLauncher& launcher, CRuntimeRandom& random)
    : m_db(db), m_launcher(launcher), m_random(random) {}

bool CSongPlayer::PlayQuery(const std::string& sql, const PlayChoices& choices) {
    return Play(CollectSongFiles(m_db, sql), choices, true);
}

bool CSongPlayer::PlaySong(std::int32_t id, const PlayChoices& choices) {
    std::string path = CDbTable(&m_db, "Songs").LookupText("FilePath", "ID", id);
    if (path.empty()) {
        return false;
    }
    return Play(SongFiles{{std::move(path)}, {id}}, choices, false);
}

bool CSongPlayer::PlayListed(SongFiles songs, const PlayChoices& choices) {
    return Play(std::move(songs), choices, true);
}

bool CSongPlayer::ExportQuery(const std::string& path, const std::string& sql, const PlayChoices& choices) {
    SongFiles songs = CollectSongFiles(m_db, sql);
    DropPathsWithLineBreaks(songs);
    if (songs.paths.empty()) {
        return false;
    }
    Arrange(songs.paths, choices, true);
    return !WritePlaylistFile(path, songs.paths).empty();
}

void CSongPlayer::Arrange(PathList& paths, const PlayChoices& choices, bool shuffle) {
    if (shuffle && choices.randomize) {
        ShuffleList(paths, m_random);
    }
    if (choices.translate) {
        TranslatePrefixes(paths, choices.from, choices.to);
    }
}

bool CSongPlayer::Play(SongFiles songs, const PlayChoices& choices, bool shuffle) {
    DropPathsWithLineBreaks(songs);
    if (songs.paths.empty()) {
        return false;
    }
    Arrange(songs.paths, choices, shuffle);
    const std::string playlist = WriteTempPlaylist(songs.paths);
    if (choices.player.empty()) {
        OpenWithShell(m_launcher, playlist);
    } else {
        LaunchPlayer(m_launcher, choices.player, choices.enqueue ? choices.enqueueFlag : std::string(), playlist);
    }
    if (!choices.readOnly) {
        IncrementPlayCounts(m_db, songs.ids);
    }
    return true;
}

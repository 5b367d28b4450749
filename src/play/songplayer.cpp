#include "play/songplayer.h"

#include <cerrno>
#include <cstring>

#include <fmt/printf.h>

#include "db/dbtable.h"
#include "db/librarydb.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"
#include "play/playercommand.h"

CSongPlayer::CSongPlayer(CLibraryDb& db, CLauncher& launcher, CRuntimeRandom& random, CMessageBox& messages)
    : m_db(db), m_launcher(launcher), m_random(random), m_messages(messages) {}

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
    DropUnlistable(songs);
    if (songs.paths.empty()) {
        return false;
    }
    Arrange(songs.paths, choices, true);
    if (WritePlaylistFile(path, songs.paths).empty()) {
        m_messages.Show(
            fmt::sprintf(CUserText::tr("The playlist '%s' could not be written: %s."), path, std::strerror(errno)));
    }
    return true;
}

void CSongPlayer::DropUnlistable(SongFiles& songs) {
    const PathList dropped = DropPathsWithLineBreaks(songs);
    if (!dropped.empty()) {
        m_messages.Show(fmt::sprintf(
            CUserText::tr("%d songs were left out: their file paths hold a line break, which a playlist cannot hold "
                          "(the first: '%s')."),
            static_cast<int>(dropped.size()), dropped.front()));
    }
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
    DropUnlistable(songs);
    if (songs.paths.empty()) {
        return false;
    }
    Arrange(songs.paths, choices, shuffle);
    const std::string playlist = WritePlayPlaylist(songs.paths);
    if (playlist.empty()) {
        m_messages.Show(
            fmt::sprintf(CUserText::tr("The playlist for the player could not be written: %s."), std::strerror(errno)));
        return true;
    }
    const std::string failure =
        choices.player.empty()
            ? OpenWithShell(m_launcher, playlist)
            : LaunchPlayer(m_launcher, choices.player, choices.enqueue ? choices.enqueueFlag : std::string(), playlist);
    if (!failure.empty()) {
        m_messages.Show(failure);
    } else if (!choices.readOnly) {
        IncrementPlayCounts(m_db, songs.ids);
        m_db.SongDataChanged(songs.ids);
    }
    return true;
}

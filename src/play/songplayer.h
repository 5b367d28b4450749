#pragma once

#include <cstdint>
#include <string>

#include "play/playlist.h"

class CLauncher;
class CLibraryDb;
class CMessageBox;
class CRuntimeRandom;

// How a play or an export is made: the window's Randomize and Enqueue boxes, its read-only
// state, and the player settings, as they are at the moment of the command.
struct PlayChoices {
    bool randomize = false;
    bool enqueue = false;
    bool readOnly = false;
    std::string player;       // "" opens the playlist with the desktop's program for playlists
    std::string enqueueFlag;  // with one blank before and one after
    bool translate = false;   // rewrite the path prefix `from` to `to`
    std::string from;
    std::string to;
};

// Hands songs of the library to the external player through a playlist of each play's own, and
// exports them as playlists. Each play raises the play counts of the songs handed over, unless
// the library is read-only or the player could not be started. A song whose path holds a line
// break cannot be listed and is left out, also from the play counts. The results say whether
// there was a song; what went wrong (a playlist that could not be written, a player that could
// not be started, songs left out) is told the user through `messages`.
class CSongPlayer {
public:
    CSongPlayer(CLibraryDb& db, CLauncher& launcher, CRuntimeRandom& random, CMessageBox& messages);

    // Every song the query gives (it selects FilePath and ID), in its order.
    bool PlayQuery(const std::string& sql, const PlayChoices& choices);
    // One song, never shuffled.
    bool PlaySong(std::int32_t id, const PlayChoices& choices);
    // Songs already listed (the rows of a Songs view), in that order.
    bool PlayListed(SongFiles songs, const PlayChoices& choices);
    // Writes the songs of the query to the playlist at `path`: shuffled and translated as a play,
    // no play count raised, nothing written without a song. True when there was a song.
    bool ExportQuery(const std::string& path, const std::string& sql, const PlayChoices& choices);

private:
    void Arrange(PathList& paths, const PlayChoices& choices, bool shuffle);
    bool Play(SongFiles songs, const PlayChoices& choices, bool shuffle);
    // Leaves out the songs a playlist cannot hold, and tells the user.
    void DropUnlistable(SongFiles& songs);

    CLibraryDb& m_db;
    CLauncher& m_launcher;
    CRuntimeRandom& m_random;
    CMessageBox& m_messages;
};

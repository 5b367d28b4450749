#pragma once

#include <condition_variable>
#include <mutex>
#include <string>
#include <thread>
#include <unordered_map>
#include <vector>

#include "db/librarydb.h"
#include "import/tagprotocol.h"

// Writes songs' ratings and play counts into their files, as other players read them, on a
// thread of its own with tag workers of its own, so that the window never waits for it (the
// safe write of every tag write: a checked copy put in the song's place). A song given again
// while it waits is written once, with its latest values; the songs waiting are written in one
// turn, those given meanwhile in the next.
class CRatingSaver {
public:
    struct Song {
        std::string path;
        SongFileType type = kNotASongFile;
        int rating = 0;
        int playCount = 0;
    };

    explicit CRatingSaver(std::vector<std::string> workerCommand);
    // Writes what is still waiting, then ends.
    ~CRatingSaver();
    CRatingSaver(const CRatingSaver&) = delete;
    CRatingSaver& operator=(const CRatingSaver&) = delete;

    void Save(const std::vector<Song>& songs);
    // The files that could not be written since the last call.
    std::vector<std::string> TakeFailures();
    // Returns once every song given so far is written (or failed).
    void Flush();

private:
    void Run();

    std::vector<std::string> m_command;
    std::mutex m_mutex;
    std::condition_variable m_wake;
    std::condition_variable m_idle;
    std::vector<Song> m_waiting;
    std::unordered_map<std::string, std::size_t> m_waitingAt;  // the place of each path in m_waiting
    std::vector<std::string> m_failed;
    bool m_busy = false;
    bool m_ending = false;
    std::thread m_thread;  // last: it starts with every other member made
};

// The files, ratings and play counts of the songs, read with a statement for every 500 of them;
// songs without a song file are left out.
std::vector<CRatingSaver::Song> SongDataOf(CLibraryDb& db, const IdList& songs);

#include "edit/ratingsaver.h"

#include <algorithm>
#include <utility>

#include "db/dbquery.h"
#include "import/songfile.h"
#include "import/tagworkers.h"

namespace {

constexpr std::size_t kSongsAStatement = 500;

// The writes the tag workers are given at once.
constexpr std::size_t kWritesAtOnce = 64;

}  // namespace

CRatingSaver::CRatingSaver(std::vector<std::string> workerCommand)
    : m_command(std::move(workerCommand)), m_thread([this] { Run(); }) {}

CRatingSaver::~CRatingSaver() {
    {
        const std::lock_guard lock(m_mutex);
        m_ending = true;
    }
    m_wake.notify_one();
    m_thread.join();
}

void CRatingSaver::Save(const std::vector<Song>& songs) {
    {
        const std::lock_guard lock(m_mutex);
        for (const Song& song : songs) {
            if (const auto waiting = m_waitingAt.find(song.path); waiting != m_waitingAt.end()) {
                m_waiting[waiting->second] = song;
            } else {
                m_waitingAt.emplace(song.path, m_waiting.size());
                m_waiting.push_back(song);
            }
        }
    }
    m_wake.notify_one();
}

std::vector<std::string> CRatingSaver::TakeFailures() {
    const std::lock_guard lock(m_mutex);
    return std::exchange(m_failed, {});
}

void CRatingSaver::Flush() {
    std::unique_lock lock(m_mutex);
    m_idle.wait(lock, [this] { return m_waiting.empty() && !m_busy; });
}

void CRatingSaver::Run() {
    CTagWorkers workers(m_command, 1);
    std::unique_lock lock(m_mutex);
    for (;;) {
        m_wake.wait(lock, [this] { return m_ending || !m_waiting.empty(); });
        if (m_waiting.empty()) {
            return;  // ending, with nothing left to write
        }
        // The songs waiting now are written; those given meanwhile wait for the next turn.
        const std::vector<Song> songs = std::exchange(m_waiting, {});
        m_waitingAt.clear();
        m_busy = true;
        lock.unlock();
        std::vector<std::string> failed;
        for (std::size_t first = 0; first < songs.size(); first += kWritesAtOnce) {
            std::vector<CTagWorkers::TagWrite> writes;
            for (std::size_t i = first; i < std::min(songs.size(), first + kWritesAtOnce); ++i) {
                SongTags tags;
                tags.rating = songs[i].rating;
                tags.playCount = songs[i].playCount;
                writes.push_back({songs[i].path, songs[i].type, tags, TagWriteMode::RatingsOnly});
            }
            const std::vector<bool> written = workers.WriteAll(writes, [](std::size_t) {});
            for (std::size_t i = 0; i < writes.size(); ++i) {
                if (!written[i]) {
                    failed.push_back(writes[i].path);
                }
            }
        }
        lock.lock();
        m_busy = false;
        m_failed.insert(m_failed.end(), failed.begin(), failed.end());
        if (m_waiting.empty()) {
            m_idle.notify_all();
        }
    }
}

std::vector<CRatingSaver::Song> SongDataOf(CLibraryDb& db, const IdList& songs) {
    std::vector<CRatingSaver::Song> data;
    for (std::size_t first = 0; first < songs.size(); first += kSongsAStatement) {
        std::string ids;
        for (std::size_t i = first; i < std::min(songs.size(), first + kSongsAStatement); ++i) {
            ids += (ids.empty() ? "" : ",") + std::to_string(songs[i]);
        }
        CDbQuery query(db, "SELECT FilePath, UserRating, PlayCount FROM Songs WHERE ID IN (" + ids + ")");
        for (CRecordset* row = query.GetRecordset(); row != nullptr && !row->IsEOF(); row = query.Next()) {
            const std::string path = row->GetFieldValue("FilePath").AsText();
            if (const SongFileType type = FileTypeFromPath(path); type != kNotASongFile) {
                data.push_back({path, type, row->GetFieldValue("UserRating").AsShort(),
                                static_cast<int>(row->GetFieldValue("PlayCount").AsLong())});
            }
        }
    }
    return data;
}

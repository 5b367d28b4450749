#include "edit/ratingsaver.h"

#include <algorithm>
#include <utility>

#include "import/tagworkers.h"

namespace {

// The writes of one turn of the thread: the tag workers answer them together.
constexpr std::size_t kWritesATurn = 64;

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
            const auto waiting = std::find_if(m_waiting.begin(), m_waiting.end(),
                                              [&](const Song& other) { return other.path == song.path; });
            if (waiting != m_waiting.end()) {
                *waiting = song;
            } else {
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
        const std::size_t count = std::min(m_waiting.size(), kWritesATurn);
        std::vector<CTagWorkers::TagWrite> writes;
        for (std::size_t i = 0; i < count; ++i) {
            SongTags tags;
            tags.rating = m_waiting[i].rating;
            tags.playCount = m_waiting[i].playCount;
            writes.push_back({m_waiting[i].path, m_waiting[i].type, tags, TagWriteMode::RatingsOnly});
        }
        m_waiting.erase(m_waiting.begin(), m_waiting.begin() + static_cast<std::ptrdiff_t>(count));
        m_busy = true;
        lock.unlock();
        const std::vector<bool> written = workers.WriteAll(writes, [](std::size_t) {});
        lock.lock();
        m_busy = false;
        for (std::size_t i = 0; i < writes.size(); ++i) {
            if (!written[i]) {
                m_failed.push_back(writes[i].path);
            }
        }
        if (m_waiting.empty()) {
            m_idle.notify_all();
        }
    }
}

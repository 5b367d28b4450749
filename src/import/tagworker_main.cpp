// cadenzo-tagworker: reads and writes song tags for Cadenzo, one request at a time from
// standard input, answers on standard output: a read answers each file as soon as it is read,
// so that the program can give every file its own time limit. Writes that come in while
// others wait are answered together: their copies are synced at once (see FinishSongTags).
// It runs in a process of its own with a memory limit, so that a file that makes TagLib
// allocate without end costs only this process, and little of it, and with a limit of processor
// time per file (`--cpu-ms=MS`, by default one second for a read and ten for a write): a file
// that makes TagLib loop ends this process once it has spent that, however slow the disk is.

#include <sys/resource.h>
#include <sys/time.h>
#include <unistd.h>

#include <algorithm>
#include <chrono>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <optional>
#include <string>
#include <vector>

#include "import/taglibio.h"
#include "import/tagprotocol.h"

namespace {

// Real files need a few MB; this leaves room for tags with large embedded pictures.
constexpr rlim_t kMemoryLimit = rlim_t{256} << 20;

// A batch of writes waits for its answers at most this long, and holds at most this many:
// each answer keeps within the program's time limit.
constexpr auto kBatchTime = std::chrono::milliseconds(250);
constexpr std::size_t kBatchWrites = 16;

// A write request: "W", the file type, the path, the TagWriteMode, the seven texts, the rating and
// the play count.
constexpr std::size_t kWriteFields = 13;

// A write copies, saves, reads back and syncs the whole file: it may cost more than a read.
constexpr long kWriteCpuFactor = 10;

// The program stores what the workers read, and two workers read faster than it stores on two
// processors: a worker gives way to it a little, so that it never waits for a processor.
constexpr int kNiceness = 3;

// Ends the process (SIGPROF) once it has spent `ms` more of processor time, counted in its own
// code and in the system's on its behalf, until the limit is lifted (`ms` 0).
void LimitCpu(long ms) {
    itimerval limit{};
    limit.it_value.tv_sec = ms / 1000;
    limit.it_value.tv_usec = ms % 1000 * 1000;
    setitimer(ITIMER_PROF, &limit, nullptr);
}

// The writes prepared and not yet answered.
class CWriteBatch {
public:
    explicit CWriteBatch(long cpuMs) : m_cpuMs(cpuMs) {}

    bool Empty() const { return m_writes.empty(); }
    bool Full() const {
        return m_writes.size() >= kBatchWrites || std::chrono::steady_clock::now() - m_started > kBatchTime;
    }

    // Prepares the write `request` asks for; one with fields missing or over is refused.
    void Prepare(const std::vector<std::string>& request) {
        if (m_writes.empty()) {
            m_started = std::chrono::steady_clock::now();
        }
        if (request.size() != kWriteFields) {
            m_writes.emplace_back();
            return;
        }
        LimitCpu(m_cpuMs);
        SongTags tags = TagsFromFields(request, 4);
        tags.rating = std::clamp(std::atoi(request[11].c_str()), 0, 7);
        tags.playCount = std::max(std::atoi(request[12].c_str()), 0);
        const int mode = std::clamp(std::atoi(request[3].c_str()), 0, static_cast<int>(TagWriteMode::RatingsOnly));
        m_writes.push_back(
            PrepareSongTags(request[2], FileTypeFromField(request[1]), tags, static_cast<TagWriteMode>(mode)));
        LimitCpu(0);
    }

    // Puts the copies in place and answers each write, in order; false when an answer cannot
    // be written.
    bool Finish() {
        LimitCpu(m_cpuMs);
        const std::vector<bool> results = FinishSongTags(m_writes);
        LimitCpu(0);
        for (const bool written : results) {
            if (!WriteMessage(STDOUT_FILENO, EncodeFields({written ? "1" : "0"}))) {
                return false;
            }
        }
        return true;
    }

private:
    std::vector<std::optional<PreparedWrite>> m_writes;
    std::chrono::steady_clock::time_point m_started;
    long m_cpuMs;  // for each write, and for the syncs of a batch
};

bool IsWrite(const std::vector<std::string>& request) {
    return !request.empty() && request[0] == "W";
}

// Answers one read (or a malformed request), each file within `cpuMs` of processor time; false
// when the answer cannot be written.
bool Answer(const std::vector<std::string>& request, long cpuMs) {
    if (request.size() < 3) {
        return WriteMessage(STDOUT_FILENO, EncodeFields({"0"}));
    }
    for (std::size_t file = 1; file + 1 < request.size(); file += 2) {
        LimitCpu(cpuMs);
        const SongTags tags = ReadSongTags(request[file + 1], FileTypeFromField(request[file]));
        LimitCpu(0);
        std::vector<std::string> fields = {tags.parsed ? "1" : "0"};
        for (const std::string& text : TagFields(tags)) {
            fields.push_back(text);
        }
        fields.push_back(std::to_string(tags.seconds));
        fields.push_back(std::to_string(tags.rating));
        fields.push_back(std::to_string(tags.playCount));
        fields.push_back(tags.audioKey);
        fields.push_back(std::to_string(tags.latin1Texts));
        if (!WriteMessage(STDOUT_FILENO, EncodeFields(fields))) {
            return false;
        }
    }
    return true;
}

}  // namespace

int main(int argc, char** argv) {
    constexpr const char* kCpuOption = "--cpu-ms=";
    long readCpuMs = 1000;
    if (argc > 1 && std::strncmp(argv[1], kCpuOption, std::strlen(kCpuOption)) == 0) {
        readCpuMs = std::max(1L, std::atol(argv[1] + std::strlen(kCpuOption)));
    }
    setpriority(PRIO_PROCESS, 0, getpriority(PRIO_PROCESS, 0) + kNiceness);  // a hint: may fail
    const rlimit memory{kMemoryLimit, kMemoryLimit};
    if (setrlimit(RLIMIT_AS, &memory) != 0) {
        std::perror("cadenzo-tagworker: the memory limit could not be set");
        return 2;  // no file is read without the limit: the program counts them as not read
    }
    CMessageReader requests;
    std::string payload;
    std::vector<std::string> request;
    CWriteBatch writes(readCpuMs * kWriteCpuFactor);
    for (;;) {
        // With writes waiting, only a request that is there already joins them.
        if (!requests.Read(STDIN_FILENO, payload, writes.Empty() ? -1 : 0)) {
            if (writes.Empty()) {
                return 0;
            }
            if (!writes.Finish()) {
                return 1;
            }
            continue;
        }
        if (!DecodeFields(payload, request)) {
            return 1;
        }
        if (IsWrite(request)) {
            writes.Prepare(request);
            if (writes.Full() && !writes.Finish()) {
                return 1;
            }
        } else if (!writes.Finish() || !Answer(request, readCpuMs)) {
            return 1;
        }
    }
}

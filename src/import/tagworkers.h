#pragma once

#include <sys/types.h>

#include <deque>
#include <string>
#include <utility>
#include <vector>

#include "import/tagprotocol.h"

// The tag worker processes that read and write song tags for the program. Each request has a
// time limit; a worker that dies or runs out of time is replaced, and its file counts as one
// that could not be parsed (or written). Results always come back in the order asked.
class CTagWorkers {
public:
    // `command`: the worker program and its arguments (by default cadenzo-tagworker, see
    // DefaultTagWorkerCommand); `count` workers read in parallel.
    explicit CTagWorkers(std::vector<std::string> command = DefaultTagWorkerCommand(), int count = 2,
                         int timeoutMs = 10000);
    ~CTagWorkers();
    CTagWorkers(const CTagWorkers&) = delete;
    CTagWorkers& operator=(const CTagWorkers&) = delete;

    // The tags of each file (path, file type 1 MP3 or 2 OGG), in the order given.
    std::vector<SongTags> Read(const std::vector<std::pair<std::string, int>>& files);

    // Writes the seven texts into the file (safely, see WriteSongTags); false on any failure.
    bool Write(const std::string& path, int fileType, const SongTags& tags);

    // cadenzo-tagworker beside the running program, or where the build put it.
    static std::vector<std::string> DefaultTagWorkerCommand();

private:
    using Files = std::vector<std::pair<std::string, int>>;
    // Files [first, last) of a Read, asked of one worker in one request.
    struct Batch {
        std::size_t first;
        std::size_t last;
    };
    struct Worker {
        pid_t pid = -1;
        int toWorker = -1;
        int fromWorker = -1;
        std::deque<Batch> pending;
    };

    bool Start(Worker& worker);
    void Stop(Worker& worker);
    bool Send(Worker& worker, const Files& files, const Batch& batch);
    // The answer to the oldest request of `worker` (which it then forgets); false when the
    // worker failed or ran out of time: it is then replaced, with nothing pending.
    bool Receive(Worker& worker, std::size_t files, std::vector<SongTags>& tags);

    std::vector<std::string> m_command;
    std::vector<Worker> m_workers;
    int m_timeoutMs;
};

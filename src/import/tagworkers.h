#pragma once

#include <sys/types.h>

#include <deque>
#include <functional>
#include <optional>
#include <string>
#include <utility>
#include <vector>

#include "import/tagprotocol.h"
#include "platform/filedescriptor.h"

// The tag worker processes that read and write song tags for the program. A worker limits the
// processor time and memory it spends on each file itself (see its main); the program waits for
// each answer only up to a time limit against a worker that hangs. A worker that dies or runs out
// of time is replaced, and its file counts as one that could not be read (`stopped`) or written.
// Results always come back in the order asked. The program ignores SIGPIPE (see start-up), so a
// worker that dies cannot end it.
class CTagWorkers {
public:
    // `command`: the worker program and its arguments (by default cadenzo-tagworker, see
    // DefaultTagWorkerCommand); `count` workers read in parallel.
    // `timeoutMs` is the time the program waits for the answer to a read (a write ten times as
    // much): long, so that a slow disk or a busy machine never costs a song.
    explicit CTagWorkers(std::vector<std::string> command = DefaultTagWorkerCommand(), int count = 2,
                         int timeoutMs = 30000);
    ~CTagWorkers();
    CTagWorkers(const CTagWorkers&) = delete;
    CTagWorkers& operator=(const CTagWorkers&) = delete;

    using Files = std::vector<std::pair<std::string, SongFileType>>;  // path and file type
    using Ticket = std::size_t;

    // Starts reading the tags of `files` and returns at once (so the caller can work while
    // the workers read); Collect gives the results. Reads are collected in the order started.
    Ticket Request(Files files);
    // The tags of each file of the oldest read not yet collected, which `ticket` must name
    // (std::logic_error otherwise).
    std::vector<SongTags> Collect(Ticket ticket);
    // Request and Collect at once.
    std::vector<SongTags> Read(const Files& files) { return Collect(Request(files)); }

    // Writes the seven texts into the file (safely, see PrepareSongTags); false on any failure.
    bool Write(const std::string& path, SongFileType fileType, const SongTags& tags);
    struct TagWrite {
        std::string path;
        SongFileType fileType = kNotASongFile;
        SongTags tags;
        TagWriteMode mode = TagWriteMode::Texts;
    };
    // Writes every file as Write does, several at once (on the writers and every reader with no
    // read under way); whether each was written. `written` is told each write's index, in order.
    std::vector<bool> WriteAll(const std::vector<TagWrite>& writes, const std::function<void(std::size_t)>& written);

    // cadenzo-tagworker beside the running program, or where the build put it.
    static std::vector<std::string> DefaultTagWorkerCommand();

private:
    // Files [first, last) of a read, asked of one worker in one request.
    struct Batch {
        std::size_t first;
        std::size_t last;
    };
    // One read: its files, their batches and what has come back.
    struct Job {
        Files files;
        std::vector<Batch> batches;
        std::size_t sent = 0;
        std::size_t received = 0;
        std::vector<SongTags> results;
    };
    // A batch asked of a worker and the size of the request.
    struct SentBatch {
        Job* job;
        Batch batch;
        std::size_t bytes;
    };
    struct Worker {
        pid_t pid = -1;
        CFileDescriptor toWorker;
        CFileDescriptor fromWorker;
        CMessageReader answers;  // over fromWorker
        std::deque<SentBatch> pending;
        std::size_t pendingBytes = 0;  // of the requests pending
    };

    bool Start(Worker& worker);
    void Stop(Worker& worker);
    // Asks the worker for the batch's tags; false, with nothing sent, when the worker has
    // requests pending and this one might not fit in the pipe beside them, unless `always`.
    bool Send(Worker& worker, Job& job, const Batch& batch, bool always);
    bool SendWrite(Worker& worker, const TagWrite& write);
    // Whether the write sent (`sent`) to the worker was written; nullopt when the worker
    // failed, which is then replaced, with nothing under way.
    std::optional<bool> ReceiveWrite(Worker& worker, bool sent);
    // Sends the next batches, in order, as far as the workers take them.
    void SendAhead();
    // The answers to the oldest request of `worker` (`files` of them, into `tags`), each file
    // within the time limit; the request is then forgotten. Fewer when the worker failed or ran
    // out of time on the next file: it is then replaced, with nothing pending.
    std::size_t Receive(Worker& worker, std::size_t files, SongTags* tags);

    std::vector<std::string> m_command;
    std::vector<Worker> m_workers;
    // Writes have workers of their own: the readers may hold requests of reads started ahead.
    std::vector<Worker> m_writers;
    int m_timeoutMs;
    std::deque<Job> m_jobs;  // reads not yet collected, oldest first
    Ticket m_firstTicket = 0;
    std::size_t m_sentBatches = 0;      // batch n goes to worker n % count
    std::size_t m_receivedBatches = 0;  // and is received in that order
};

#include "import/tagworkers.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>
#include <utility>

#include "platform/fileaccess.h"

extern char** environ;

namespace {

// Files asked of one worker at once: few enough that a file that hangs costs little work
// asked again one by one.
constexpr std::size_t kMaxBatch = 16;
// Requests are sent ahead, so that a worker never waits, as far as the pipe to the worker
// holds them unread: a write then never blocks while the worker waits for its answers to be
// read. (Linux pipes hold 64 KiB.)
constexpr std::size_t kPipeBytes = 65536;
// What a worker's answer pipe is asked to hold: the most Linux gives a user by default.
constexpr int kAnswerPipeBytes = 1 << 20;
// A write copies, saves, reads back and syncs the whole file: it may take longer than a read.
constexpr int kWriteTimeFactor = 10;
// Workers that only write, started at the first write: a write waits for the disk much of its
// time, so more of them than there are processors keep the processors busy.
constexpr std::size_t kWriters = 3;
// Writes given to one worker in a run, which it syncs at once (as many as the worker batches).
constexpr std::size_t kWritesAhead = 16;

}  // namespace

std::vector<std::string> CTagWorkers::DefaultTagWorkerCommand() {
    const std::string folder = ExecutableFolder();
    const auto beside = std::filesystem::path(folder) / "cadenzo-tagworker";
    std::error_code error;
    if (!folder.empty() && std::filesystem::exists(beside, error)) {
        return {beside.string()};
    }
    return {CADENZO_TAGWORKER_BUILD_PATH};
}

CTagWorkers::CTagWorkers(std::vector<std::string> command, int count, int timeoutMs)
    : m_command(std::move(command)),
      m_workers(static_cast<std::size_t>(std::max(count, 1))),
      m_writers(kWriters),
      m_timeoutMs(timeoutMs) {
    for (Worker& worker : m_workers) {
        Start(worker);
    }
}

CTagWorkers::~CTagWorkers() {
    for (Worker& worker : m_workers) {
        Stop(worker);
    }
    for (Worker& writer : m_writers) {
        Stop(writer);
    }
}

bool CTagWorkers::Start(Worker& worker) {
    int requests[2];
    int answers[2];
    if (pipe2(requests, O_CLOEXEC) != 0) {
        return false;
    }
    CFileDescriptor toWorker(requests[1]);
    const CFileDescriptor workerInput(requests[0]);
    if (pipe2(answers, O_CLOEXEC) != 0) {
        return false;
    }
    CFileDescriptor fromWorker(answers[0]);
    const CFileDescriptor workerOutput(answers[1]);
    // Room for the answers to the reads started ahead, so that a worker does not wait for the
    // program to take them; where the system refuses, the 64 KiB of a pipe do.
    fcntl(answers[0], F_SETPIPE_SZ, kAnswerPipeBytes);
    posix_spawn_file_actions_t actions;
    posix_spawn_file_actions_init(&actions);
    posix_spawn_file_actions_adddup2(&actions, requests[0], STDIN_FILENO);
    posix_spawn_file_actions_adddup2(&actions, answers[1], STDOUT_FILENO);
    std::vector<char*> arguments;
    for (std::string& argument : m_command) {
        arguments.push_back(argument.data());
    }
    arguments.push_back(nullptr);
    const int spawned = posix_spawn(&worker.pid, arguments[0], &actions, nullptr, arguments.data(), environ);
    posix_spawn_file_actions_destroy(&actions);
    if (spawned != 0) {
        worker.pid = -1;
        return false;
    }
    worker.toWorker = std::move(toWorker);
    worker.fromWorker = std::move(fromWorker);
    return true;
}

void CTagWorkers::Stop(Worker& worker) {
    worker.toWorker.Close();
    worker.fromWorker.Close();
    if (worker.pid > 0) {
        kill(worker.pid, SIGKILL);
        waitpid(worker.pid, nullptr, 0);
    }
    worker = Worker();
}

bool CTagWorkers::Send(Worker& worker, Job& job, const Batch& batch, bool always) {
    std::vector<std::string> fields = {"R"};
    for (std::size_t file = batch.first; file < batch.last; ++file) {
        fields.push_back(std::to_string(job.files[file].second));
        fields.push_back(job.files[file].first);
    }
    const std::string request = EncodeFields(fields);
    if (!always && !worker.pending.empty() && worker.pendingBytes + request.size() > kPipeBytes) {
        return false;
    }
    worker.pending.push_back({&job, batch, request.size()});
    worker.pendingBytes += request.size();
    if (worker.toWorker.IsOpen()) {
        WriteMessage(worker.toWorker.Get(), request);  // a worker that is gone fails the answer
    }
    return true;
}

std::size_t CTagWorkers::Receive(Worker& worker, std::size_t files, SongTags* tags) {
    std::string answer;
    std::vector<std::string> fields;
    for (std::size_t file = 0; file < files; ++file) {
        if (!worker.fromWorker.IsOpen() || !worker.answers.Read(worker.fromWorker.Get(), answer, m_timeoutMs) ||
            !DecodeFields(answer, fields) || fields.size() != 13) {
            Stop(worker);
            Start(worker);
            return file;
        }
        SongTags song = TagsFromFields(fields, 1);
        song.parsed = fields[0] == "1";
        song.seconds = std::atoi(fields[8].c_str());
        song.rating = std::clamp(std::atoi(fields[9].c_str()), 0, 7);
        song.playCount = std::max(std::atoi(fields[10].c_str()), 0);
        song.audioKey = fields[11];
        song.latin1Texts =
            std::atoi(fields[12].c_str()) & (kTitleText | kArtistText | kAlbumText | kGenreText | kCommentText);
        tags[file] = song.parsed ? song : SongTags();
    }
    worker.pendingBytes -= worker.pending.front().bytes;
    worker.pending.pop_front();
    return files;
}

void CTagWorkers::SendAhead() {
    for (Job& job : m_jobs) {
        for (; job.sent < job.batches.size(); ++job.sent, ++m_sentBatches) {
            if (!Send(m_workers[m_sentBatches % m_workers.size()], job, job.batches[job.sent], false)) {
                return;
            }
        }
    }
}

CTagWorkers::Ticket CTagWorkers::Request(Files files) {
    Job& job = m_jobs.emplace_back();
    job.files = std::move(files);
    job.results.resize(job.files.size());
    const std::size_t count = m_workers.size();
    const std::size_t batchSize = std::clamp<std::size_t>((job.files.size() + count - 1) / count, 1, kMaxBatch);
    for (std::size_t first = 0; first < job.files.size(); first += batchSize) {
        job.batches.push_back({first, std::min(first + batchSize, job.files.size())});
    }
    SendAhead();
    return m_firstTicket + m_jobs.size() - 1;
}

std::vector<SongTags> CTagWorkers::Collect(Ticket ticket) {
    if (m_jobs.empty() || ticket != m_firstTicket) {
        throw std::logic_error("Tags were collected out of the order they were asked for.");
    }
    Job& job = m_jobs.front();
    while (job.received < job.batches.size()) {
        SendAhead();
        Worker& worker = m_workers[m_receivedBatches % m_workers.size()];
        const Batch done = worker.pending.front().batch;
        const std::deque<SentBatch> later(worker.pending.begin() + 1, worker.pending.end());
        bool failed = false;
        for (std::size_t file = done.first; file < done.last;) {
            file += Receive(worker, done.last - file, &job.results[file]);
            if (file < done.last) {
                // The file that killed or stalled the worker counts as unparsable and is not
                // read again; the new worker reads the rest.
                job.results[file++].stopped = true;
                failed = true;
                if (file < done.last) {
                    Send(worker, job, {file, done.last}, true);
                }
            }
        }
        if (failed) {
            for (const SentBatch& request : later) {
                Send(worker, *request.job, request.batch, true);  // they fitted before
            }
        }
        ++job.received;
        ++m_receivedBatches;
    }
    std::vector<SongTags> results = std::move(job.results);
    m_jobs.pop_front();
    ++m_firstTicket;
    return results;
}

bool CTagWorkers::SendWrite(Worker& worker, const TagWrite& write) {
    if (worker.pid < 0) {
        Start(worker);
    }
    std::vector<std::string> fields = {"W", std::to_string(write.fileType), write.path,
                                       std::to_string(static_cast<int>(write.mode))};
    for (const std::string& text : TagFields(write.tags)) {
        fields.push_back(text);
    }
    fields.push_back(std::to_string(write.tags.rating));
    fields.push_back(std::to_string(write.tags.playCount));
    return worker.toWorker.IsOpen() && WriteMessage(worker.toWorker.Get(), EncodeFields(fields));
}

std::optional<bool> CTagWorkers::ReceiveWrite(Worker& worker, bool sent) {
    std::string answer;
    std::vector<std::string> reply;
    if (!sent || !worker.answers.Read(worker.fromWorker.Get(), answer, m_timeoutMs * kWriteTimeFactor)) {
        Stop(worker);
        Start(worker);
        return std::nullopt;
    }
    return DecodeFields(answer, reply) && reply.size() == 1 && reply[0] == "1";
}

bool CTagWorkers::Write(const std::string& path, SongFileType fileType, const SongTags& tags) {
    Worker& writer = m_writers.front();
    return ReceiveWrite(writer, SendWrite(writer, {path, fileType, tags})).value_or(false);
}

std::vector<bool> CTagWorkers::WriteAll(const std::vector<TagWrite>& writes,
                                        const std::function<void(std::size_t)>& written) {
    std::vector<Worker*> pool;
    for (Worker& writer : m_writers) {
        pool.push_back(&writer);
    }
    for (Worker& worker : m_workers) {
        if (worker.pending.empty()) {
            pool.push_back(&worker);  // a reader with no read under way
        }
    }
    // Writes go to the workers in runs (run r to worker r % pool size); each worker has its
    // next run waiting while it writes one. The answers are read in the order of the writes.
    const auto workerOf = [&](std::size_t i) { return (i / kWritesAhead) % pool.size(); };
    const std::size_t ahead = pool.size() * kWritesAhead * 2;
    std::vector<std::deque<std::size_t>> underWay(pool.size());
    std::vector<bool> sent(writes.size(), false);
    const auto send = [&](std::size_t i) {
        sent[i] = SendWrite(*pool[workerOf(i)], writes[i]);
        underWay[workerOf(i)].push_back(i);
    };
    for (std::size_t i = 0; i < std::min(writes.size(), ahead); ++i) {
        send(i);
    }
    std::vector<bool> results(writes.size(), false);
    for (std::size_t i = 0; i < writes.size(); ++i) {
        std::deque<std::size_t>& queue = underWay[workerOf(i)];
        queue.pop_front();
        const std::optional<bool> result = ReceiveWrite(*pool[workerOf(i)], sent[i]);
        results[i] = result.value_or(false);
        if (!result) {
            // The worker was replaced: the writes it had not answered are asked of the new one.
            for (const std::size_t later : std::exchange(queue, {})) {
                send(later);
            }
        }
        if (const std::size_t next = i + ahead; next < writes.size()) {
            send(next);
        }
        written(i);
    }
    return results;
}

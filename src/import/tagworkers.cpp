#include "import/tagworkers.h"

#include <fcntl.h>
#include <signal.h>
#include <spawn.h>
#include <sys/wait.h>
#include <unistd.h>

#include <cstdlib>
#include <filesystem>

extern char** environ;

namespace {

// Requests sent ahead to one worker; small enough that its request pipe never fills.
constexpr std::size_t kMaxPending = 8;

SongTags ParseAnswer(const std::string& payload) {
    std::vector<std::string> fields;
    if (!DecodeFields(payload, fields) || fields.size() != 9 || fields[0] != "1") {
        return {};
    }
    SongTags tags = TagsFromFields(fields, 1);
    tags.parsed = true;
    tags.seconds = std::atoi(fields[8].c_str());
    return tags;
}

std::string ReadRequest(const std::string& path, int fileType) {
    return EncodeFields({"R", std::to_string(fileType), path});
}

}  // namespace

std::vector<std::string> CTagWorkers::DefaultTagWorkerCommand() {
    std::error_code error;
    const auto beside = std::filesystem::read_symlink("/proc/self/exe", error).parent_path() / "cadenzo-tagworker";
    if (!error && std::filesystem::exists(beside, error)) {
        return {beside.string()};
    }
    return {CADENZO_TAGWORKER_BUILD_PATH};
}

CTagWorkers::CTagWorkers(std::vector<std::string> command, int count, int timeoutMs)
    : m_command(std::move(command)), m_workers(static_cast<std::size_t>(std::max(count, 1))), m_timeoutMs(timeoutMs) {
    // A worker that dies must not take the program with it when a request is written to it.
    signal(SIGPIPE, SIG_IGN);
    for (Worker& worker : m_workers) {
        Start(worker);
    }
}

CTagWorkers::~CTagWorkers() {
    for (Worker& worker : m_workers) {
        Stop(worker);
    }
}

bool CTagWorkers::Start(Worker& worker) {
    int requests[2];
    int answers[2];
    if (pipe2(requests, O_CLOEXEC) != 0) {
        return false;
    }
    if (pipe2(answers, O_CLOEXEC) != 0) {
        close(requests[0]);
        close(requests[1]);
        return false;
    }
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
    close(requests[0]);
    close(answers[1]);
    worker.toWorker = requests[1];
    worker.fromWorker = answers[0];
    if (spawned != 0) {
        worker.pid = -1;
        Stop(worker);
        return false;
    }
    return true;
}

void CTagWorkers::Stop(Worker& worker) {
    if (worker.toWorker >= 0) {
        close(worker.toWorker);
    }
    if (worker.fromWorker >= 0) {
        close(worker.fromWorker);
    }
    if (worker.pid > 0) {
        kill(worker.pid, SIGKILL);
        waitpid(worker.pid, nullptr, 0);
    }
    worker = Worker();
}

// Replaces a worker that failed; what it still had to do goes to the new one.
void CTagWorkers::Restart(Worker& worker) {
    auto pending = std::move(worker.pending);
    Stop(worker);
    Start(worker);
    for (const auto& [index, request] : pending) {
        Send(worker, index, request);
    }
}

bool CTagWorkers::Send(Worker& worker, std::size_t index, const std::string& request) {
    worker.pending.emplace_back(index, request);
    return worker.toWorker >= 0 && WriteMessage(worker.toWorker, request);
}

std::vector<SongTags> CTagWorkers::Read(const std::vector<std::pair<std::string, int>>& files) {
    std::vector<SongTags> results(files.size());
    const std::size_t count = m_workers.size();
    std::size_t sent = 0;
    const auto sendAhead = [&] {
        for (; sent < files.size() && m_workers[sent % count].pending.size() < kMaxPending; ++sent) {
            Send(m_workers[sent % count], sent, ReadRequest(files[sent].first, files[sent].second));
        }
    };
    for (std::size_t index = 0; index < files.size(); ++index) {
        sendAhead();
        Worker& worker = m_workers[index % count];
        std::string answer;
        if (worker.fromWorker >= 0 && ReadMessage(worker.fromWorker, answer, m_timeoutMs)) {
            results[index] = ParseAnswer(answer);
            worker.pending.pop_front();
        } else {
            worker.pending.pop_front();  // this file counts as unparsable
            Restart(worker);
        }
    }
    return results;
}

bool CTagWorkers::Write(const std::string& path, int fileType, const SongTags& tags) {
    Worker& worker = m_workers.front();
    std::vector<std::string> fields = {"W", std::to_string(fileType), path};
    for (const std::string& text : TagFields(tags)) {
        fields.push_back(text);
    }
    std::string answer;
    const bool answered = Send(worker, 0, EncodeFields(fields)) && worker.fromWorker >= 0 &&
                          ReadMessage(worker.fromWorker, answer, m_timeoutMs);
    worker.pending.clear();
    if (!answered) {
        Restart(worker);
        return false;
    }
    std::vector<std::string> reply;
    return DecodeFields(answer, reply) && reply.size() == 1 && reply[0] == "1";
}

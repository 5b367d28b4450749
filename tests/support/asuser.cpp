#include "support/asuser.h"

#include <grp.h>
#include <signal.h>
#include <sys/resource.h>
#include <sys/wait.h>
#include <unistd.h>

#include <climits>
#include <stdexcept>

#include "support/killingvfs.h"

namespace {

constexpr uid_t kNobody = 65534;

std::string RunInChild(const std::function<void()>& prepare, const std::function<std::string()>& work) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0) {
        throw std::runtime_error("pipe failed");
    }
    const pid_t child = fork();
    if (child == 0) {
        close(pipeFds[0]);
        prepare();
        const std::string result = work();
        const ssize_t written = write(pipeFds[1], result.data(), result.size());
        _exit(written == static_cast<ssize_t>(result.size()) ? 0 : 1);
    }
    close(pipeFds[1]);
    std::string result;
    char buffer[4096];
    for (ssize_t got; (got = read(pipeFds[0], buffer, sizeof buffer)) > 0;) {
        result.append(buffer, static_cast<std::size_t>(got));
    }
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    return WIFEXITED(status) && WEXITSTATUS(status) == 0 ? result : "child failed";
}

}  // namespace

std::string RunAsUnprivileged(const std::function<std::string()>& work) {
    return RunInChild(
        [] {
            if (geteuid() == 0 && (setgroups(0, nullptr) != 0 || setgid(kNobody) != 0 || setuid(kNobody) != 0)) {
                _exit(2);
            }
        },
        work);
}

std::string RunWithFileSizeLimit(long maxBytes, const std::function<std::string()>& work) {
    return RunInChild(
        [maxBytes] {
            signal(SIGXFSZ, SIG_IGN);
            const rlimit limit{static_cast<rlim_t>(maxBytes), static_cast<rlim_t>(maxBytes)};
            setrlimit(RLIMIT_FSIZE, &limit);
        },
        work);
}

std::string RunKilledAtWrite(int writes, const std::function<std::string()>& work) {
    return RunInChild([writes] { EndProcessAtWrite(writes > 0 ? writes : INT_MAX); }, work);
}

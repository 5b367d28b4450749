#include "engine/closerecord.h"

#include <sys/stat.h>
#include <time.h>
#include <unistd.h>

#include <fstream>
#include <sstream>

#include <fmt/format.h>

namespace {

// The file's identity as text; empty when it cannot be read.
std::string Identity(const std::string& path, struct stat& info) {
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    return fmt::format("{} {} {} {}.{:09} {}.{:09}\n", info.st_dev, info.st_ino, info.st_size, info.st_mtim.tv_sec,
                       info.st_mtim.tv_nsec, info.st_ctim.tv_sec, info.st_ctim.tv_nsec);
}

bool Before(const timespec& a, const timespec& b) {
    return a.tv_sec < b.tv_sec || (a.tv_sec == b.tv_sec && a.tv_nsec < b.tv_nsec);
}

}  // namespace

CCloseRecord::CCloseRecord(const std::string& libraryPath)
    : m_library(libraryPath), m_record(libraryPath + "-closed") {}

bool CCloseRecord::Vouches() const {
    std::ifstream file(m_record);
    std::stringstream recorded;
    recorded << file.rdbuf();
    struct stat info {};
    const std::string identity = Identity(m_library, info);
    return !identity.empty() && recorded.str() == identity;
}

void CCloseRecord::Remove() const {
    unlink(m_record.c_str());
}

void CCloseRecord::Write() const {
    struct stat info {};
    const std::string identity = Identity(m_library, info);
    timespec now{};
    clock_gettime(CLOCK_REALTIME_COARSE, &now);
    if (identity.empty() || !Before(info.st_mtim, now) || !Before(info.st_ctim, now)) {
        return;
    }
    std::ofstream(m_record, std::ios::trunc) << identity;
}

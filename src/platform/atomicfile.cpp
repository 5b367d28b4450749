#include "platform/atomicfile.h"

#include <fcntl.h>
#include <stdio.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <chrono>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <system_error>

#include "platform/filedescriptor.h"

namespace {

// The path that a rename must replace: the target of a symbolic link, else the path itself.
std::string ResolveLinks(const std::string& path) {
    std::error_code error;
    if (std::filesystem::is_symlink(path, error)) {
        const auto target = std::filesystem::weakly_canonical(path, error);
        if (!error) {
            return target.string();
        }
    }
    return path;
}

mode_t CurrentUmask() {
    const mode_t mask = umask(0);
    umask(mask);
    return mask;
}

void SyncFolder(const std::string& folder) {
    const CFileDescriptor fd(open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC));
    if (fd.IsOpen()) {
        fsync(fd.Get());
    }
}

// The name of a write's temporary file beside its target is the target's and this, whose X's
// mkostemp replaces.
constexpr const char* kTemporarySuffix = ".cadenzo-XXXXXX";

// The temporary files that writes of `target` killed before their rename left behind:
// "NAME.cadenzo-XXXXXX" beside it, regular files older than any live write's could be. Removes
// them, and nothing else.
void RemoveLeftovers(const std::string& folder, const std::string& target) {
    constexpr auto kYoungestLeftover = std::chrono::minutes(1);
    const std::string prefix = std::filesystem::path(target).filename().string() + ".cadenzo-";
    std::error_code error;
    const auto due = std::filesystem::file_time_type::clock::now() - kYoungestLeftover;
    for (const auto& entry : std::filesystem::directory_iterator(folder, error)) {
        const std::string name = entry.path().filename().string();
        const bool temporaryName = name.size() == prefix.size() + 6 && name.starts_with(prefix) &&
                                   std::all_of(name.begin() + static_cast<std::ptrdiff_t>(prefix.size()), name.end(),
                                               [](char c) { return std::isalnum(static_cast<unsigned char>(c)) != 0; });
        if (temporaryName && entry.is_regular_file(error) && !entry.is_symlink(error) &&
            entry.last_write_time(error) < due) {
            std::filesystem::remove(entry.path(), error);
        }
    }
}

}  // namespace

bool WriteFileAtomically(const std::string& path, std::string_view bytes) {
    return ReplaceFileAtomically(ResolveLinks(path), bytes);
}

bool ReplaceFileAtomically(const std::string& target, std::string_view bytes) {
    std::string folder = std::filesystem::path(target).parent_path().string();
    if (folder.empty()) {
        folder = ".";
    }
    RemoveLeftovers(folder, target);
    std::string temporary = target + kTemporarySuffix;
    CFileDescriptor fd(mkostemp(temporary.data(), O_CLOEXEC));
    if (!fd.IsOpen()) {
        return false;
    }
    struct stat original {};
    const bool regular = lstat(target.c_str(), &original) == 0 && S_ISREG(original.st_mode);
    const mode_t mode = regular ? (original.st_mode & 07777) : (0666 & ~CurrentUmask());
    bool ok = fchmod(fd.Get(), mode) == 0 && WriteAll(fd.Get(), bytes) && fsync(fd.Get()) == 0;
    ok = fd.Close() && ok;
    ok = ok && rename(temporary.c_str(), target.c_str()) == 0;
    if (!ok) {
        const int error = errno;
        unlink(temporary.c_str());
        errno = error;
        return false;
    }
    SyncFolder(folder);
    return true;
}

bool ReadWholeFile(const std::string& path, std::string& out) {
    std::ifstream in(path, std::ios::binary);
    if (!in) {
        return false;
    }
    out.assign(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    return !in.bad();
}

bool RenameWithoutReplacing(const std::string& from, const std::string& to) {
    if (renameat2(AT_FDCWD, from.c_str(), AT_FDCWD, to.c_str(), RENAME_NOREPLACE) != 0) {
        return false;
    }
    const std::string folder = std::filesystem::path(to).parent_path().string();
    SyncFolder(folder.empty() ? "." : folder);
    return true;
}

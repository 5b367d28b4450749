#include "platform/fileaccess.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>

bool FileExists(const std::string& path) {
    struct stat info {};
    return !path.empty() && stat(path.c_str(), &info) == 0;
}

bool IsReadOnlyFile(const std::string& path) {
    if (!FileExists(path)) {
        return false;
    }
    std::string folder = std::filesystem::path(path).parent_path().string();
    if (folder.empty()) {
        folder = ".";
    }
    return access(path.c_str(), W_OK) != 0 || access(folder.c_str(), W_OK) != 0;
}

std::string ExecutableFolder() {
    std::error_code error;
    const std::filesystem::path program = std::filesystem::read_symlink("/proc/self/exe", error);
    return error ? std::string() : program.parent_path().string();
}

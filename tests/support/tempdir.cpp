#include "support/tempdir.h"

#include <sys/stat.h>
#include <unistd.h>

#include <filesystem>
#include <fstream>
#include <iterator>
#include <stdexcept>

#include "app/settings.h"

CTempDir::CTempDir() {
    std::string pattern = (std::filesystem::temp_directory_path() / "cadenzo-test-XXXXXX").string();
    if (mkdtemp(pattern.data()) == nullptr) {
        throw std::runtime_error("cannot create a temporary folder");
    }
    chmod(pattern.c_str(), 0777);
    m_path = pattern;
}

CTempDir::~CTempDir() {
    std::error_code error;
    // Folders that a test made read-only must become writable again to be removed.
    for (const auto& entry : std::filesystem::recursive_directory_iterator(m_path, error)) {
        if (entry.is_directory(error)) {
            chmod(entry.path().c_str(), 0777);
        }
    }
    std::filesystem::remove_all(m_path, error);
}

CWorkingDirectory::CWorkingDirectory(const std::string& folder) : m_previous(std::filesystem::current_path().string()) {
    std::filesystem::current_path(folder);
    InitProgramDirectory();
}

CWorkingDirectory::~CWorkingDirectory() {
    std::error_code error;
    std::filesystem::current_path(m_previous, error);
    InitProgramDirectory();
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
}

void WriteFile(const std::string& path, const std::string& bytes) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(bytes.data(), static_cast<std::streamsize>(bytes.size()));
}

CScopedEnv::CScopedEnv(const char* name, const std::string& value) : m_name(name) {
    if (const char* previous = std::getenv(name)) {
        m_had = true;
        m_previous = previous;
    }
    setenv(name, value.c_str(), 1);
}

CScopedEnv::~CScopedEnv() {
    m_had ? setenv(m_name.c_str(), m_previous.c_str(), 1) : unsetenv(m_name.c_str());
}

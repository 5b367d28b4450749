#pragma once

#include <filesystem>
#include <string>

#include <fmt/format.h>

#include "app/settings.h"
#include "fixedsettings.h"
#include "platform/messagebox.h"

// A folder of its own for a benchmark's library, made the working directory (the library's
// settings live there) and removed at the end.
class CBenchFolder {
public:
    explicit CBenchFolder(const std::string& name)
        : m_path(std::filesystem::temp_directory_path() / ("cadenzo-bench-" + name)) {
        std::filesystem::remove_all(m_path);
        std::filesystem::create_directories(m_path);
        std::filesystem::current_path(m_path);
        InitProgramDirectory();
    }
    ~CBenchFolder() {
        std::error_code error;
        std::filesystem::current_path("/", error);
        std::filesystem::remove_all(m_path, error);
    }
    CBenchFolder(const CBenchFolder&) = delete;
    CBenchFolder& operator=(const CBenchFolder&) = delete;

private:
    std::filesystem::path m_path;
};

// Messages of a benchmark go to the terminal; questions are answered No.
class CBenchMessageBox : public CMessageBox {
public:
    void Show(const std::string& text) override { fmt::print(stderr, "message: {}\n", text); }
    bool AskYesNo(const std::string&) override { return false; }
};

inline CMessageBox& BenchMessages() {
    static CBenchMessageBox messages;
    return messages;
}

inline const CLibrarySettings& BenchSettings() {
    static const CFixedSettings settings;
    return settings;
}

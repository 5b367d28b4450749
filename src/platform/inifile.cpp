#include "platform/inifile.h"

#include <climits>
#include <filesystem>

#include <fmt/printf.h>

#include "platform/privateprofile.h"

namespace {

const std::string kMissing = "x";
constexpr std::size_t kStringBuffer = 1024;
constexpr std::size_t kShortBuffer = 255;

int LeadingNumber(const std::string& text) {
    std::size_t pos = text.find_first_not_of(" \t");
    if (pos == std::string::npos) {
        return 0;
    }
    const bool negative = text[pos] == '-';
    if (text[pos] == '-' || text[pos] == '+') {
        ++pos;
    }
    long long value = 0;
    for (; pos < text.size() && text[pos] >= '0' && text[pos] <= '9'; ++pos) {
        value = std::min(value * 10 + (text[pos] - '0'), static_cast<long long>(INT_MAX) + 1);
    }
    value = negative ? -value : std::min(value, static_cast<long long>(INT_MAX));
    return static_cast<int>(value);
}

}  // namespace

CIniFile::CIniFile(const std::string& name, bool inWorkingDirectory)
    : m_path(inWorkingDirectory ? (std::filesystem::current_path() / name).string() : name) {}

std::string CIniFile::ReadRaw(const std::string& key, const std::string& section, std::size_t bufferSize) const {
    return ReadProfileString(section, key, kMissing, bufferSize, m_path);
}

bool CIniFile::ReadString(const std::string& key, const std::string& section, std::string& out) const {
    out = ReadRaw(key, section, kStringBuffer);
    if (out == kMissing) {
        out.clear();
        return false;
    }
    return true;
}

bool CIniFile::ReadBool(const std::string& key, const std::string& section) const {
    const std::string value = ReadRaw(key, section, kShortBuffer);
    return value != kMissing && !value.empty() && value[0] != '0';
}

bool CIniFile::ReadInt(const std::string& key, const std::string& section, int& out) const {
    const std::string value = ReadRaw(key, section, kStringBuffer);
    const bool present = value != kMissing;
    out = present ? LeadingNumber(value) : 0;
    return present;
}

bool CIniFile::WriteString(const std::string& key, const std::string& section, const std::string& value) {
    return WriteProfileString(section, key, value, m_path);
}

bool CIniFile::WriteInt(const std::string& key, const std::string& section, int value) {
    return WriteString(key, section, fmt::sprintf("%d", value));
}

bool CIniFile::WriteInts(const std::string& section, const std::vector<std::pair<std::string, int>>& values) {
    std::vector<std::pair<std::string, std::string>> entries;
    entries.reserve(values.size());
    for (const auto& [key, value] : values) {
        entries.emplace_back(key, fmt::sprintf("%d", value));
    }
    return WriteProfileStrings(section, entries, m_path);
}

void CIniFile::DefaultString(const std::string& key, const std::string& section, const std::string& value) {
    if (ReadRaw(key, section, kShortBuffer) == kMissing) {
        WriteString(key, section, value);
    }
}

void CIniFile::DefaultBool(const std::string& key, const std::string& section, bool value) {
    const std::string current = ReadRaw(key, section, kShortBuffer);
    if (current == kMissing || current.empty()) {
        WriteString(key, section, value ? "1" : "0");
    }
}

void CIniFile::DefaultInt(const std::string& key, const std::string& section, int value) {
    DefaultString(key, section, fmt::sprintf("%d", value));
}

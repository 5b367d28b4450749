#pragma once

#include <string>
#include <utility>
#include <vector>

// Typed access to one INI file. Every read passes the sentinel "x" as its default, so a key
// whose value is literally "x" counts as missing. Nothing is cached: each call reads the file.
class CIniFile {
public:
    // With `inWorkingDirectory` the file is `name` in the current working directory; otherwise
    // `name` is the path itself.
    CIniFile(const std::string& name, bool inWorkingDirectory);

    // True when the key is present; `out` gets its value (cut to 1023 bytes) or "" when missing.
    bool ReadString(const std::string& key, const std::string& section, std::string& out) const;

    // True when the key is present with a value whose first character is not '0'.
    bool ReadBool(const std::string& key, const std::string& section) const;

    // True when the key is present; `out` gets the leading decimal number of the value (blanks
    // and one sign allowed; 0 without digits; clamped to the int range), or 0 when missing.
    bool ReadInt(const std::string& key, const std::string& section, int& out) const;

    // Write the value, creating file, section and key as needed. False when the write failed.
    bool WriteString(const std::string& key, const std::string& section, const std::string& value);
    bool WriteInt(const std::string& key, const std::string& section, int value);
    // Writes several numbers of one section in one replacement of the file; all or none.
    bool WriteInts(const std::string& section, const std::vector<std::pair<std::string, int>>& values);

    // Write the value only where the key is missing (DefaultBool: also where it is empty).
    void DefaultString(const std::string& key, const std::string& section, const std::string& value);
    void DefaultBool(const std::string& key, const std::string& section, bool value);
    void DefaultInt(const std::string& key, const std::string& section, int value);

    const std::string& GetPath() const { return m_path; }

private:
    // The value, or nullopt-like "x" when missing, read with a buffer of `bufferSize` bytes.
    std::string ReadRaw(const std::string& key, const std::string& section, std::size_t bufferSize) const;

    std::string m_path;
};

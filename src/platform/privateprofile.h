#pragma once

#include <cstddef>
#include <string>
#include <utility>
#include <vector>

// INI files in the classic private-profile form: "[Section]" lines, each followed by
// "key=value" lines. Section and key names match without regard to ASCII letter case and
// without the blanks around them; the first matching key wins. Files with LF or CRLF line
// ends and with or without a UTF-8 byte order mark read alike; lines starting with ';' or '#'
// are comments.

// Returns the value of `key` in `section` of the file at `path`, cut to `bufferSize` - 1 bytes
// (never inside a UTF-8 sequence) and at the first NUL byte. Returns `fallback` when the file,
// the section or the key is missing.
std::string ReadProfileString(const std::string& section, const std::string& key, const std::string& fallback,
                              std::size_t bufferSize, const std::string& path);

// Sets `key` in `section` to `value`, creating the file, the section and the key as needed
// ("key=" for an empty value). Everything else in the file (other sections and keys,
// comments, blank lines, the byte order mark, the line-end style) stays as it was. The file is
// replaced atomically. Returns false, with the file untouched, when the write fails or when a
// name or the value would break the line structure (a line break, a key with '=').
bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& path);

// Sets several keys of `section` as WriteProfileString does, in one replacement of the file:
// all of them, or (on failure, or when any would break the line structure) none.
bool WriteProfileStrings(const std::string& section, const std::vector<std::pair<std::string, std::string>>& entries,
                         const std::string& path);

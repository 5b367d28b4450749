#pragma once

#include <string>

// True when `path` names an existing file system object (empty path: false).
bool FileExists(const std::string& path);

// True when the file at `path` exists but this user may not change it in place: the file
// itself is not writable, or the folder that holds it is not (a database needs its folder for
// the journal).
bool IsReadOnlyFile(const std::string& path);

// The folder that holds the running program's executable ("" when it cannot be found).
std::string ExecutableFolder();

#pragma once

#include <string>
#include <string_view>

// Replaces the file at `path` with `bytes` so that readers only ever see the old or the new
// content: the bytes go into a temporary file in the same folder, which is flushed to disk and
// then renamed over the original. An existing file keeps its permission bits; a symbolic link is
// followed and its target replaced. Returns false when any step fails (read-only folder, full
// disk, ...), with errno telling why; the original is then untouched and no temporary file is
// left behind. What a write that was killed left behind (NAME.cadenzo-XXXXXX, a minute old) goes at
// the next write.
bool WriteFileAtomically(const std::string& path, std::string_view bytes);

// The same without following a symbolic link: whatever stands at `path` (a link included) is
// replaced by the new file.
bool ReplaceFileAtomically(const std::string& path, std::string_view bytes);

// Reads the whole file into `out`. Returns false when it cannot be opened or read.
bool ReadWholeFile(const std::string& path, std::string& out);

// Renames `from` to `to` unless `to` exists, and makes the rename durable; false on failure.
bool RenameWithoutReplacing(const std::string& from, const std::string& to);

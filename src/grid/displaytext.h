#pragma once

#include <QString>

#include <string>

// The text to show for stored bytes: UTF-8 when they are valid UTF-8, else read as
// Windows-1252 (old file names and tags), so every byte shows as some character. For display
// only: the stored bytes are never changed.
QString DisplayText(const std::string& bytes);

// True when `bytes` is valid UTF-8.
bool IsValidUtf8(const std::string& bytes);

#pragma once

#include <QByteArray>
#include <QString>

class QLineEdit;

#include <cstddef>
#include <string>
#include <vector>

// The text to show for stored bytes: UTF-8 when they are valid UTF-8, else read as
// Windows-1252 (old file names and tags), so every byte shows as some character. For display
// only: the stored bytes are never changed.
QString DisplayText(const std::string& bytes);

// The positions of `texts` in the order a list that sorts its entries shows them: by their
// display text, letter case ignored; equal texts keep their order.
std::vector<std::size_t> OrderIgnoringCase(const std::vector<std::string>& texts);

// What a line edit holds as bytes: the bytes it was given while its text is the one it was
// given, else its text.
std::string LineEditBytes(const QLineEdit* edit, const std::string& initial);

// The bytes as a QByteArray, for an item's data (see kBytesRole).
QByteArray ByteArray(const std::string& bytes);

// True when `bytes` is valid UTF-8.
bool IsValidUtf8(const std::string& bytes);

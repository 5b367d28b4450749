#include "browse/columnwidths.h"

#include <fmt/printf.h>

#include <utility>
#include <vector>

#include "platform/inifile.h"

namespace {

constexpr const char* kSection = "Grid Column Widths";
constexpr const char* kRowNames[] = {"Artist", "Album", "Collection", "Song", "Genre"};
constexpr const char* kColumnNames[] = {"Number",      "Expand Button", "Check Button", "Play Button", "Track Number",
                                        "Name",        "Album Name",    "Artist",       "Length",      "BestOf",
                                        "User Rating", "Auto Rating",   "Total Rating", "Play Count",  "File Path",
                                        "Internal ID", "Misc"};

constexpr std::array<CColumnWidthTable::Row, CColumnWidthTable::kModeRows> kDefaults = {{
    {34, 20, 0, 20, 0, 220, 0, 0, 0, 0, 100, 0, 70, 0, 0, 0, 0},
    {34, 20, 0, 20, 0, 220, 0, 100, 0, 0, 100, 0, 70, 0, 40, 0, 0},
    {34, 20, 0, 20, 0, 220, 0, 0, 0, 0, 100, 0, 70, 0, 0, 0, 0},
    {34, 0, 20, 20, 30, 220, 100, 100, 40, 0, 100, 0, 70, 34, 40, 0, 0},
    {34, 20, 0, 20, 0, 220, 0, 0, 0, 0, 100, 0, 70, 0, 0, 0, 0},
}};

}  // namespace

CColumnWidthTable::CColumnWidthTable() : m_rows(kDefaults) {}

std::string CColumnWidthTable::KeyName(int modeRow, int column) {
    return fmt::sprintf("%s %s Width", kRowNames[modeRow], kColumnNames[column]);
}

void CColumnWidthTable::Load(CIniFile& settings) {
    m_rows = kDefaults;
    std::vector<std::pair<std::string, int>> missing;
    for (int row = 0; row < kModeRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            int value = 0;
            if (settings.ReadInt(KeyName(row, column), kSection, value)) {
                (*this)[row][static_cast<std::size_t>(column)] = value;
            } else {
                missing.emplace_back(KeyName(row, column), (*this)[row][static_cast<std::size_t>(column)]);
            }
        }
    }
    if (!missing.empty()) {
        settings.WriteInts(kSection, missing);
    }
}

bool CColumnWidthTable::Save(CIniFile& settings) const {
    std::vector<std::pair<std::string, int>> values;
    values.reserve(kModeRows * kColumns);
    for (int row = 0; row < kModeRows; ++row) {
        for (int column = 0; column < kColumns; ++column) {
            values.emplace_back(KeyName(row, column), (*this)[row][static_cast<std::size_t>(column)]);
        }
    }
    return settings.WriteInts(kSection, values);
}

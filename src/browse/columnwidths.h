#pragma once

#include <array>
#include <string>

class CIniFile;

// The widths of the library grid's 17 columns for each of the five mode rows (Artist, Album,
// Collection, Song, Genre; rows 0..3 are the view modes), as designed for a small 8-point font.
// The settings file keeps them under "Grid Column Widths", keyed "<row name> <column name> Width".
class CColumnWidthTable {
public:
    static constexpr int kModeRows = 5;
    static constexpr int kColumns = 17;
    using Row = std::array<int, kColumns>;

    // Holds the designed defaults.
    CColumnWidthTable();

    // Writes the defaults of the keys that are missing (in one write), then reads every key back.
    void Load(CIniFile& settings);
    // Writes all 85 values in one replacement of the file; false when that fails.
    bool Save(CIniFile& settings) const;

    Row& operator[](int modeRow) { return m_rows[static_cast<std::size_t>(modeRow)]; }
    const Row& operator[](int modeRow) const { return m_rows[static_cast<std::size_t>(modeRow)]; }

    static std::string KeyName(int modeRow, int column);

private:
    std::array<Row, kModeRows> m_rows;
};

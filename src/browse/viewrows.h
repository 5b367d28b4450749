#pragma once

#include <array>
#include <cstddef>
#include <cstdint>
#include <string>
#include <string_view>
#include <vector>

#include "browse/displaymode.h"
#include "browse/textbuffer.h"

class CLibraryDb;

// The records of a view, as the grid shows them. Their texts lie end to end in one buffer, so a
// view of many songs costs no allocation per record; fields the view's mode does not have stay
// empty (0).
class CViewRecords {
public:
    enum Text { kName, kArtistName, kFilePath, kAlbumName, kTrack, kLength, kTextCount };
    // A name (any text but the path, which is played) longer than this many bytes keeps as
    // many whole characters as fit and ends in "…": a cell shows a few dozen characters, and a
    // view of many songs must not hold names of thousands.
    static constexpr std::size_t kLongestName = 256;
    struct Numbers {
        double autoRating = 0.0;  // Artists, Albums, Collections
        std::int32_t id = 0;
        std::int32_t userRating = 0;
        std::int32_t artistId = 0;   // Albums, Songs
        std::int32_t albumId = 0;    // Songs
        std::int32_t playCount = 0;  // Songs
        bool unsorted = false;       // Songs
    };

    // The records of `sql`, a statement of a view of `mode`, in the order they come.
    CViewRecords(CLibraryDb& db, const std::string& sql, int mode);

    int Mode() const { return m_mode; }
    std::size_t Count() const { return m_records.size(); }
    const Numbers& NumbersOf(std::size_t record) const { return m_records[record].numbers; }
    std::string_view TextOf(std::size_t record, Text text) const {
        const Record& row = m_records[record];
        const std::uint32_t begin = text == 0 ? 0 : row.textEnds[text - 1];
        return m_texts.View(row.textStart + begin, row.textStart + row.textEnds[text]);
    }

private:
    // Small: a view of many songs writes one for each, and the memory it writes is what reading
    // a view costs beyond SQLite's own work.
    struct Record {
        Numbers numbers;
        std::size_t textStart = 0;                         // in m_texts
        std::array<std::uint32_t, kTextCount> textEnds{};  // from textStart
    };

    // Appends `name`, cut when it is too long.
    void AppendName(std::string_view name);

    int m_mode;
    std::vector<Record> m_records;
    CTextBuffer m_texts;
};

// The rating a row is coloured by: its user rating, else its AutoRating rounded half away
// from zero (songs have none: 0). A value outside 0..ratingCount-1, or an AutoRating that is
// not a number, counts as 0.
int ColourRating(int userRating, double autoRating, int mode, int ratingCount);

// "%.2f" of the user rating when it is not 0, else of `autoRating`.
std::string TotalRatingText(int userRating, double autoRating);

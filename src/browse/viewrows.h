#pragma once

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
        std::int32_t id = 0;
        std::int32_t userRating = 0;
        std::int32_t artistId = 0;   // Albums, Songs
        std::int32_t albumId = 0;    // Songs
        std::int32_t playCount = 0;  // Songs
        double autoRating = 0.0;     // Artists, Albums, Collections
        bool unsorted = false;       // Songs
    };

    // The records of `sql`, a statement of a view of `mode`, in the order they come.
    CViewRecords(CLibraryDb& db, const std::string& sql, int mode);

    int Mode() const { return m_mode; }
    std::size_t Count() const { return m_numbers.size(); }
    const Numbers& NumbersOf(std::size_t record) const { return m_numbers[record]; }
    std::string_view TextOf(std::size_t record, Text text) const {
        const std::size_t at = record * kTextCount + text;
        const std::size_t begin = at == 0 ? 0 : m_textEnds[at - 1];
        return m_texts.View(begin, m_textEnds[at]);
    }

private:
    // Appends `name`, cut when it is too long.
    void AppendName(std::string_view name);

    int m_mode;
    std::vector<Numbers> m_numbers;
    std::vector<std::size_t> m_textEnds;  // kTextCount for each record: where each text ends
    CTextBuffer m_texts;
};

// The rating a row is coloured by: its user rating, else its AutoRating rounded half away
// from zero (songs have none: 0). A value outside 0..ratingCount-1, or an AutoRating that is
// not a number, counts as 0.
int ColourRating(int userRating, double autoRating, int mode, int ratingCount);

// "%.2f" of the user rating when it is not 0, else of `autoRating`.
std::string TotalRatingText(int userRating, double autoRating);

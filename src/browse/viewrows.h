#pragma once

#include <cstdint>
#include <functional>
#include <string>
#include <vector>

#include "browse/displaymode.h"

class CLibraryDb;

// What the grid shows of one record of a view; fields the view's mode does not have stay empty.
struct ViewRow {
    std::int32_t id = 0;
    std::string name;
    std::int32_t userRating = 0;
    double autoRating = 0.0;     // Artists, Albums, Collections
    std::int32_t artistId = 0;   // Albums, Songs
    std::string artistName;      // Albums, Songs
    std::string filePath;        // Albums, Songs
    std::int32_t albumId = 0;    // Songs
    std::string albumName;       // Songs
    std::string track;           // Songs
    std::string length;          // Songs
    std::int32_t playCount = 0;  // Songs
    bool unsorted = false;       // Songs
};

// Hands each record of `sql`, a statement of a view of `mode`, to `take`, in the order they
// come; the row handed over is read anew for the next one, so `take` may move its texts away.
void ForEachViewRow(CLibraryDb& db, const std::string& sql, int mode, const std::function<void(ViewRow&)>& take);
// The records of `sql`, all at once.
std::vector<ViewRow> ReadViewRows(CLibraryDb& db, const std::string& sql, int mode);

// The rating a row is coloured by: its user rating, else its AutoRating rounded half away
// from zero (songs have none: 0). A value outside 0..ratingCount-1, or an AutoRating that is
// not a number, counts as 0.
int ColourRating(int userRating, double autoRating, int mode, int ratingCount);

// "%.2f" of the user rating when it is not 0, else of `autoRating`.
std::string TotalRatingText(int userRating, double autoRating);

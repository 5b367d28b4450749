#pragma once

#include <cstdint>
#include <string>

#include "browse/displaymode.h"

// The filter controls as a view's statement reads them.
struct ViewFilters {
    std::int32_t genreId = 0;  // the item data of the Genre Filter selection; 0 for "* All"
    std::string genreName;     // its text
    int ratingPosition = 0;    // the Rating Filter selection: the lowest rating shown; 0 for none
    int playPosition = 0;      // the Play Filter selection, likewise for what is played
    int unratedAsRating = 3;   // "Treat Unrated Songs As Rating"
    std::string search;        // the words of the search field (UTF-8); empty for none
};

// Appends " WHERE (clause)" to `sql`, or " AND (clause)" once `hasClause` is set (which it sets).
void AddWhereClause(std::string& sql, const std::string& clause, bool& hasClause);

// The SELECT statement of `view` with the genre and rating filters; with `playFilter` also the
// play filter (when songs are played or exported); with search words, only the rows whose names
// hold every word (ignoring case and accents). Names and words are quoted: any text is safe.
std::string BuildViewQuery(const DisplayMode& view, const ViewFilters& filters, bool playFilter);

// The song totals per album that the Underplayed Albums rank is computed from.
extern const char* const kAlbumTotalsSql;

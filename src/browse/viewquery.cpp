#include "browse/viewquery.h"

#include <sstream>
#include <vector>

#include <fmt/format.h>
#include <fmt/printf.h>

#include "db/records.h"
#include "engine/collation.h"
#include "engine/jetdialect.h"

namespace {

constexpr const char* kArtistsWithAlbumsSql =
    "SELECT DISTINCT Artists.* FROM (Artists INNER JOIN Albums ON Artists.ID = Albums.ArtistID) LEFT JOIN Songs ON "
    "Songs.ArtistID = Artists.ID";
constexpr const char* kArtistsSql =
    "SELECT DISTINCT Artists.* FROM Artists INNER JOIN Songs ON Artists.ID=Songs.ArtistID";
constexpr const char* kAlbumsOfArtistSql =
    "SELECT DISTINCT Albums.*, Artists.Name as ArtistName FROM (Albums LEFT JOIN Artists ON "
    "Albums.ArtistID=Artists.ID) LEFT JOIN Songs ON Songs.AlbumID = Albums.ID";
constexpr const char* kAlbumsSql =
    "SELECT DISTINCT Albums.*,Artists.Name as ArtistName FROM ((Albums LEFT JOIN Artists ON "
    "Albums.ArtistID=Artists.ID) LEFT JOIN Songs ON Songs.AlbumID = Albums.ID)";
constexpr const char* kSongsSql =
    "SELECT Songs.*, Artists.Name AS ArtistName, Albums.Name AS AlbumName FROM ((Songs LEFT JOIN Artists ON "
    "Songs.ArtistID=Artists.ID) LEFT JOIN Albums ON Songs.AlbumID = Albums.ID)";
constexpr const char* kCollectionSongsSql =
    "SELECT Songs.*, Artists.Name AS ArtistName, Albums.Name AS AlbumName FROM ((((Songs LEFT JOIN Artists ON "
    "Songs.ArtistID=Artists.ID) LEFT JOIN Albums ON Songs.AlbumID=Albums.ID) LEFT JOIN ColJunction ON "
    "Songs.ID=ColJunction.SongID) LEFT JOIN Collections ON ColJunction.ColID=Collections.ID)";
constexpr const char* kCollectionsSql =
    "SELECT DISTINCT Collections.* FROM (Collections LEFT JOIN ColJunction ON ColJunction.ColID=Collections.ID) "
    "LEFT JOIN Songs ON Songs.ID=ColJunction.SongID";

// The base statement of the view with its own clauses.
std::string ViewStatement(const DisplayMode& view, bool& hasClause) {
    std::string sql;
    const auto scoped = [&](const char* base, const char* format, std::int32_t id) {
        sql = base;
        if (id != 0) {
            AddWhereClause(sql, fmt::sprintf(format, id), hasClause);
        }
    };
    switch (view.mode) {
        case kArtistsMode:
            sql = view.submode == kArtistsWithAlbums ? kArtistsWithAlbumsSql : kArtistsSql;
            if (view.submode == kArtistsWithAlbums) {
                AddWhereClause(sql, "Songs.Unsorted=FALSE OR Artists.Name='Various Artists'", hasClause);
            }
            return sql;
        case kAlbumsMode:
            sql = view.submode == kAlbumsOfArtist ? kAlbumsOfArtistSql : kAlbumsSql;
            AddWhereClause(sql, "Songs.Unsorted=FALSE", hasClause);
            if (view.submode == kAlbumsOfArtist && view.artistId != 0) {
                AddWhereClause(sql, fmt::sprintf("Albums.ArtistID = %ld", view.artistId), hasClause);
            }
            return sql;
        case kSongsMode:
            switch (view.submode) {
                case kSortedSongs:
                    sql = kSongsSql;
                    AddWhereClause(sql, "Songs.Unsorted = FALSE", hasClause);
                    break;
                case kSongsOfArtist:
                    scoped(kSongsSql, "Songs.ArtistID = %ld", view.artistId);
                    break;
                case kUnsortedSongsOfArtist:
                    scoped(kSongsSql, "Songs.ArtistID = %ld AND (Songs.Unsorted = TRUE OR Albums.ID = 0)",
                           view.artistId);
                    break;
                case kSongsOfAlbum:
                    sql = kSongsSql;
                    AddWhereClause(sql, fmt::sprintf("Albums.ID = %ld", view.itemId), hasClause);
                    break;
                case kSongsOfCollection:
                    sql = kCollectionSongsSql;
                    AddWhereClause(sql, fmt::sprintf("Collections.ID = %ld", view.itemId), hasClause);
                    break;
                default:
                    sql = kSongsSql;
            }
            return sql;
        default:
            return kCollectionsSql;
    }
}

// The rating clause for ratings of `rating` and above in the view's own table.
std::string RatingClause(const DisplayMode& view, int rating) {
    const std::string table(ModeTableNames[static_cast<std::size_t>(view.mode)]);
    if (view.mode == kSongsMode) {
        return fmt::sprintf("%s.UserRating>=%d", table, rating);
    }
    return fmt::sprintf("(%s.UserRating=0 AND %s.AutoRating>=%d) OR %s.UserRating>=%d", table, table, rating, table,
                        rating);
}

// The names a search looks in, in each mode's statement.
std::vector<const char*> SearchedNames(int mode) {
    switch (mode) {
        case kArtistsMode:
            return {"Artists.Name"};
        case kAlbumsMode:
            return {"Albums.Name", "Artists.Name"};
        case kSongsMode:
            return {"Songs.Name", "Albums.Name", "Artists.Name"};
        default:
            return {"Collections.Name"};
    }
}

// One clause for each word of `search`: one of the view's names holds it.
void AddSearchClauses(std::string& sql, const DisplayMode& view, const std::string& search, bool& hasClause) {
    std::istringstream words(search);
    for (std::string word; words >> word;) {
        const std::string folded = EscapeSqlText(SearchFolded(word));
        std::string clause;
        for (const char* name : SearchedNames(view.mode)) {
            clause += fmt::format("{}{}({}, '{}')", clause.empty() ? "" : " OR ", kSearchMatchesFunction, name, folded);
        }
        AddWhereClause(sql, clause, hasClause);
    }
}

}  // namespace

const char* const kAlbumTotalsSql =
    "SELECT AlbumID, COUNT(ID) AS lCount, SUM(PlayCount) AS SumCount, SUM(UserRating) AS SumRating, "
    "SUM(UserRating=0) AS Unrated FROM Songs GROUP BY AlbumID";

void AddWhereClause(std::string& sql, const std::string& clause, bool& hasClause) {
    sql += hasClause ? " AND" : " WHERE";
    hasClause = true;
    sql += " (" + clause + ")";
}

std::string BuildViewQuery(const DisplayMode& view, const ViewFilters& filters, bool playFilter) {
    bool hasClause = false;
    std::string sql = ViewStatement(view, hasClause);
    if (filters.genreId > 0) {
        AddWhereClause(sql, fmt::sprintf("Songs.Genre = '%s'", EscapeSqlText(filters.genreName)), hasClause);
    }
    const int rating = filters.ratingPosition;
    if (rating > 0) {
        std::string clause = RatingClause(view, rating);
        if (rating <= filters.unratedAsRating) {
            clause += fmt::sprintf(" OR %s.UserRating=0", ModeTableNames[static_cast<std::size_t>(view.mode)]);
        }
        AddWhereClause(sql, clause, hasClause);
    }
    if (playFilter && filters.playPosition > 0 && filters.playPosition > rating) {
        AddWhereClause(sql, RatingClause(view, filters.playPosition), hasClause);
    }
    AddSearchClauses(sql, view, filters.search, hasClause);
    return sql;
}

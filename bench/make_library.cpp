// Makes a synthetic library for timing the real window: make_library FILE SONGS [long-names]. The
// shape is the benchmarks' (an album for every 10 songs, an artist for every 50). With
// "long-names", bad input: every song, album and artist name is 10,000 letters (2,000 Cyrillic,
// then 8,000 Latin, after the row's ID) and the user ratings are 99 or -5.

#include <sqlite3.h>

#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <string>

#include "benchfolder.h"
#include "db/librarydb.h"
#include "fixedsettings.h"
#include "librarygen.h"

namespace {

void MakeNamesLong(CLibraryDb& db) {
    std::string letters;
    for (int letter = 0; letter < 2000; ++letter) {
        letters += "\xD0\x96";
    }
    letters += std::string(8000, 'a');
    const std::string longName = "ID || '" + letters + "'";
    const std::string sql = "BEGIN; UPDATE Songs SET Name = " + longName + ", UserRating = 99 - 104 * (ID % 2);" +
                            "UPDATE Albums SET Name = " + longName + ", UserRating = 99 - 104 * (ID % 2);" +
                            "UPDATE Artists SET Name = " + longName + "; COMMIT;";
    if (sqlite3_exec(db.Handle(), sql.c_str(), nullptr, nullptr, nullptr) != SQLITE_OK) {
        std::fprintf(stderr, "make_library: %s\n", sqlite3_errmsg(db.Handle()));
        std::exit(1);
    }
}

}  // namespace

int main(int argc, char** argv) {
    const bool longNames = argc == 4 && std::strcmp(argv[3], "long-names") == 0;
    if ((argc != 3 && !longNames) || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: make_library FILE SONGS [long-names]\n");
        return 2;
    }
    std::filesystem::remove(argv[1]);
    CFixedSettings settings(argv[1]);
    CLibraryDb db(argv[1], false, false, settings, BenchMessages());
    LibraryShape shape;
    shape.songs = std::atoi(argv[2]);
    shape.albums = shape.songs / 10;
    shape.artists = shape.songs / 50;
    BuildSyntheticLibrary(db, shape);
    if (longNames) {
        MakeNamesLong(db);
    }
    return 0;
}

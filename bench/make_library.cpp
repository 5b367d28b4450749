// Makes a synthetic library for timing the real window: make_library FILE SONGS. The shape is the
// benchmarks' (an album for every 10 songs, an artist for every 50).

#include <cstdio>
#include <cstdlib>
#include <filesystem>

#include "benchfolder.h"
#include "db/librarydb.h"
#include "fixedsettings.h"
#include "librarygen.h"

int main(int argc, char** argv) {
    if (argc != 3 || std::atoi(argv[2]) <= 0) {
        std::fprintf(stderr, "usage: make_library FILE SONGS\n");
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
    return 0;
}

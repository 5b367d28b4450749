#pragma once

#include <cstdint>
#include <string>

class CLibraryDb;

// Builds synthetic libraries for the benchmarks, through the same insert path as the program.

// The size of a synthetic library.
struct LibraryShape {
    int artists = 2000;
    int albums = 10000;
    int songs = 100000;
    int collections = 200;
    int songsPerCollection = 50;
};

// Fills an empty library through the store, in one transaction: albums spread over the
// artists, songs spread over the albums, with about 40% of the songs unrated, 30% never
// played, 5% marked Unsorted, 2% on no album and 10% on albums of other artists; every
// collection holds songs from all over the library.
void BuildSyntheticLibrary(CLibraryDb& db, const LibraryShape& shape);

// Adds `count` songs with plausible fields, in one transaction.
void AddSyntheticSongs(CLibraryDb& db, int count);

// Adds `count` artists named "Artist <n>", in one transaction.
void AddSyntheticArtists(CLibraryDb& db, int count);

// Adds one song through the insert path (a query on the table, AddNew, fields, ID, Update) and
// returns its ID.
std::int32_t InsertSong(CLibraryDb& db, int number);

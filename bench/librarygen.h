#pragma once

#include <cstdint>
#include <string>

class CLibraryDb;

// Builds synthetic libraries for the benchmarks, through the same insert path as the program.

// Adds `count` songs with plausible fields, in one transaction.
void AddSyntheticSongs(CLibraryDb& db, int count);

// Adds `count` artists named "Artist <n>", in one transaction.
void AddSyntheticArtists(CLibraryDb& db, int count);

// Adds one song through the insert path (a query on the table, AddNew, fields, ID, Update) and
// returns its ID.
std::int32_t InsertSong(CLibraryDb& db, int number);

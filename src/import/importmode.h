#pragma once

#include <vector>

#include "import/songfile.h"

// How the songs of one folder enter the library.
enum class ImportMode {
    LooseSongs = 0,      // each in its tag album, marked Unsorted
    OneAlbum = 1,        // one album (the folder's name when the tag albums differ)
    OneCollection = 2,   // each in its tag album, Unsorted, all in a collection named after the folder
    MultipleAlbums = 3,  // each in its tag album
    VariousArtists = 4,  // one album owned by "Various Artists"
    DoNotAdd = 5,
};

// Which question a folder needs before its mode is known.
enum class ImportQuestion { None, Untagged, FewSongs, SeveralAlbums };

struct ImportDecision {
    ImportQuestion question = ImportQuestion::None;
    ImportMode mode = ImportMode::DoNotAdd;  // when no question is needed
};

// The first rule that applies: some untagged song → ask; no more songs than `threshold` →
// ask; one album tag → VariousArtists when the artists differ, else OneAlbum; several albums
// and several artists → OneCollection; several albums of one artist → ask.
ImportDecision DecideImportMode(const std::vector<CSongFile>& songs, int threshold);

// True when a song lacks a title or an artist.
bool IsUntagged(const CSongFile& song);

#pragma once

// What the folders of an import added, counted once each folder is stored.
struct ImportCounts {
    int songsAdded = 0;
    int ratedByTags = 0;  // of the songs added, those with a rating other players wrote
    int songsMoved = 0;   // rows that followed their file to a new place
    int foldersNotAdded = 0;

    ImportCounts& operator+=(const ImportCounts& other) {
        songsAdded += other.songsAdded;
        ratedByTags += other.ratedByTags;
        songsMoved += other.songsMoved;
        foldersNotAdded += other.foldersNotAdded;
        return *this;
    }
    ImportCounts operator-(const ImportCounts& other) const {
        return {songsAdded - other.songsAdded, ratedByTags - other.ratedByTags, songsMoved - other.songsMoved,
                foldersNotAdded - other.foldersNotAdded};
    }
};

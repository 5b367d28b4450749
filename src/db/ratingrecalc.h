#pragma once

class CLibraryDb;

// Recomputes and stores the AutoRating of every artist, of every album that their songs touch
// and of every collection, with the very results of computing them one artist and one
// collection at a time (CLibraryDb::ComputeArtistAutoRating, ComputeCollectionAutoRating), but
// in one pass over each table instead of several statements per item. Rows whose value does
// not change are not written.
void RecalcAllRatings(CLibraryDb& db);

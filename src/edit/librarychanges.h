#pragma once

#include <cstdint>
#include <string>

#include "db/librarydb.h"

// The changes the Manager and the editing commands make to the library. Each runs in one
// transaction: all or nothing.

// The entries the Manager lists for an item kind: albums as "Artist - Album", the other kinds by
// name; nothing for a kind it does not manage.
void FillManagerEntries(CLibraryDb& db, ItemKind kind, NameList& names, IdList& ids);

// The prompt of New for the kind ("Add New Artist Named:"...), or "" when New cannot add it;
// then NewItemRefusal is the message.
std::string NewItemPrompt(ItemKind kind);
std::string NewItemRefusal(ItemKind kind);
// Adds the item of that kind with that name (an album with its artist), or finds it when it is
// there; its ID.
std::int32_t AddNamedItem(CLibraryDb& db, ItemKind kind, const std::string& name, std::int32_t artistId);

// Remove and Deep Remove of the Manager.
void RemoveItemWhole(CLibraryDb& db, ItemKind kind, std::int32_t id, bool deep);

// Sets `field` (AlbumID or ArtistID) of every listed song; IDs without a song are passed over.
void SetFieldOfSongs(CLibraryDb& db, const std::string& field, const IdList& songs, std::int32_t value);
// Puts every listed song into the collection (a song already there is not added twice).
void AddSongsToCollection(CLibraryDb& db, const IdList& songs, std::int32_t collectionId);
// Removes the listed songs' rows.
void RemoveSongRows(CLibraryDb& db, const IdList& songs);
// Removes the item of a view's row: an artist with its albums and songs, an album with its
// songs, a collection with its links (its songs stay in the library), a song. Nothing for an
// ID below 1 (the special rows of an artist's albums).
void RemoveViewItem(CLibraryDb& db, int mode, std::int32_t id);

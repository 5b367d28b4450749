#include "edit/itemedit.h"

#include <fmt/format.h>
#include <fmt/printf.h>

#include "db/dbtable.h"
#include "edit/pendingtags.h"
#include "engine/engineerror.h"
#include "engine/transaction.h"
#include "import/songfile.h"
#include "import/tagworkers.h"
#include "platform/usertext.h"

namespace {

bool IsSongKind(ItemKind kind) {
    return kind == kSongItem || kind == kSeveralSongsItem;
}

std::string TableOf(ItemKind kind) {
    return std::string(ModeTableNames[static_cast<std::size_t>(kind)]);
}

SongTags TagsOf(const ItemTexts& texts) {
    SongTags tags;
    tags.parsed = true;
    tags.title = texts.title;
    tags.artist = texts.artist;
    tags.album = texts.album;
    tags.year = texts.year;
    tags.track = texts.track;
    tags.genre = texts.genre;
    tags.comment = texts.comment;
    return tags;
}

}  // namespace

ItemRows RowsOfKind(ItemKind kind) {
    ItemRows rows;
    rows.title = kind != kSeveralSongsItem;
    rows.artist = kind == kAlbumItem || IsSongKind(kind);
    rows.album = rows.genre = rows.comment = rows.year = IsSongKind(kind);
    rows.track = kind == kSongItem;
    return rows;
}

CItemEdit::CItemEdit(CLibraryDb& db, CTagWorkers& workers, ItemKind kind, IdList ids)
    : m_db(db), m_workers(workers), m_kind(kind), m_ids(std::move(ids)) {
    const std::int32_t first = m_ids.empty() ? 0 : m_ids.front();
    if (IsSongKind(kind)) {
        const SongRecord song = m_db.ReadSong(first);
        CSongFile file;
        file.LoadFromPath(song.filePath, m_workers);
        if (file.IsParsed()) {
            m_loaded = {file.GetTitle(), file.GetArtist(), file.GetAlbum(),  file.GetYear(),
                        file.GetTrack(), file.GetGenre(),  file.GetComment()};
        } else {
            // A vanished or damaged file: the library's values, so that OK does not blank them.
            m_loaded = {song.name,
                        m_db.GetItemName(kArtistItem, song.artistId),
                        m_db.GetItemName(kAlbumItem, song.albumId),
                        song.year,
                        song.track,
                        song.genre,
                        ""};
        }
        return;
    }
    m_loaded.title = m_db.GetItemName(kind, first);
    if (kind == kAlbumItem) {
        const std::int32_t artist = CDbTable(&m_db, "Albums").LookupLong("ArtistID", "ID", first);
        m_loaded.artist = m_db.GetItemName(kArtistItem, artist);
    }
}

void CItemEdit::FillAlbumChoices(NameList& names, IdList& ids) {
    const std::int32_t first = m_ids.empty() ? 0 : m_ids.front();
    const std::int32_t artist = CDbTable(&m_db, TableOf(m_kind)).LookupLong("ArtistID", "ID", first);
    m_db.FillNameListFromQuery(
        names, ids, fmt::sprintf("SELECT * FROM %s WHERE %s = %ld", "Albums", "ArtistID", artist), "Name", "ID");
}

std::vector<std::string> CItemEdit::Store(const ItemTexts& texts, const std::function<void()>& songDone) {
    if (!IsSongKind(m_kind)) {
        CTransaction transaction(m_db);
        for (const std::int32_t id : m_ids) {
            StoreItem(id, texts);
        }
        transaction.Commit();
        return {};
    }
    // The files are written several at once; then the rows.
    std::vector<SongRecord> songs;
    std::vector<CTagWorkers::TagWrite> writes;
    std::vector<std::size_t> songOfFile;
    const SongTags tags = TagsOf(texts);
    for (const std::int32_t id : m_ids) {
        SongRecord song = m_db.ReadSong(id);
        if (song.id == 0) {
            continue;  // no such song: nothing to write
        }
        if (const SongFileType type = FileTypeFromPath(song.filePath); type != kNotASongFile) {
            writes.push_back({song.filePath, type, tags,
                              m_kind == kSeveralSongsItem ? TagWriteMode::KeepTitleAndTrack : TagWriteMode::Texts});
            songOfFile.push_back(songs.size());
        }
        songs.push_back(std::move(song));
    }
    // A record of the songs comes first: should the rows not follow the files (a kill, a full
    // disk), the next open brings them up to the files.
    CPendingTags pending(m_db.GetPath());
    IdList recorded;
    for (const SongRecord& song : songs) {
        recorded.push_back(song.id);
    }
    pending.Record(recorded, m_kind == kSeveralSongsItem);
    const std::vector<bool> written = m_workers.WriteAll(writes, [&](std::size_t) { songDone(); });
    std::vector<bool> tagged(songs.size(), false);
    for (std::size_t i = 0; i < written.size(); ++i) {
        tagged[songOfFile[i]] = written[i];
    }
    std::vector<std::string> unwritten;
    for (std::size_t i = 0; i < songs.size(); ++i) {
        if (!tagged[i] && !songs[i].filePath.empty()) {
            unwritten.push_back(songs[i].filePath);
        }
    }
    try {
        StoreSongRows(songs, texts);
    } catch (const CEngineError& error) {
        throw CEngineError(
            fmt::format(fmt::runtime(CUserText::tr(
                            "The tags of {} songs were written into their files, but the library could not "
                            "be changed:\n{}\nCadenzo brings the library up to date with the files the "
                            "next time it opens it and can write it.")),
                        songs.size(), error.what()),
            error.Code());
    }
    pending.Clear();
    return unwritten;
}

void CItemEdit::StoreItem(std::int32_t id, const ItemTexts& texts) {
    m_db.RenameItem(texts.title, m_kind, id);
    if (m_kind == kAlbumItem) {
        if (const std::int32_t artist = m_db.FindArtistId(texts.artist); artist != 0) {
            CDbTable(&m_db, "Albums").UpdateLong("ArtistID", "ID", id, artist);
        }
    }
}

void CItemEdit::StoreSongRows(std::vector<SongRecord>& songs, const ItemTexts& texts) {
    CTransaction transaction(m_db);
    // Every song takes the same artist and album: they are looked up once.
    const SongTags tags = TagsOf(texts);
    const auto artistAndAlbum = EditedArtistAndAlbum(m_db, tags);
    for (SongRecord& song : songs) {
        StoreEditedSongRow(m_db, song, tags, m_kind == kSongItem, artistAndAlbum);
    }
    transaction.Commit();
}

std::string UnwrittenFilesMessage(const std::vector<std::string>& paths) {
    std::string message =
        fmt::format(fmt::runtime(CUserText::tr("Error: Couldn't write the tags into '{}'.")), paths.front());
    if (paths.size() > 1) {
        message += fmt::format(fmt::runtime(CUserText::tr("\nThe tags of {} more files could not be written either.")),
                               paths.size() - 1);
    }
    return message + CUserText::tr("\nTheir library entries were changed; the files were left as they were.");
}

#pragma once

#include <string>

#include "import/tagprotocol.h"

class CTagWorkers;

// The type of a song file from its extension, letter case ignored.
SongFileType FileTypeFromPath(const std::string& path);

// Everything after (before) the last `c` of `text`, once trailing white space and trailing
// `c`s are cut off; empty when there is no `c`.
std::string TextAfterLast(const std::string& text, char c);
std::string TextBeforeLast(const std::string& text, char c);
// The last name of a path ("/m/Artist/Album/" gives "Album") and the path of its folder.
std::string FileNamePart(const std::string& path);
std::string DirectoryPart(const std::string& path);
// "m:ss", or "h:mm:ss" from an hour on.
std::string FormatLength(int seconds);

// One song file seen through its tags. It does not keep the file open: everything is read at
// load time, and the file is opened again to write.
class CSongFile {
public:
    // Reads the tags of the file at `path` when its extension makes it a song file; a file the
    // tag library cannot parse gives empty texts, Year and Track "0" and Length "0:00". A file
    // that is no song is not opened, and all its texts are empty.
    void LoadFromPath(const std::string& path, CTagWorkers& workers);
    // What LoadFromPath does once the tags are read (the walk reads a folder's files at once).
    void Assign(const std::string& path, const SongTags& tags);

    const std::string& GetTitle() const { return m_tags.title; }
    const std::string& GetArtist() const { return m_tags.artist; }
    const std::string& GetAlbum() const { return m_tags.album; }
    const std::string& GetYear() const { return m_tags.year; }
    const std::string& GetTrack() const { return m_tags.track; }
    const std::string& GetGenre() const { return m_tags.genre; }
    const std::string& GetComment() const { return m_tags.comment; }
    SongFileType GetFileType() const { return m_fileType; }
    const SongTags& GetTags() const { return m_tags; }
    // False when the file could not be opened or its tags parsed.
    bool IsParsed() const { return m_tags.parsed; }
    const std::string& GetPath() const { return m_path; }
    const std::string& GetLength() const { return m_length; }

    void SetTitle(const std::string& title) { m_tags.title = title; }
    void SetArtist(const std::string& artist) { m_tags.artist = artist; }
    void SetAlbum(const std::string& album) { m_tags.album = album; }

    // Writes the seven texts into the file; false for a file that is not a song or when the
    // write fails (the file is then as it was).
    bool WriteTags(CTagWorkers& workers) const;

private:
    SongTags m_tags;
    SongFileType m_fileType = kNotASongFile;
    std::string m_path;
    std::string m_length;
};

#include "import/taglibio.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
#include <map>
#include <memory>
#include <set>
#include <string_view>

#include <taglib/audioproperties.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/mpegfile.h>
#include <taglib/tag.h>
#include <taglib/tfilestream.h>
#include <taglib/vorbisfile.h>

#include "platform/filedescriptor.h"

namespace {

std::string Text(const TagLib::String& text) {
    std::string bytes = text.to8Bit(true);
    bytes.erase(bytes.find_last_not_of(" \t\r\n\f\v") + 1);
    return bytes;
}

TagLib::String TagText(const std::string& text) {
    return TagLib::String(text, TagLib::String::UTF8);
}

std::unique_ptr<TagLib::File> OpenFile(TagLib::IOStream* stream, int fileType) {
    if (fileType == kMp3File) {
        return std::make_unique<TagLib::MPEG::File>(stream, TagLib::ID3v2::FrameFactory::instance(), true,
                                                    TagLib::AudioProperties::Average);
    }
    return std::make_unique<TagLib::Ogg::Vorbis::File>(stream, true, TagLib::AudioProperties::Average);
}

unsigned LeadingNumber(const std::string& text) {
    const long value = std::strtol(text.c_str(), nullptr, 10);
    return value > 0 ? static_cast<unsigned>(value) : 0;
}

// The texts as a read gives them back after a write.
SongTags Expected(const SongTags& written, int seconds) {
    SongTags expected = written;
    for (std::string* text : {&expected.title, &expected.artist, &expected.album, &expected.genre, &expected.comment}) {
        text->erase(text->find_last_not_of(" \t\r\n\f\v") + 1);
    }
    expected.year = std::to_string(LeadingNumber(written.year));
    expected.track = std::to_string(LeadingNumber(written.track));
    expected.seconds = seconds;
    expected.parsed = true;
    return expected;
}

bool SameTags(const SongTags& a, const SongTags& b) {
    return a.parsed == b.parsed && a.title == b.title && a.artist == b.artist && a.album == b.album &&
           a.year == b.year && a.track == b.track && a.genre == b.genre && a.comment == b.comment &&
           a.seconds == b.seconds;
}

bool CopyFile(const std::string& from, int to) {
    const CFileDescriptor source(open(from.c_str(), O_RDONLY | O_CLOEXEC));
    if (!source.IsOpen()) {
        return false;
    }
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(source.Get(), buffer, sizeof buffer);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return got == 0;
        }
        if (!WriteAll(to, std::string_view(buffer, static_cast<std::size_t>(got)))) {
            return false;
        }
    }
}

// TagLib accepts any bytes as an MP3 without frames; a song has audio with a sample rate.
bool IsSong(TagLib::File& file) {
    return file.isValid() && file.tag() != nullptr && file.audioProperties() != nullptr &&
           file.audioProperties()->sampleRate() > 0;
}

// Writes the tags into the song file at `path`; false, when it is no song or cannot be
// written. `seconds` is the song's length, as read before the write.
bool SaveInto(const std::string& path, int fileType, const SongTags& tags, int& seconds) {
    TagLib::FileStream stream(path.c_str(), false);
    if (!stream.isOpen() || stream.readOnly()) {
        return false;
    }
    std::unique_ptr<TagLib::File> file = OpenFile(&stream, fileType);
    if (!IsSong(*file)) {
        return false;
    }
    seconds = file->audioProperties()->lengthInSeconds();
    TagLib::Tag* tag = file->tag();
    tag->setTitle(TagText(tags.title));
    tag->setArtist(TagText(tags.artist));
    tag->setAlbum(TagText(tags.album));
    tag->setGenre(TagText(tags.genre));
    tag->setComment(TagText(tags.comment));
    tag->setYear(LeadingNumber(tags.year));
    tag->setTrack(LeadingNumber(tags.track));
    return file->save();
}

bool SyncFile(const std::string& path) {
    const CFileDescriptor fd(open(path.c_str(), O_RDONLY | O_CLOEXEC));
    return fd.IsOpen() && fsync(fd.Get()) == 0;
}

// True when the copy's writer is gone: no live write holds its lock, and it is older than a
// copy that was made but not locked yet could be.
bool IsAbandoned(int folder, const char* name) {
    constexpr time_t kYoungestLeftoverSeconds = 60;
    const CFileDescriptor copy(openat(folder, name, O_RDONLY | O_CLOEXEC | O_NOFOLLOW));
    struct stat info {};
    return copy.IsOpen() && fstat(copy.Get(), &info) == 0 &&
           time(nullptr) - info.st_mtime >= kYoungestLeftoverSeconds && flock(copy.Get(), LOCK_EX | LOCK_NB) == 0;
}

// Removes the copies that killed writes left in the folder, never one a write (of this or any
// other worker or program) is making: once per folder while this worker runs (a worker killed in
// a write is started again), not at every write of a large folder.
void RemoveLeftovers(const std::string& folder) {
    static std::set<std::string> cleaned;
    if (!cleaned.insert(folder).second) {
        return;
    }
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    if (!directory) {
        return;
    }
    while (const dirent* entry = readdir(directory.get())) {
        if (IsTagWriteLeftover(entry->d_name) && IsAbandoned(dirfd(directory.get()), entry->d_name)) {
            unlinkat(dirfd(directory.get()), entry->d_name, 0);
        }
    }
}

}  // namespace

SongTags ReadSongTags(const std::string& path, int fileType) {
    SongTags tags;
    struct stat info {};
    if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return tags;  // a FIFO or a device would block or never end
    }
    TagLib::FileStream stream(path.c_str(), true);
    if (!stream.isOpen()) {
        return tags;
    }
    std::unique_ptr<TagLib::File> file = OpenFile(&stream, fileType);
    if (!IsSong(*file)) {
        return tags;
    }
    const TagLib::Tag* tag = file->tag();
    tags.parsed = true;
    tags.title = Text(tag->title());
    tags.artist = Text(tag->artist());
    tags.album = Text(tag->album());
    tags.comment = Text(tag->comment());
    tags.seconds = file->audioProperties()->lengthInSeconds();
    tags.year = std::to_string(tag->year());
    tags.track = std::to_string(tag->track());
    tags.genre = Text(tag->genre());
    return tags;
}

std::optional<PreparedWrite> PrepareSongTags(const std::string& path, int fileType, const SongTags& tags) {
    struct stat original {};
    if (access(path.c_str(), W_OK) != 0 || stat(path.c_str(), &original) != 0 || !S_ISREG(original.st_mode)) {
        return std::nullopt;
    }
    const auto slash = path.find_last_of('/');
    PreparedWrite write;
    write.path = path;
    write.folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // The copy's name ends in no song extension: a copy that a kill leaves behind is never
    // taken for a song.
    write.copy = write.folder + "/." + name + ".cadenzo-XXXXXX";
    write.fd = CFileDescriptor(mkostemp(write.copy.data(), O_CLOEXEC));
    if (!write.fd.IsOpen()) {
        return std::nullopt;
    }
    // The lock, held until the copy is in place, tells other workers it is no leftover.
    struct stat copyInfo {};
    bool ok = flock(write.fd.Get(), LOCK_EX) == 0 && fchmod(write.fd.Get(), original.st_mode & 07777) == 0 &&
              fstat(write.fd.Get(), &copyInfo) == 0 && CopyFile(path, write.fd.Get());
    write.device = copyInfo.st_dev;
    // The copy is read back: a write that TagLib got wrong never replaces the song.
    int seconds = 0;
    ok = ok && SaveInto(write.copy, fileType, tags, seconds) &&
         SameTags(ReadSongTags(write.copy, fileType), Expected(tags, seconds));
    if (!ok) {
        unlink(write.copy.c_str());
        return std::nullopt;
    }
    return write;
}

std::vector<bool> FinishSongTags(std::vector<std::optional<PreparedWrite>>& writes) {
    // One sync of each file system that holds copies, instead of one per copy.
    std::map<dev_t, bool> synced;
    for (const std::optional<PreparedWrite>& write : writes) {
        if (write && !synced.contains(write->device)) {
            synced[write->device] = syncfs(write->fd.Get()) == 0;
        }
    }
    std::vector<bool> written(writes.size(), false);
    std::set<std::string> folders;
    for (std::size_t i = 0; i < writes.size(); ++i) {
        const std::optional<PreparedWrite>& write = writes[i];
        if (!write) {
            continue;
        }
        written[i] = synced[write->device] && rename(write->copy.c_str(), write->path.c_str()) == 0;
        if (written[i]) {
            folders.insert(write->folder);
        } else {
            unlink(write->copy.c_str());
        }
    }
    for (const std::string& folder : folders) {
        SyncFile(folder);
        RemoveLeftovers(folder);
    }
    writes.clear();
    return written;
}

bool WriteSongTags(const std::string& path, int fileType, const SongTags& tags) {
    std::vector<std::optional<PreparedWrite>> write;
    write.push_back(PrepareSongTags(path, fileType, tags));
    return FinishSongTags(write).front();
}

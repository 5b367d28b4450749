#include "import/taglibio.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <cerrno>
#include <cstdlib>
#include <ctime>
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

bool SaveInto(const std::string& path, int fileType, const SongTags& tags) {
    TagLib::FileStream stream(path.c_str(), false);
    if (!stream.isOpen() || stream.readOnly()) {
        return false;
    }
    std::unique_ptr<TagLib::File> file = OpenFile(&stream, fileType);
    if (!file->isValid() || file->tag() == nullptr) {
        return false;
    }
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
    // TagLib accepts any bytes as an MP3 without frames; a song has audio with a sample rate.
    if (!file->isValid() || file->tag() == nullptr || file->audioProperties() == nullptr ||
        file->audioProperties()->sampleRate() <= 0) {
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

bool WriteSongTags(const std::string& path, int fileType, const SongTags& tags) {
    struct stat original {};
    if (access(path.c_str(), W_OK) != 0 || stat(path.c_str(), &original) != 0 || !S_ISREG(original.st_mode)) {
        return false;
    }
    const SongTags before = ReadSongTags(path, fileType);
    if (!before.parsed) {
        return false;
    }
    const auto slash = path.find_last_of('/');
    const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash);
    const std::string name = slash == std::string::npos ? path : path.substr(slash + 1);
    // The copy's name ends in no song extension: a copy that a kill leaves behind is never
    // taken for a song.
    std::string copy = folder + "/." + name + ".cadenzo-XXXXXX";
    const CFileDescriptor fd(mkostemp(copy.data(), O_CLOEXEC));
    if (!fd.IsOpen()) {
        return false;
    }
    // The lock, held until the copy is in place, tells other workers it is no leftover.
    bool ok =
        flock(fd.Get(), LOCK_EX) == 0 && fchmod(fd.Get(), original.st_mode & 07777) == 0 && CopyFile(path, fd.Get());
    ok = ok && SaveInto(copy, fileType, tags) && SameTags(ReadSongTags(copy, fileType), Expected(tags, before.seconds));
    ok = ok && fsync(fd.Get()) == 0 && rename(copy.c_str(), path.c_str()) == 0;
    if (!ok) {
        unlink(copy.c_str());
        return false;
    }
    SyncFile(folder);
    RemoveLeftovers(folder);
    return true;
}

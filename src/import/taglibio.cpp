#include "import/taglibio.h"

#include <dirent.h>
#include <fcntl.h>
#include <sys/file.h>
#include <sys/stat.h>
#include <unistd.h>

#include <algorithm>
#include <cerrno>
#include <cmath>
#include <condition_variable>
#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <cstring>
#include <ctime>
#include <map>
#include <memory>
#include <mutex>
#include <set>
#include <string_view>
#include <thread>
#include <utility>

#include <taglib/audioproperties.h>
#include <taglib/commentsframe.h>
#include <taglib/id3v2framefactory.h>
#include <taglib/id3v2tag.h>
#include <taglib/mpegfile.h>
#include <taglib/popularimeterframe.h>
#include <taglib/tag.h>
#include <taglib/tbytevectorstream.h>
#include <taglib/textidentificationframe.h>
#include <taglib/tfilestream.h>
#include <taglib/vorbisfile.h>
#include <taglib/xiphcomment.h>

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

std::unique_ptr<TagLib::File> OpenFile(TagLib::IOStream* stream, SongFileType fileType) {
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

bool CopyFile(int from, int to) {
    char buffer[1 << 16];
    for (;;) {
        const ssize_t got = read(from, buffer, sizeof buffer);
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

// The whole file, from its start; empty when it cannot be read whole.
TagLib::ByteVector ReadWhole(int fd, std::size_t size) {
    TagLib::ByteVector bytes(static_cast<unsigned>(size), 0);
    for (std::size_t done = 0; done < size;) {
        const ssize_t got = pread(fd, bytes.data() + done, size - done, static_cast<off_t>(done));
        if (got < 0 && errno == EINTR) {
            continue;
        }
        if (got <= 0) {
            return {};
        }
        done += static_cast<std::size_t>(got);
    }
    return bytes;
}

// TagLib accepts any bytes as an MP3 without frames; a song has audio with a sample rate.
bool IsSong(TagLib::File& file) {
    return file.isValid() && file.tag() != nullptr && file.audioProperties() != nullptr &&
           file.audioProperties()->sampleRate() > 0;
}

// The first value of a Vorbis comment field, empty without one.
std::string FirstValue(const TagLib::Ogg::FieldListMap& fields, const char* name) {
    const auto found = fields.find(name);
    return found == fields.end() || found->second.isEmpty() ? std::string() : found->second.front().to8Bit(true);
}

// The seven texts of a tag, as a read gives them.
SongTags TextsOf(const TagLib::Tag& tag) {
    SongTags texts;
    texts.title = Text(tag.title());
    texts.artist = Text(tag.artist());
    texts.album = Text(tag.album());
    texts.genre = Text(tag.genre());
    texts.comment = Text(tag.comment());
    texts.year = std::to_string(tag.year());
    texts.track = std::to_string(tag.track());
    return texts;
}

constexpr const char* kOwnEmail = "cadenzo";  // the e-mail of Cadenzo's own POPM frame

// The rating written for other players: the largest value that still reads back as `rating`
// (see RatingFromPopularimeter and RatingFromFraction, which take a value between two steps up).
int PopularimeterOf(int rating) {
    return rating * 255 / 7;
}
std::string FractionOf(int rating) {
    char text[16];
    std::snprintf(text, sizeof text, "%.6f", std::floor(rating * 1e6 / 7) / 1e6);
    return text;
}

// Writes the rating (0: none) and play count into the song as other players read them: an ID3v2
// POPM frame of Cadenzo's own and TXXX FMPS_Rating and FMPS_Playcount; Vorbis FMPS_RATING and
// FMPS_PLAYCOUNT. Other players' frames stay.
void SavePlayerData(TagLib::File& file, int rating, int playCount) {
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file)) {
        TagLib::ID3v2::Tag* v2 = mpeg->ID3v2Tag(true);
        for (TagLib::ID3v2::Frame* frame : TagLib::ID3v2::FrameList(v2->frameList("POPM"))) {
            if (const auto* popm = dynamic_cast<TagLib::ID3v2::PopularimeterFrame*>(frame);
                popm != nullptr && popm->email() == kOwnEmail) {
                v2->removeFrame(frame, true);
            }
        }
        auto* own = new TagLib::ID3v2::PopularimeterFrame;
        own->setEmail(kOwnEmail);
        own->setRating(PopularimeterOf(rating));
        own->setCounter(static_cast<unsigned>(playCount));
        v2->addFrame(own);
        const auto setUserText = [v2](const char* name, const std::string& value) {
            if (TagLib::ID3v2::UserTextIdentificationFrame* old =
                    TagLib::ID3v2::UserTextIdentificationFrame::find(v2, name)) {
                v2->removeFrame(old, true);
            }
            if (!value.empty()) {
                auto* frame = new TagLib::ID3v2::UserTextIdentificationFrame(TagLib::String::UTF8);
                frame->setDescription(name);
                frame->setText(TagLib::String(value, TagLib::String::UTF8));
                v2->addFrame(frame);
            }
        };
        setUserText("FMPS_Rating", rating > 0 ? FractionOf(rating) : "");
        setUserText("FMPS_Playcount", std::to_string(playCount));
    } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(&file); vorbis != nullptr && vorbis->tag()) {
        if (rating > 0) {
            vorbis->tag()->addField("FMPS_RATING", FractionOf(rating), true);
        } else {
            vorbis->tag()->removeFields("FMPS_RATING");
        }
        vorbis->tag()->addField("FMPS_PLAYCOUNT", std::to_string(playCount), true);
    }
}

// The rating and play count of Cadenzo's own frames in the song, as SavePlayerData wrote them.
std::pair<int, int> OwnPlayerData(TagLib::File& file) {
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file); mpeg != nullptr && mpeg->hasID3v2Tag()) {
        for (const TagLib::ID3v2::Frame* frame : mpeg->ID3v2Tag()->frameList("POPM")) {
            if (const auto* popm = dynamic_cast<const TagLib::ID3v2::PopularimeterFrame*>(frame);
                popm != nullptr && popm->email() == kOwnEmail) {
                return {RatingFromPopularimeter(popm->rating()), static_cast<int>(popm->counter())};
            }
        }
    } else if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(&file); vorbis != nullptr && vorbis->tag()) {
        const TagLib::Ogg::FieldListMap& fields = vorbis->tag()->fieldListMap();
        return {RatingFromText(FirstValue(fields, "FMPS_RATING"), true),
                std::atoi(FirstValue(fields, "FMPS_PLAYCOUNT").c_str())};
    }
    return {0, 0};
}

// Writes the tags into the song on `stream`, as `mode` says. Gives what a read of the song must
// then give; nullopt when it is no song or cannot be written.
std::optional<SongTags> SaveInto(TagLib::IOStream* stream, SongFileType fileType, SongTags tags, TagWriteMode mode) {
    std::unique_ptr<TagLib::File> file = OpenFile(stream, fileType);
    if (!IsSong(*file)) {
        return std::nullopt;
    }
    TagLib::Tag* tag = file->tag();
    if (mode == TagWriteMode::RatingsOnly) {
        SongTags texts = TextsOf(*tag);
        texts.rating = tags.rating;
        texts.playCount = tags.playCount;
        tags = texts;
        SavePlayerData(*file, tags.rating, tags.playCount);
    } else {
        if (mode == TagWriteMode::KeepTitleAndTrack) {
            tags.title = Text(tag->title());
            tags.track = std::to_string(tag->track());
        }
        tag->setTitle(TagText(tags.title));
        tag->setArtist(TagText(tags.artist));
        tag->setAlbum(TagText(tags.album));
        tag->setGenre(TagText(tags.genre));
        tag->setComment(TagText(tags.comment));
        tag->setYear(LeadingNumber(tags.year));
        tag->setTrack(LeadingNumber(tags.track));
    }
    if (!file->save()) {
        return std::nullopt;
    }
    return Expected(tags, file->audioProperties()->lengthInSeconds());
}

// The rating and play count other players wrote: ID3v2 POPM frames (any e-mail) and
// TXXX:FMPS_Rating / FMPS_Playcount, or the Vorbis comments FMPS_RATING, FMPS_PLAYCOUNT and
// RATING. The first rating found counts; the largest play count.
void ReadPlayerRatings(TagLib::File& file, SongTags& tags) {
    const auto count = [&tags](const TagLib::String& text) {
        tags.playCount = std::max(tags.playCount, std::max(0, text.toInt()));
    };
    const auto rate = [&tags](int rating) {
        if (tags.rating == 0) {
            tags.rating = rating;
        }
    };
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file); mpeg != nullptr && mpeg->hasID3v2Tag()) {
        for (const TagLib::ID3v2::Frame* frame : mpeg->ID3v2Tag()->frameList()) {
            if (const auto* popm = dynamic_cast<const TagLib::ID3v2::PopularimeterFrame*>(frame)) {
                rate(RatingFromPopularimeter(popm->rating()));
                tags.playCount = std::max(tags.playCount, static_cast<int>(std::min(popm->counter(), 0x7FFFFFFFu)));
            } else if (const auto* user = dynamic_cast<const TagLib::ID3v2::UserTextIdentificationFrame*>(frame)) {
                const TagLib::StringList values = user->fieldList();
                const TagLib::String value = values.size() > 1 ? values[1] : TagLib::String();
                if (user->description().upper() == "FMPS_RATING") {
                    rate(RatingFromText(value.to8Bit(true), true));
                } else if (user->description().upper() == "FMPS_PLAYCOUNT") {
                    count(value);
                }
            }
        }
    }
    if (auto* vorbis = dynamic_cast<TagLib::Ogg::Vorbis::File*>(&file); vorbis != nullptr && vorbis->tag() != nullptr) {
        const TagLib::Ogg::FieldListMap& fields = vorbis->tag()->fieldListMap();
        rate(RatingFromText(FirstValue(fields, "FMPS_RATING"), true));
        rate(RatingFromText(FirstValue(fields, "RATING"), false));
        if (const auto plays = fields.find("FMPS_PLAYCOUNT"); plays != fields.end() && !plays->second.isEmpty()) {
            count(plays->second.front());
        }
    }
}

// The first `limit` bytes of an Ogg stream's audio: its packets after the three header packets
// (the comments among them), read from the pages' payloads, so that empty packets and page
// boundaries count for nothing. The file is read from its start in large blocks, as far as
// needed, and only what is not yet taken is kept (the comments before the audio may hold large
// pictures); a damaged page ends it.
TagLib::ByteVector OggAudio(TagLib::File& file, unsigned limit) {
    constexpr unsigned kHeaderPackets = 3;
    constexpr unsigned kPageHeaderSize = 27;  // "OggS" ... the number of segments
    constexpr unsigned kBlock = 64 * 1024;
    TagLib::ByteVector data;
    file.seek(0);
    const auto readTo = [&](unsigned end) {
        while (data.size() < end) {
            const TagLib::ByteVector more = file.readBlock(std::max(kBlock, end - data.size()));
            if (more.isEmpty()) {
                return false;
            }
            data.append(more);
        }
        return true;
    };
    const auto byteAt = [&](unsigned at) { return static_cast<unsigned char>(std::as_const(data)[at]); };
    TagLib::ByteVector audio;
    unsigned packetsEnded = 0;
    unsigned page = 0;
    while (audio.size() < limit && readTo(page + kPageHeaderSize) && data.containsAt("OggS", page)) {
        const unsigned segments = byteAt(page + kPageHeaderSize - 1);
        const unsigned table = page + kPageHeaderSize;
        if (!readTo(table + segments)) {
            break;
        }
        unsigned payloadSize = 0;
        for (unsigned i = 0; i < segments; ++i) {
            payloadSize += byteAt(table + i);
        }
        if (!readTo(table + segments + payloadSize)) {
            break;
        }
        unsigned at = table + segments;
        for (unsigned i = 0; i < segments; ++i) {
            const unsigned length = byteAt(table + i);
            if (packetsEnded >= kHeaderPackets) {
                audio.append(data.mid(at, length));
            }
            at += length;
            packetsEnded += length < 255 ? 1 : 0;  // a segment shorter than 255 ends its packet
        }
        page = at;
        if (page >= kBlock) {
            data = data.mid(page);
            page = 0;
        }
    }
    return audio;
}

bool IsAscii(const std::string& text) {
    return std::all_of(text.begin(), text.end(), [](char c) { return static_cast<unsigned char>(c) < 0x80; });
}

// Which of the song's texts (beyond ASCII) came from tags that store Latin-1: the ID3v2 frame
// the text came from when it is marked Latin-1, else the ID3v1 tag. Vorbis comments are UTF-8.
int Latin1Texts(TagLib::File& file, const SongTags& tags) {
    auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file);
    if (mpeg == nullptr) {
        return 0;
    }
    const struct {
        const char* frame;
        LegacyText text;
        const std::string& value;
    } fields[] = {{"TIT2", kTitleText, tags.title},
                  {"TPE1", kArtistText, tags.artist},
                  {"TALB", kAlbumText, tags.album},
                  {"TCON", kGenreText, tags.genre},
                  {"COMM", kCommentText, tags.comment}};
    TagLib::ID3v2::Tag* v2 = mpeg->hasID3v2Tag() ? mpeg->ID3v2Tag() : nullptr;
    int texts = 0;
    for (const auto& field : fields) {
        if (IsAscii(field.value)) {
            continue;
        }
        const TagLib::ID3v2::FrameList frames =
            v2 != nullptr ? v2->frameListMap()[field.frame] : TagLib::ID3v2::FrameList();
        if (frames.isEmpty() || frames.front()->toString().isEmpty()) {
            texts |= mpeg->hasID3v1Tag() ? field.text : 0;
        } else if (const auto* text = dynamic_cast<const TagLib::ID3v2::TextIdentificationFrame*>(frames.front())) {
            texts |= text->textEncoding() == TagLib::String::Latin1 ? field.text : 0;
        } else if (const auto* comment = dynamic_cast<const TagLib::ID3v2::CommentsFrame*>(frames.front())) {
            texts |= comment->textEncoding() == TagLib::String::Latin1 ? field.text : 0;
        }
    }
    return texts;
}

// The audio key of a song: a 64-bit hash of the first 64 KiB of its audio (of an MP3
// the bytes from its first frame on, before its last one; of an OGG its audio packets), and its length in
// milliseconds. Tags live outside those bytes, so a changed tag keeps the key.
std::string AudioKey(TagLib::File& file) {
    constexpr unsigned kHashed = 64 * 1024;
    TagLib::ByteVector audio;
    if (auto* mpeg = dynamic_cast<TagLib::MPEG::File*>(&file)) {
        // Tags at the end of the file (ID3v1, APE) stay outside: before an APE tag (rare) the
        // audio ends at its last frame, else before the ID3v1 tag or the end.
        const long first = mpeg->firstFrameOffset();
        const long end = mpeg->hasAPETag() ? mpeg->lastFrameOffset() : mpeg->length() - (mpeg->hasID3v1Tag() ? 128 : 0);
        if (first < 0 || end <= first) {
            return {};
        }
        mpeg->seek(first);
        audio = mpeg->readBlock(static_cast<unsigned long>(std::min<long>(kHashed, end - first)));
    } else if (dynamic_cast<TagLib::Ogg::File*>(&file) != nullptr) {
        audio = OggAudio(file, kHashed);
    }
    if (audio.isEmpty()) {
        return {};
    }
    // FNV-1a over 8-byte words (and the bytes left over), mixed so that every bit counts.
    std::uint64_t hash = 14695981039346656037ULL;
    const auto mix = [&hash](std::uint64_t word) {
        hash = (hash ^ word) * 1099511628211ULL;
        hash ^= hash >> 32;
    };
    const char* bytes = std::as_const(audio).data();  // a const read never copies the vector
    const std::size_t words = audio.size() / sizeof(std::uint64_t);
    for (std::size_t i = 0; i < words; ++i) {
        std::uint64_t word = 0;
        std::memcpy(&word, bytes + i * sizeof word, sizeof word);
        mix(word);
    }
    for (std::size_t i = words * sizeof(std::uint64_t); i < audio.size(); ++i) {
        mix(static_cast<unsigned char>(bytes[i]));
    }
    char key[48];
    std::snprintf(key, sizeof key, "%016llx-%d", static_cast<unsigned long long>(hash),
                  file.audioProperties()->lengthInMilliseconds());
    return key;
}

// The tags of the song in `stream`; `whole`: also what other players wrote and the audio key,
// which the check of a write does not compare.
SongTags ReadTags(TagLib::IOStream* stream, SongFileType fileType, bool whole) {
    SongTags tags;
    std::unique_ptr<TagLib::File> file = OpenFile(stream, fileType);
    if (!IsSong(*file)) {
        return tags;
    }
    tags = TextsOf(*file->tag());
    tags.parsed = true;
    tags.seconds = file->audioProperties()->lengthInSeconds();
    if (whole) {
        ReadPlayerRatings(*file, tags);
        tags.audioKey = AudioKey(*file);
        tags.latin1Texts = Latin1Texts(*file, tags);
    }
    return tags;
}

// Songs up to this size are read whole, with one read, and their tags and audio key taken from
// memory: TagLib's many small reads then cost no system call.
constexpr off_t kReadInMemory = off_t{256} << 10;

// Songs up to this size are tagged in memory, with one read and one write; larger ones in the
// copy itself, so that the worker's memory limit holds.
constexpr off_t kTaggedInMemory = off_t{32} << 20;

// Whether the song on `stream` reads back as `expected`, the texts and, for a write of ratings,
// Cadenzo's own rating and play count.
bool ReadsBackAs(TagLib::IOStream* stream, SongFileType fileType, const SongTags& expected, TagWriteMode mode) {
    if (!SameTags(ReadTags(stream, fileType, false), expected)) {
        return false;
    }
    if (mode != TagWriteMode::RatingsOnly) {
        return true;
    }
    stream->seek(0);
    std::unique_ptr<TagLib::File> file = OpenFile(stream, fileType);
    return IsSong(*file) && OwnPlayerData(*file) == std::pair{expected.rating, expected.playCount};
}

// Fills the copy with the song `original` (of `size` bytes), the tags written into it and read
// back: a write that TagLib got wrong never replaces the song.
bool MakeTaggedCopy(const PreparedWrite& write, off_t size, SongFileType fileType, const SongTags& tags,
                    TagWriteMode mode) {
    if (size <= kTaggedInMemory) {
        TagLib::ByteVectorStream song(ReadWhole(write.original.Get(), static_cast<std::size_t>(size)));
        const std::optional<SongTags> expected =
            song.length() == size ? SaveInto(&song, fileType, tags, mode) : std::nullopt;
        song.seek(0);
        if (!expected || !ReadsBackAs(&song, fileType, *expected, mode)) {
            return false;
        }
        const TagLib::ByteVector& bytes = *song.data();
        return WriteAll(write.fd.Get(), std::string_view(bytes.data(), bytes.size()));
    }
    if (!CopyFile(write.original.Get(), write.fd.Get())) {
        return false;
    }
    std::optional<SongTags> expected;
    {
        // Closed before the read back, so that everything it wrote has reached the copy.
        TagLib::FileStream saved(write.copy.c_str(), false);
        if (saved.isOpen() && !saved.readOnly()) {
            expected = SaveInto(&saved, fileType, tags, mode);
        }
    }
    TagLib::FileStream copy(write.copy.c_str(), true);
    return expected && copy.isOpen() && ReadsBackAs(&copy, fileType, *expected, mode);
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

// Closes descriptors on a thread of its own. Closing the last descriptor of a song that a copy
// replaced frees its blocks, which on some file systems waits for the disk (a discard), and the
// writes that follow need not wait with it.
class CBackgroundCloser {
public:
    CBackgroundCloser() : m_thread([this] { Run(); }) {}
    ~CBackgroundCloser() {
        {
            const std::lock_guard lock(m_mutex);
            m_ending = true;
        }
        m_changed.notify_one();
        m_thread.join();
    }
    CBackgroundCloser(const CBackgroundCloser&) = delete;
    CBackgroundCloser& operator=(const CBackgroundCloser&) = delete;

    void Close(CFileDescriptor fd) {
        {
            const std::lock_guard lock(m_mutex);
            m_waiting.push_back(std::move(fd));
        }
        m_changed.notify_one();
    }

private:
    void Run() {
        std::unique_lock lock(m_mutex);
        for (;;) {
            m_changed.wait(lock, [this] { return m_ending || !m_waiting.empty(); });
            if (m_waiting.empty()) {
                return;
            }
            std::vector<CFileDescriptor> closing = std::exchange(m_waiting, {});
            lock.unlock();
            closing.clear();
            lock.lock();
        }
    }

    std::mutex m_mutex;
    std::condition_variable m_changed;
    std::vector<CFileDescriptor> m_waiting;
    bool m_ending = false;
    std::thread m_thread;  // last: it starts with every other member made
};

}  // namespace

SongTags ReadSongTags(const std::string& path, SongFileType fileType) {
    // Not blocking: a FIFO or a device, which would block or never end, is refused below.
    const CFileDescriptor song(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat info {};
    if (!song.IsOpen() || fstat(song.Get(), &info) != 0 || !S_ISREG(info.st_mode)) {
        return {};
    }
    if (info.st_size <= kReadInMemory) {
        TagLib::ByteVectorStream whole(ReadWhole(song.Get(), static_cast<std::size_t>(info.st_size)));
        return whole.length() == info.st_size ? ReadTags(&whole, fileType, true) : SongTags();
    }
    TagLib::FileStream stream(path.c_str(), true);
    return stream.isOpen() ? ReadTags(&stream, fileType, true) : SongTags();
}

std::optional<PreparedWrite> PrepareSongTags(const std::string& path, SongFileType fileType, const SongTags& tags,
                                             TagWriteMode mode) {
    PreparedWrite write;
    // Not blocking: a FIFO is refused below instead of waiting for a writer.
    write.original = CFileDescriptor(open(path.c_str(), O_RDONLY | O_NONBLOCK | O_CLOEXEC));
    struct stat original {};
    if (!write.original.IsOpen() || fstat(write.original.Get(), &original) != 0 || !S_ISREG(original.st_mode) ||
        access(path.c_str(), W_OK) != 0) {
        return std::nullopt;
    }
    const auto slash = path.find_last_of('/');
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
    const bool ok = flock(write.fd.Get(), LOCK_EX) == 0 && fchmod(write.fd.Get(), original.st_mode & 07777) == 0 &&
                    fstat(write.fd.Get(), &copyInfo) == 0 &&
                    MakeTaggedCopy(write, original.st_size, fileType, tags, mode);
    write.device = copyInfo.st_dev;
    if (!ok) {
        unlink(write.copy.c_str());
        return std::nullopt;
    }
    return write;
}

std::vector<bool> FinishSongTags(std::vector<std::optional<PreparedWrite>>& writes) {
    static CBackgroundCloser replacedSongs;
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
        std::optional<PreparedWrite>& write = writes[i];
        if (!write) {
            continue;
        }
        written[i] = synced[write->device] && rename(write->copy.c_str(), write->path.c_str()) == 0;
        replacedSongs.Close(std::move(write->original));
        if (written[i]) {
            folders.insert(write->folder);
        } else {
            unlink(write->copy.c_str());
        }
    }
    for (const std::string& folder : folders) {
        if (!SyncFile(folder)) {
            // The renames may not survive a crash: the songs of this folder are reported unwritten.
            for (std::size_t i = 0; i < writes.size(); ++i) {
                written[i] = written[i] && writes[i]->folder != folder;
            }
        }
        RemoveLeftovers(folder);
    }
    writes.clear();
    return written;
}

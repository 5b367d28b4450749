#pragma once

#include <string>
#include <vector>

// The kinds of song file, as Songs.FileType stores them.
enum SongFileType : int { kNotASongFile = 0, kMp3File = 1, kOggFile = 2 };

// The file type a request field names ("1", "2"); anything else is no song file.
SongFileType FileTypeFromField(const std::string& field);

// The tags of one song file as the tag worker reads them. Texts are UTF-8 with trailing
// white space cut off; Year and Track are decimal texts ("0" when absent).
struct SongTags {
    bool parsed = false;  // false: the file could not be opened or parsed
    std::string title;
    std::string artist;
    std::string album;
    std::string year = "0";
    std::string track = "0";
    std::string genre;
    std::string comment;
    int seconds = 0;
    int rating = 0;     // 0..7, from the ratings other players write into files; 0 for none
    int playCount = 0;  // the largest play count other players wrote; 0 for none
    // What the song's audio is, whatever its tags and path: a hash of the start of its audio
    // and its length. Empty when it could not be made.
    std::string audioKey;
    // The texts (LegacyText bits) read from tags that store Latin-1, ID3v1 and ID3v2 frames so
    // marked, that hold characters beyond ASCII: old writers put their own code page there.
    int latin1Texts = 0;
    bool stopped = false;  // the tag worker was stopped on the file (a limit, a crash): not read
};

// What a write changes in a song file: its seven texts; the texts but its own title and track;
// or only the rating and play count Cadenzo keeps in it (for other players to read).
enum class TagWriteMode : int { Texts = 0, KeepTitleAndTrack = 1, RatingsOnly = 2 };

// The texts of SongTags::latin1Texts.
enum LegacyText : int { kTitleText = 1, kArtistText = 2, kAlbumText = 4, kGenreText = 8, kCommentText = 16 };

// True for the name of the checked copy a tag write makes beside a song (".NAME.cadenzo-XXXXXX"),
// which a killed write can leave behind; also the form older versions gave it, with the song's
// extension after it.
bool IsTagWriteLeftover(const std::string& name);

// Messages between the program and its tag worker process: a 32-bit length, then fields, each
// a 32-bit length and its bytes.
//   read request:  "R", then file type and path of each file
//                  answer: one message per file, in order: "1" or "0", the seven texts, seconds,
//                  rating, play count, audio key, Latin-1 texts
//   write request: "W", file type, path, the TagWriteMode, texts, rating, play count
//                  answer: "1" or "0"
std::string EncodeFields(const std::vector<std::string>& fields);
bool DecodeFields(const std::string& payload, std::vector<std::string>& fields);

std::vector<std::string> TagFields(const SongTags& tags);  // the seven texts, in the order above

// The 0..7 user rating of a rating other players wrote: one scale for all, in sevenths of the
// whole, a value between two steps taking the higher one (0 stays unrated):
//   a fraction 0.0..1.0 (FMPS_RATING, FMPS_Rating; RATING when it is at most 1),
//   ID3v2 POPM 0..255 (its fraction of 255), RATING 2..5 as stars of 5, 6..100 as a percentage.
int RatingFromFraction(double fraction);
int RatingFromPopularimeter(int rating);
int RatingFromText(const std::string& text, bool fraction);
SongTags TagsFromFields(const std::vector<std::string>& fields, std::size_t first);

// Writes one message; false when the pipe is closed.
bool WriteMessage(int fd, const std::string& payload);

// Reads the messages that arrive on one descriptor, taking in whatever has arrived at once, so
// that a stream of small answers costs few system calls.
class CMessageReader {
public:
    // The next message, waiting at most `timeoutMs` for it (-1: for ever); false on timeout, end
    // of file or a malformed length.
    bool Read(int fd, std::string& payload, int timeoutMs);

private:
    std::string m_buffer;  // received and not yet taken, from m_start on
    std::size_t m_start = 0;
};

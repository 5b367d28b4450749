#include "import/tagprotocol.h"

#include <poll.h>
#include <unistd.h>

#include <algorithm>
#include <cctype>
#include <cerrno>
#include <chrono>
#include <cmath>
#include <cstdint>
#include <cstdlib>
#include <cstring>
#include <string_view>

#include "platform/filedescriptor.h"

namespace {

constexpr std::uint32_t kMaxMessage = 64u << 20;

void AppendLength(std::string& out, std::size_t length) {
    const auto value = static_cast<std::uint32_t>(length);
    out.append(reinterpret_cast<const char*>(&value), sizeof value);
}

bool ReadLength(const std::string& in, std::size_t& pos, std::uint32_t& length) {
    if (in.size() - pos < sizeof length) {
        return false;
    }
    std::memcpy(&length, in.data() + pos, sizeof length);
    pos += sizeof length;
    return true;
}

// Reads between 1 and `size` bytes before `deadline` (no deadline when timeoutMs is -1): how
// many, or 0 on timeout, end of file or error.
std::size_t ReadSome(int fd, char* buffer, std::size_t size, int timeoutMs,
                     std::chrono::steady_clock::time_point deadline) {
    for (;;) {
        if (timeoutMs >= 0) {
            const auto left =
                std::chrono::duration_cast<std::chrono::milliseconds>(deadline - std::chrono::steady_clock::now());
            pollfd waiting{fd, POLLIN, 0};
            const int ready = poll(&waiting, 1, static_cast<int>(std::max<long long>(left.count(), 0)));
            if (ready == 0 || (ready < 0 && errno != EINTR)) {
                return 0;
            }
            if (ready < 0) {
                continue;
            }
        }
        const ssize_t got = read(fd, buffer, size);
        if (got < 0 && errno == EINTR) {
            continue;
        }
        return got > 0 ? static_cast<std::size_t>(got) : 0;
    }
}

}  // namespace

std::string EncodeFields(const std::vector<std::string>& fields) {
    std::string payload;
    for (const std::string& field : fields) {
        AppendLength(payload, field.size());
        payload += field;
    }
    return payload;
}

bool DecodeFields(const std::string& payload, std::vector<std::string>& fields) {
    fields.clear();
    std::size_t pos = 0;
    while (pos < payload.size()) {
        std::uint32_t length = 0;
        if (!ReadLength(payload, pos, length) || payload.size() - pos < length) {
            return false;
        }
        fields.push_back(payload.substr(pos, length));
        pos += length;
    }
    return true;
}

std::vector<std::string> TagFields(const SongTags& tags) {
    return {tags.title, tags.artist, tags.album, tags.year, tags.track, tags.genre, tags.comment};
}

SongTags TagsFromFields(const std::vector<std::string>& fields, std::size_t first) {
    SongTags tags;
    if (fields.size() < first + 7) {
        return tags;
    }
    tags.title = fields[first];
    tags.artist = fields[first + 1];
    tags.album = fields[first + 2];
    tags.year = fields[first + 3];
    tags.track = fields[first + 4];
    tags.genre = fields[first + 5];
    tags.comment = fields[first + 6];
    return tags;
}

bool IsTagWriteLeftover(const std::string& name) {
    constexpr std::string_view kMark = ".cadenzo-";
    constexpr std::size_t kRandomPart = 6;
    const std::size_t mark = name.rfind(kMark);
    if (name.empty() || name[0] != '.' || mark == std::string::npos || mark == 0) {
        return false;
    }
    const std::string_view rest = std::string_view(name).substr(mark + kMark.size());
    if (rest.size() < kRandomPart ||
        !std::all_of(rest.begin(), rest.begin() + kRandomPart, [](unsigned char c) { return std::isalnum(c); })) {
        return false;
    }
    const std::string_view extension = rest.substr(kRandomPart);
    return extension.empty() || extension == ".mp3" || extension == ".ogg";
}

bool WriteMessage(int fd, const std::string& payload) {
    std::string message;
    AppendLength(message, payload.size());
    message += payload;
    return WriteAll(fd, message);
}

bool CMessageReader::Read(int fd, std::string& payload, int timeoutMs) {
    const auto deadline = std::chrono::steady_clock::now() + std::chrono::milliseconds(std::max(timeoutMs, 0));
    for (;;) {
        std::uint32_t length = 0;
        const std::size_t held = m_buffer.size() - m_start;
        if (held >= sizeof length) {
            std::memcpy(&length, m_buffer.data() + m_start, sizeof length);
            if (length > kMaxMessage) {
                return false;
            }
            if (held >= sizeof length + length) {
                payload.assign(m_buffer, m_start + sizeof length, length);
                m_start += sizeof length + length;
                return true;
            }
        }
        if (m_start > 0) {
            m_buffer.erase(0, m_start);
            m_start = 0;
        }
        // Whatever has arrived, at least the rest of this message's length field.
        constexpr std::size_t kChunk = 1 << 16;
        const std::size_t wanted = std::max(kChunk, sizeof length + length - held);
        const std::size_t before = m_buffer.size();
        m_buffer.resize(before + wanted);
        const std::size_t got = ReadSome(fd, m_buffer.data() + before, wanted, timeoutMs, deadline);
        m_buffer.resize(before + got);
        if (got == 0) {
            return false;
        }
    }
}

SongFileType FileTypeFromField(const std::string& field) {
    if (field == "1") {
        return kMp3File;
    }
    return field == "2" ? kOggFile : kNotASongFile;
}

int RatingFromFraction(double fraction) {
    if (!(fraction > 0.0)) {
        return 0;
    }
    constexpr int kSteps = 7;
    return std::min(kSteps, static_cast<int>(std::ceil(fraction * kSteps - 1e-9)));
}

int RatingFromPopularimeter(int rating) {
    return RatingFromFraction(std::clamp(rating, 0, 255) / 255.0);
}

int RatingFromText(const std::string& text, bool fraction) {
    char* end = nullptr;
    const double value = std::strtod(text.c_str(), &end);
    if (end == text.c_str() || !std::isfinite(value) || value <= 0.0) {
        return 0;
    }
    if (fraction || value <= 1.0) {
        return RatingFromFraction(value);
    }
    return RatingFromFraction(value <= 5.0 ? value / 5.0 : std::min(value, 100.0) / 100.0);
}

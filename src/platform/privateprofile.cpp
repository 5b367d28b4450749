#include "platform/privateprofile.h"

#include <algorithm>
#include <optional>
#include <string_view>

#include "platform/asciitext.h"
#include "platform/atomicfile.h"
#include "platform/fileaccess.h"

namespace {

constexpr std::string_view kByteOrderMark = "\xEF\xBB\xBF";
constexpr std::string_view kBlanks = " \t";

std::string_view Trim(std::string_view text) {
    const auto first = text.find_first_not_of(kBlanks);
    if (first == std::string_view::npos) {
        return {};
    }
    const auto last = text.find_last_not_of(kBlanks);
    return text.substr(first, last - first + 1);
}

// One line of the file: [begin, end) without its line end; `next` is where the next line starts.
struct Line {
    std::size_t begin;
    std::size_t end;
    std::size_t next;
};

// Walks the lines of an INI text and finds where a key is, or where it would go.
class CProfileText {
public:
    explicit CProfileText(std::string text) : m_text(std::move(text)) {
        if (std::string_view(m_text).starts_with(kByteOrderMark)) {
            m_start = kByteOrderMark.size();
        }
        const auto firstEnd = m_text.find('\n', m_start);
        m_lineEnd =
            (firstEnd != std::string::npos && firstEnd > m_start && m_text[firstEnd - 1] == '\r') ? "\r\n" : "\n";
    }

    struct Place {
        std::optional<Line> keyLine;        // the line of the key, when present
        std::optional<std::size_t> append;  // end of the section's last non-blank line
    };

    Place Find(std::string_view section, std::string_view key) const {
        Place place;
        enum { kBefore, kInFirst, kAfterFirst } first = kBefore;
        bool inSection = false;
        for (std::size_t pos = m_start; pos < m_text.size();) {
            const Line line = LineAt(pos);
            pos = line.next;
            const std::string_view content = Trim(View(line));
            if (content.starts_with('[')) {
                inSection = EqualsIgnoringAsciiCase(SectionName(content), section);
                if (inSection && first == kBefore) {
                    first = kInFirst;
                    place.append = line.end;
                } else if (!inSection && first == kInFirst) {
                    first = kAfterFirst;
                }
                continue;
            }
            if (!inSection || content.empty()) {
                continue;
            }
            if (first == kInFirst) {
                place.append = line.end;
            }
            const auto equals = content.find('=');
            if (!content.starts_with(';') && !content.starts_with('#') && equals != std::string_view::npos &&
                EqualsIgnoringAsciiCase(Trim(content.substr(0, equals)), key)) {
                place.keyLine = line;
                return place;
            }
        }
        return place;
    }

    std::optional<std::string> Value(std::string_view section, std::string_view key) const {
        const Place place = Find(section, key);
        if (!place.keyLine) {
            return std::nullopt;
        }
        const std::string_view line = View(*place.keyLine);
        return std::string(Trim(line.substr(line.find('=') + 1)));
    }

    std::string WithValue(std::string_view section, std::string_view key, std::string_view value) const {
        const Place place = Find(section, key);
        std::string result = m_text;
        const std::string entry = std::string(key) + "=" + std::string(value);
        if (place.keyLine) {
            const std::string_view line = View(*place.keyLine);
            const std::size_t keyStart = place.keyLine->begin + line.find_first_not_of(kBlanks);
            result.replace(keyStart, place.keyLine->end - keyStart, entry);
        } else if (place.append) {
            result.insert(*place.append, m_lineEnd + entry);
        } else {
            if (result.size() > m_start && result.back() != '\n') {
                result += m_lineEnd;
            }
            result += "[" + std::string(section) + "]" + m_lineEnd + entry + m_lineEnd;
        }
        return result;
    }

private:
    Line LineAt(std::size_t pos) const {
        const auto newline = m_text.find('\n', pos);
        if (newline == std::string::npos) {
            return {pos, m_text.size(), m_text.size()};
        }
        const std::size_t end = (newline > pos && m_text[newline - 1] == '\r') ? newline - 1 : newline;
        return {pos, end, newline + 1};
    }

    std::string_view View(const Line& line) const {
        return std::string_view(m_text).substr(line.begin, line.end - line.begin);
    }

    static std::string_view SectionName(std::string_view header) {
        const auto close = header.find(']');
        return Trim(header.substr(1, close == std::string_view::npos ? std::string_view::npos : close - 1));
    }

    std::string m_text;
    std::size_t m_start = 0;
    std::string m_lineEnd;
};

// Cuts `value` to at most `limit` bytes without splitting a UTF-8 sequence.
void CutToBytes(std::string& value, std::size_t limit) {
    if (value.size() <= limit) {
        return;
    }
    std::size_t cut = limit;
    while (cut > 0 && (static_cast<unsigned char>(value[cut]) & 0xC0) == 0x80) {
        --cut;
    }
    value.resize(cut);
}

bool BreaksLines(std::string_view text) {
    return text.find_first_of(std::string_view("\r\n\0", 3)) != std::string_view::npos;
}

}  // namespace

std::string ReadProfileString(const std::string& section, const std::string& key, const std::string& fallback,
                              std::size_t bufferSize, const std::string& path) {
    std::string text;
    if (bufferSize == 0 || !ReadWholeFile(path, text)) {
        return fallback;
    }
    std::optional<std::string> value = CProfileText(std::move(text)).Value(section, key);
    if (!value) {
        return fallback;
    }
    value->resize(std::min(value->size(), value->find('\0')));
    CutToBytes(*value, bufferSize - 1);
    return *value;
}

bool WriteProfileString(const std::string& section, const std::string& key, const std::string& value,
                        const std::string& path) {
    return WriteProfileStrings(section, {{key, value}}, path);
}

bool WriteProfileStrings(const std::string& section, const std::vector<std::pair<std::string, std::string>>& entries,
                         const std::string& path) {
    if (BreaksLines(section) || section.find(']') != std::string::npos) {
        return false;
    }
    for (const auto& [key, value] : entries) {
        if (BreaksLines(key) || BreaksLines(value) || Trim(key).empty() || key.find('=') != std::string::npos) {
            return false;
        }
    }
    std::string text;
    if (!ReadWholeFile(path, text) && FileExists(path)) {
        return false;
    }
    for (const auto& [key, value] : entries) {
        text = CProfileText(std::move(text)).WithValue(section, key, value);
    }
    return WriteFileAtomically(path, text);
}

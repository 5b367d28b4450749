#include "import/songfile.h"

#include <fmt/printf.h>

#include "import/tagworkers.h"
#include "platform/asciitext.h"

namespace {

// The text with trailing white space and then trailing `c`s cut off.
std::string CutTrailing(const std::string& text, char c) {
    std::string cut = text;
    cut.erase(cut.find_last_not_of(" \t\r\n\f\v") + 1);
    cut.erase(cut.find_last_not_of(c) + 1);
    return cut;
}

}  // namespace

std::string TextAfterLast(const std::string& text, char c) {
    const std::string cut = CutTrailing(text, c);
    const auto last = cut.rfind(c);
    return last == std::string::npos ? std::string() : cut.substr(last + 1);
}

std::string TextBeforeLast(const std::string& text, char c) {
    const std::string cut = CutTrailing(text, c);
    const auto last = cut.rfind(c);
    return last == std::string::npos ? std::string() : cut.substr(0, last);
}

std::string FileNamePart(const std::string& path) {
    return TextAfterLast(path, '/');
}

std::string DirectoryPart(const std::string& path) {
    return TextBeforeLast(path, '/');
}

std::string FormatLength(int seconds) {
    const int hours = seconds / 3600;
    const int rest = seconds % 3600;
    return hours > 0 ? fmt::sprintf("%d:%02d:%02d", hours, rest / 60, rest % 60)
                     : fmt::sprintf("%d:%02d", rest / 60, rest % 60);
}

SongFileType FileTypeFromPath(const std::string& path) {
    const std::string extension = TextAfterLast(path, '.');
    if (EqualsIgnoringAsciiCase(extension, "MP3")) {
        return kMp3File;
    }
    return EqualsIgnoringAsciiCase(extension, "OGG") ? kOggFile : kNotASongFile;
}

void CSongFile::Assign(const std::string& path, const SongTags& tags) {
    m_path = path;
    m_fileType = FileTypeFromPath(path);
    if (m_fileType == kNotASongFile) {
        m_tags = SongTags{false, "", "", "", "", "", "", "", 0, 0, 0, "", false};
        m_length.clear();
        return;
    }
    m_tags = tags;
    m_length = FormatLength(m_tags.seconds);
}

void CSongFile::LoadFromPath(const std::string& path, CTagWorkers& workers) {
    const SongFileType type = FileTypeFromPath(path);
    Assign(path, type != kNotASongFile ? workers.Read({{path, type}}).front() : SongTags());
}

bool CSongFile::WriteTags(CTagWorkers& workers) const {
    return m_fileType != kNotASongFile && workers.Write(m_path, m_fileType, m_tags);
}

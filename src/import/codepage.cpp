#include "import/codepage.h"

#include <unicode/ucsdet.h>
#include <unicode/unistr.h>

#include <array>
#include <memory>
#include <optional>

namespace {

// Below this confidence (0..100) the detector's answer is a guess. A folder of five short Russian
// titles in cp1251 gets 14 to 24 (the tests' samples), Polish and Czech ones in cp1250 36 to 53,
// Japanese ones in Shift-JIS 100; Western European texts come out as Latin-1 (or one of its
// near twins) anyway.
constexpr int kSureConfidence = 10;

using TextField = std::string SongTags::*;
constexpr std::array<std::pair<LegacyText, TextField>, 5> kFields = {{{kTitleText, &SongTags::title},
                                                                      {kArtistText, &SongTags::artist},
                                                                      {kAlbumText, &SongTags::album},
                                                                      {kGenreText, &SongTags::genre},
                                                                      {kCommentText, &SongTags::comment}}};

// The bytes a Latin-1 tag held for `text`; nothing when a character is beyond Latin-1.
std::optional<std::string> Latin1Bytes(const std::string& text) {
    const icu::UnicodeString unicode = icu::UnicodeString::fromUTF8(text);
    std::string bytes;
    for (int32_t i = 0; i < unicode.length(); ++i) {
        const char16_t unit = unicode.charAt(i);
        if (unit > 0xFF) {
            return std::nullopt;
        }
        bytes += static_cast<char>(unit);
    }
    return bytes;
}

// Latin-1 and its twins that differ in a few letters (the detector takes "naïve" for Turkish),
// and the Unicode forms, which old tags that say Latin-1 never hold.
bool KeepsTheText(const std::string& codePage) {
    return codePage == "ISO-8859-1" || codePage == "ISO-8859-9" || codePage == "ISO-8859-15" ||
           codePage.starts_with("UTF");
}

}  // namespace

std::string DetectLegacyCodePage(const std::string& bytes) {
    UErrorCode status = U_ZERO_ERROR;
    const std::unique_ptr<UCharsetDetector, void (*)(UCharsetDetector*)> detector(ucsdet_open(&status), ucsdet_close);
    if (U_FAILURE(status)) {
        return {};
    }
    ucsdet_setText(detector.get(), bytes.data(), static_cast<int32_t>(bytes.size()), &status);
    const UCharsetMatch* match = ucsdet_detect(detector.get(), &status);
    if (U_FAILURE(status) || match == nullptr || ucsdet_getConfidence(match, &status) < kSureConfidence) {
        return {};
    }
    const char* name = ucsdet_getName(match, &status);
    return U_FAILURE(status) || name == nullptr || KeepsTheText(name) ? std::string() : std::string(name);
}

void RecodeLegacyTexts(std::vector<SongTags>& folder, const std::string& setting) {
    if (setting == "latin1") {
        return;
    }
    std::string all;
    for (const SongTags& song : folder) {
        for (const auto& [text, field] : kFields) {
            if ((song.latin1Texts & text) != 0) {
                all += Latin1Bytes(song.*field).value_or("") + "\n";
            }
        }
    }
    if (all.empty()) {
        return;
    }
    const std::string codePage = setting.empty() ? DetectLegacyCodePage(all) : setting;
    if (codePage.empty()) {
        return;
    }
    for (SongTags& song : folder) {
        for (const auto& [text, field] : kFields) {
            const std::optional<std::string> bytes =
                (song.latin1Texts & text) != 0 ? Latin1Bytes(song.*field) : std::nullopt;
            if (!bytes) {
                continue;
            }
            const icu::UnicodeString recoded(bytes->data(), static_cast<int32_t>(bytes->size()), codePage.c_str());
            if (!recoded.isBogus()) {
                song.*field = "";
                recoded.toUTF8String(song.*field);
            }
        }
    }
}

#include "widgets/displaytext.h"

#include <QLineEdit>

#include <algorithm>
#include <array>
#include <cstdint>
#include <numeric>

namespace {

// Windows-1252 at 0x80..0x9F; the five bytes it leaves undefined read as their C1 control.
constexpr std::array<char16_t, 32> kWindows1252High = {0x20AC, 0x0081, 0x201A, 0x0192, 0x201E, 0x2026, 0x2020, 0x2021,
                                                       0x02C6, 0x2030, 0x0160, 0x2039, 0x0152, 0x008D, 0x017D, 0x008F,
                                                       0x0090, 0x2018, 0x2019, 0x201C, 0x201D, 0x2022, 0x2013, 0x2014,
                                                       0x02DC, 0x2122, 0x0161, 0x203A, 0x0153, 0x009D, 0x017E, 0x0178};

// The length of the UTF-8 sequence that starts at `i`, or 0 when it is not valid.
std::size_t SequenceLength(const std::string& bytes, std::size_t i) {
    const auto byte = [&](std::size_t at) { return static_cast<std::uint8_t>(bytes[at]); };
    const std::uint8_t lead = byte(i);
    if (lead < 0x80) {
        return 1;
    }
    std::size_t length = 0;
    std::uint32_t minimum = 0;
    std::uint32_t code = 0;
    if ((lead & 0xE0) == 0xC0) {
        length = 2, minimum = 0x80, code = lead & 0x1Fu;
    } else if ((lead & 0xF0) == 0xE0) {
        length = 3, minimum = 0x800, code = lead & 0x0Fu;
    } else if ((lead & 0xF8) == 0xF0) {
        length = 4, minimum = 0x10000, code = lead & 0x07u;
    } else {
        return 0;
    }
    if (i + length > bytes.size()) {
        return 0;
    }
    for (std::size_t k = 1; k < length; ++k) {
        if ((byte(i + k) & 0xC0) != 0x80) {
            return 0;
        }
        code = (code << 6) | (byte(i + k) & 0x3Fu);
    }
    const bool surrogate = code >= 0xD800 && code <= 0xDFFF;
    return code >= minimum && code <= 0x10FFFF && !surrogate ? length : 0;
}

}  // namespace

bool IsValidUtf8(const std::string& bytes) {
    for (std::size_t i = 0; i < bytes.size();) {
        const std::size_t length = SequenceLength(bytes, i);
        if (length == 0) {
            return false;
        }
        i += length;
    }
    return true;
}

QString DisplayText(const std::string& bytes) {
    if (IsValidUtf8(bytes)) {
        return QString::fromUtf8(bytes.data(), static_cast<qsizetype>(bytes.size()));
    }
    QString text;
    text.reserve(static_cast<qsizetype>(bytes.size()));
    for (const char c : bytes) {
        const auto byte = static_cast<std::uint8_t>(c);
        text.append(byte >= 0x80 && byte < 0xA0 ? QChar(kWindows1252High[byte - 0x80]) : QChar(char16_t{byte}));
    }
    return text;
}

std::vector<std::size_t> OrderIgnoringCase(const std::vector<std::string>& texts) {
    std::vector<QString> shown;
    shown.reserve(texts.size());
    for (const std::string& text : texts) {
        shown.push_back(DisplayText(text));
    }
    std::vector<std::size_t> order(texts.size());
    std::iota(order.begin(), order.end(), 0);
    std::stable_sort(order.begin(), order.end(),
                     [&](std::size_t a, std::size_t b) { return shown[a].compare(shown[b], Qt::CaseInsensitive) < 0; });
    return order;
}

std::string LineEditBytes(const QLineEdit* edit, const std::string& initial) {
    // A text set without typing (through the accessibility bus, an input method) counts too.
    const bool changed = edit->isModified() || edit->text() != DisplayText(initial);
    return changed ? edit->text().toStdString() : initial;
}

QByteArray ByteArray(const std::string& bytes) {
    return {bytes.data(), static_cast<qsizetype>(bytes.size())};
}

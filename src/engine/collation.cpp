#include "engine/collation.h"

#include <unicode/uchar.h>
#include <unicode/utf8.h>

#include <cstdint>

namespace {

// The next folded code point of `text` at `pos`, or 0x110000 + the byte for an invalid byte.
std::int32_t NextFolded(std::string_view text, std::int32_t& pos) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    const std::int32_t start = pos;
    UChar32 c = 0;
    U8_NEXT(bytes, pos, length, c);
    if (c < 0) {
        pos = start + 1;
        return 0x110000 + bytes[start];
    }
    return static_cast<std::int32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
}

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

}  // namespace

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    std::size_t i = 0;
    while (i < a.size() && i < b.size() && static_cast<unsigned char>(a[i]) < 0x80 &&
           static_cast<unsigned char>(b[i]) < 0x80) {
        const char x = AsciiLower(a[i]);
        const char y = AsciiLower(b[i]);
        if (x != y) {
            return x < y ? -1 : 1;
        }
        ++i;
    }
    auto pa = static_cast<std::int32_t>(i);
    auto pb = static_cast<std::int32_t>(i);
    while (pa < static_cast<std::int32_t>(a.size()) && pb < static_cast<std::int32_t>(b.size())) {
        const std::int32_t x = NextFolded(a, pa);
        const std::int32_t y = NextFolded(b, pb);
        if (x != y) {
            return x < y ? -1 : 1;
        }
    }
    const bool aLeft = pa < static_cast<std::int32_t>(a.size());
    const bool bLeft = pb < static_cast<std::int32_t>(b.size());
    return aLeft == bLeft ? 0 : (aLeft ? 1 : -1);
}

#include "engine/collation.h"

#include <unicode/uchar.h>
#include <unicode/unorm2.h>
#include <unicode/utf8.h>

#include <algorithm>
#include <cstdint>
#include <cstring>

namespace {

char AsciiLower(char c) {
    return (c >= 'A' && c <= 'Z') ? static_cast<char>(c - 'A' + 'a') : c;
}

// The next folded code point of `text` at `pos`, or 0x110000 + the byte for an invalid byte.
std::int32_t NextFolded(std::string_view text, std::int32_t& pos) {
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    const std::int32_t start = pos;
    if (bytes[start] < 0x80) {
        ++pos;
        return static_cast<unsigned char>(AsciiLower(static_cast<char>(bytes[start])));
    }
    UChar32 c = 0;
    U8_NEXT(bytes, pos, length, c);
    if (c < 0) {
        pos = start + 1;
        return 0x110000 + bytes[start];
    }
    return static_cast<std::int32_t>(u_foldCase(c, U_FOLD_CASE_DEFAULT));
}

bool IsContinuationAt(std::string_view text, std::size_t at) {
    return at < text.size() && (static_cast<unsigned char>(text[at]) & 0xC0) == 0x80;
}

// Where `a` and `b` first differ, moved back to the start of the character there. Equal bytes
// fold equally, so a comparison may begin there: both texts are read alike up to that point.
std::size_t CommonStart(std::string_view a, std::string_view b) {
    const std::size_t shorter = std::min(a.size(), b.size());
    std::size_t at = 0;
    // Large blocks first, then smaller ones where a large one differs: long equal names (common
    // in a sort) take a few calls. The last block's bytes are compared one by one in place.
    for (const std::size_t block : {std::size_t{4096}, std::size_t{64}}) {
        while (at + block <= shorter && std::memcmp(a.data() + at, b.data() + at, block) == 0) {
            at += block;
        }
    }
    while (at < shorter && a[at] == b[at]) {
        ++at;
    }
    while (at > 0 && (IsContinuationAt(a, at) || IsContinuationAt(b, at))) {
        --at;
    }
    return at;
}

}  // namespace

std::string SearchFolded(std::string_view text) {
    std::string folded;
    folded.reserve(text.size());
    const auto* bytes = reinterpret_cast<const std::uint8_t*>(text.data());
    const auto length = static_cast<std::int32_t>(text.size());
    UErrorCode status = U_ZERO_ERROR;
    const UNormalizer2* decomposer = unorm2_getNFDInstance(&status);
    const bool decomposes = U_SUCCESS(status) && decomposer != nullptr;
    const auto append = [&folded](UChar32 c) {
        char units[U8_MAX_LENGTH];
        std::int32_t size = 0;
        U8_APPEND_UNSAFE(units, size, u_foldCase(c, U_FOLD_CASE_DEFAULT));
        folded.append(units, static_cast<std::size_t>(size));
    };
    for (std::int32_t pos = 0; pos < length;) {
        if (bytes[pos] < 0x80) {
            folded += AsciiLower(static_cast<char>(bytes[pos++]));
            continue;
        }
        const std::int32_t start = pos;
        UChar32 c = 0;
        U8_NEXT(bytes, pos, length, c);
        if (c < 0) {
            folded += static_cast<char>(bytes[start]);
            pos = start + 1;
            continue;
        }
        UChar parts[16];
        status = U_ZERO_ERROR;
        const std::int32_t count = decomposes ? unorm2_getDecomposition(decomposer, c, parts, 16, &status) : -1;
        if (count < 0 || U_FAILURE(status)) {
            append(c);
            continue;
        }
        for (std::int32_t i = 0; i < count;) {
            UChar32 part = 0;
            U16_NEXT(parts, i, count, part);
            if (u_charType(part) != U_NON_SPACING_MARK) {
                append(part);
            }
        }
    }
    return folded;
}

int CompareIgnoringCase(std::string_view a, std::string_view b) {
    auto pa = static_cast<std::int32_t>(CommonStart(a, b));
    auto pb = pa;
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

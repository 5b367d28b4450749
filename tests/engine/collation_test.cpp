#include "engine/collation.h"

#include <gtest/gtest.h>

namespace {

TEST(CollationTest, IgnoresLetterCaseAcrossUnicode) {
    EXPECT_EQ(CompareIgnoringCase("the beatles", "The Beatles"), 0);
    EXPECT_EQ(CompareIgnoringCase("ÉTÉ", "été"), 0);
    EXPECT_EQ(CompareIgnoringCase("ДДТ", "ддт"), 0);
    EXPECT_EQ(CompareIgnoringCase("ΣΊΣΥΦΟΣ", "σίσυφοσ"), 0);
    EXPECT_EQ(CompareIgnoringCase("椎名林檎", "椎名林檎"), 0);
    EXPECT_NE(CompareIgnoringCase("Beatles", "Beatle"), 0);
    EXPECT_NE(CompareIgnoringCase("e", "é"), 0);
}

TEST(CollationTest, IsAnOrderConsistentWithEquality) {
    EXPECT_LT(CompareIgnoringCase("abc", "ABD"), 0);
    EXPECT_GT(CompareIgnoringCase("ABD", "abc"), 0);
    EXPECT_LT(CompareIgnoringCase("ab", "ABC"), 0);
    EXPECT_LT(CompareIgnoringCase("Zebra", "émile"), 0);
}

TEST(CollationTest, InvalidBytesCompareByValue) {
    const std::string a = "caf\xE9";  // Latin-1, not UTF-8
    const std::string b = "CAF\xE9";
    const std::string c = "caf\xE8";
    EXPECT_EQ(CompareIgnoringCase(a, b), 0);
    EXPECT_NE(CompareIgnoringCase(a, c), 0);
    EXPECT_EQ(-CompareIgnoringCase(a, c), CompareIgnoringCase(c, a));
    EXPECT_NE(CompareIgnoringCase("\xE2\x82", "\xE2\x83"), 0) << "truncated sequences differ by their bytes";
}

TEST(CollationTest, ALongCommonStartIsReadOnceAndKeepsTheOrder) {
    std::string start;
    for (int letter = 0; letter < 100000; ++letter) {
        start += "Ж";
    }
    EXPECT_EQ(CompareIgnoringCase(start + "Ж", start + "ж"), 0);
    EXPECT_LT(CompareIgnoringCase(start + "Ж", start + "З"), 0) << "differing in a letter's second byte";
    EXPECT_GT(CompareIgnoringCase(start + "з", start + "Ж"), 0);
    EXPECT_GT(CompareIgnoringCase(start + "\xD0", start + "\xD0\x96"), 0) << "a cut letter sorts as its bytes do";
}

}  // namespace

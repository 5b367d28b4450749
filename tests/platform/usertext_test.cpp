// The texts users read, with a translation set.

#include "platform/usertext.h"

#include <gtest/gtest.h>

#include <string>

namespace {

TEST(UserTextTest, ATranslationThatWouldBreakItsMessageIsNotUsed) {
    CUserText::SetTranslation([](const char* english) -> std::string {
        const std::string text = english;
        if (text == "%d songs of '%s'") {
            return "'%2$s': %1$d Lieder";  // reordered: fine
        }
        if (text == "Delete '%s'?") {
            return "Löschen?";  // a placeholder dropped
        }
        return text == "{} folders" ? "{} Ordner %d" : "";  // one added
    });
    EXPECT_EQ(std::string(CUserText::tr("%d songs of '%s'")), "'%2$s': %1$d Lieder");
    EXPECT_EQ(std::string(CUserText::tr("Delete '%s'?")), "Delete '%s'?");
    EXPECT_EQ(std::string(CUserText::tr("{} folders")), "{} folders");
    EXPECT_EQ(std::string(CUserText::tr("Untranslated")), "Untranslated");
    CUserText::SetTranslation({});
}

}  // namespace

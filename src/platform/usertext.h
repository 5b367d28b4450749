#pragma once

#include <functional>
#include <string>

// The texts users read pass through CUserText::tr, where Qt's lupdate finds them for the
// translation template. The window sets the translation; without one, for a text it does not
// translate, or when the translation's placeholders (%s, {}) are not the English text's, tr gives
// the English text back. Texts are string literals: their translations are
// kept for the program's life, so the pointer tr returns stays valid.
class CUserText {
public:
    static const char* tr(const char* english);
    // Returns the translation of `english`: the English text itself, or empty, when there is none.
    using Translation = std::function<std::string(const char* english)>;
    // Set once, at start, before any text is read.
    static void SetTranslation(Translation translation);
};

// Marks a text kept in a table for the translation template; CUserText::tr translates it where it
// is shown. lupdate reads it as QT_TRANSLATE_NOOP, whose first argument is the context.
#define USER_TEXT_NOOP(context, text) text

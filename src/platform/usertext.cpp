#include "platform/usertext.h"

#include <algorithm>
#include <atomic>
#include <mutex>
#include <string_view>
#include <unordered_map>

namespace {

struct Translated {
    std::mutex mutex;
    CUserText::Translation translation;
    std::unordered_map<const char*, std::string> texts;  // by the English literal's address
    std::atomic<bool> set{false};
};

Translated& State() {
    static Translated state;
    return state;
}

// The placeholders of a text as printf and fmt read them (the conversion of each "%...x", a "{}"
// for each "{...}"), sorted: a translation may reorder them, but not add, drop or change one.
std::string Placeholders(std::string_view text) {
    std::string found;
    for (std::size_t i = 0; i < text.size(); ++i) {
        if (text[i] == '%') {
            const std::size_t conversion = text.find_first_not_of("0123456789$-+ #.*lhz", i + 1);
            if (conversion == std::string_view::npos) {
                break;
            }
            if (text[conversion] != '%') {
                found += text[conversion];
            }
            i = conversion;
        } else if (text[i] == '{') {
            found += "{}";
            i = std::min(text.find('}', i), text.size());
        }
    }
    std::sort(found.begin(), found.end());
    return found;
}

}  // namespace

const char* CUserText::tr(const char* english) {
    Translated& state = State();
    if (!state.set.load(std::memory_order_acquire)) {
        return english;
    }
    const std::lock_guard lock(state.mutex);
    auto [entry, added] = state.texts.try_emplace(english);
    if (added) {
        entry->second = state.translation(english);
        if (Placeholders(entry->second) != Placeholders(english)) {
            entry->second.clear();  // a broken translation would break the message it fills
        }
    }
    return entry->second.empty() ? english : entry->second.c_str();
}

void CUserText::SetTranslation(Translation translation) {
    Translated& state = State();
    const std::lock_guard lock(state.mutex);
    state.translation = std::move(translation);
    state.set.store(static_cast<bool>(state.translation), std::memory_order_release);
}

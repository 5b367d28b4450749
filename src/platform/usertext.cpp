#include "platform/usertext.h"

#include <atomic>
#include <mutex>
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
    }
    return entry->second.empty() ? english : entry->second.c_str();
}

void CUserText::SetTranslation(Translation translation) {
    Translated& state = State();
    const std::lock_guard lock(state.mutex);
    state.translation = std::move(translation);
    state.set.store(static_cast<bool>(state.translation), std::memory_order_release);
}

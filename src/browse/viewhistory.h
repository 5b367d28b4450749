#pragma once

#include <cstddef>
#include <deque>

#include "browse/displaymode.h"

// The views the user went through, at most 20; the newest is the current view. While it is
// empty the current view is "Artists w/Albums" (0/1).
class CViewHistory {
public:
    static constexpr std::size_t kDepth = 20;

    // Puts `view` on top, unless it equals the top; the oldest goes when 20 are held.
    void Push(const DisplayMode& view);
    // Removes the top, if any.
    void Pop();
    DisplayMode Top() const { return m_views.empty() ? DisplayMode{} : m_views.back(); }
    // The view below the top; only when Count() is 2 or more.
    const DisplayMode& BelowTop() const { return m_views[m_views.size() - 2]; }
    std::size_t Count() const { return m_views.size(); }

private:
    std::deque<DisplayMode> m_views;  // oldest first
};

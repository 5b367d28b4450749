#include "browse/viewhistory.h"

void CViewHistory::Push(const DisplayMode& view) {
    if (!m_views.empty() && m_views.back() == view) {
        return;
    }
    if (m_views.size() == kDepth) {
        m_views.pop_front();
    }
    m_views.push_back(view);
}

void CViewHistory::Pop() {
    if (!m_views.empty()) {
        m_views.pop_back();
    }
}

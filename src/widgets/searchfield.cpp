#include "widgets/searchfield.h"

#include <QKeyEvent>
#include <QSignalBlocker>

namespace {

constexpr int kTypingPauseMs = 150;

}  // namespace

CSearchField::CSearchField(QWidget* parent) : QLineEdit(parent) {
    setClearButtonEnabled(true);
    m_pause.setSingleShot(true);
    m_pause.setInterval(kTypingPauseMs);
    connect(this, &QLineEdit::textChanged, &m_pause, qOverload<>(&QTimer::start));
    connect(&m_pause, &QTimer::timeout, this, &CSearchField::SearchChanged);
}

void CSearchField::ClearQuietly() {
    const QSignalBlocker quiet(this);
    m_pause.stop();
    clear();
}

void CSearchField::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape && !text().isEmpty()) {
        ClearQuietly();
        Q_EMIT SearchChanged();
        return;
    }
    QLineEdit::keyPressEvent(event);
}

#pragma once

#include <QLineEdit>
#include <QTimer>

// A search field: it tells of a change once typing pauses (150 ms), so that a long list is not
// refilled at every key, and Escape clears it at once.
class CSearchField : public QLineEdit {
    Q_OBJECT

public:
    explicit CSearchField(QWidget* parent = nullptr);

    // Empties the field without telling anyone (the search is over).
    void ClearQuietly();

Q_SIGNALS:
    void SearchChanged();

protected:
    void keyPressEvent(QKeyEvent* event) override;

private:
    QTimer m_pause;
};

#pragma once

#include <QLabel>

#include <string>

// The small window that shows a cut-off cell text in full, over the cell and in the cell's
// font. It lets the pointer through, so the cell under it can still be clicked.
class CGridTitleTip : public QLabel {
    Q_OBJECT

public:
    explicit CGridTitleTip(QWidget* grid);

    // Shows `text` at `topLeft` (global coordinates), at least `height` pixels tall.
    void ShowOver(const QPoint& topLeft, int height, const std::string& text, const QFont& font);
    // True when the global point lies on the tip.
    bool Covers(const QPoint& globalPoint) const { return isVisible() && geometry().contains(globalPoint); }
};

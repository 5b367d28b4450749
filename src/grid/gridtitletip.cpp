#include "grid/gridtitletip.h"

#include "widgets/displaytext.h"

CGridTitleTip::CGridTitleTip(QWidget* grid)
    : QLabel(grid, Qt::ToolTip | Qt::FramelessWindowHint | Qt::WindowTransparentForInput) {
    setObjectName(QStringLiteral("gridTitleTip"));
    setFrameShape(QFrame::Box);
    setLineWidth(1);
    setForegroundRole(QPalette::ToolTipText);
    setBackgroundRole(QPalette::ToolTipBase);
    setAutoFillBackground(true);
    setMargin(0);
    setTextFormat(Qt::PlainText);
}

void CGridTitleTip::ShowOver(const QPoint& topLeft, int height, const std::string& text, const QFont& font) {
    setFont(font);
    setText(DisplayText(text));
    const QSize size = sizeHint();
    setGeometry(QRect(topLeft, QSize(size.width(), std::max(size.height(), height))));
    show();
    raise();
}

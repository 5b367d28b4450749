#include "grid/gridcellcheck.h"

#include <QApplication>
#include <QPainter>
#include <QStyle>
#include <QStyleOptionButton>

#include "grid/gridctrl.h"

QRect CGridCellCheck::BoxRect(const QRect& rect) {
    const int side = std::min(13, rect.height() - 2);
    return {rect.left() + 3, rect.top() + (rect.height() - side) / 2, side, side};
}

void CGridCellCheck::SetCheck(bool ticked) {
    m_ticked = ticked;
    if (m_grid != nullptr) {
        m_grid->RepaintAll();  // cells do not know where they are; the grid paints visible cells only
    }
}

void CGridCellCheck::Draw(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const {
    DrawBackground(painter, rect, grid);
    QStyleOptionButton box;
    box.rect = BoxRect(rect);
    box.state = QStyle::State_Enabled | (m_ticked ? QStyle::State_On : QStyle::State_Off);
    grid.style()->drawPrimitive(QStyle::PE_IndicatorCheckBox, &box, &painter, &grid);
    QRect textRect = TextRect(rect, grid);
    textRect.setLeft(box.rect.right() + 4);
    DrawText(painter, textRect, grid);
}

bool CGridCellCheck::OnClick(CGridCtrl& grid, int row, int column, const QPoint& point, const QRect& rect) {
    if (!BoxRect(QRect(QPoint(0, 0), rect.size())).contains(point)) {
        return false;
    }
    m_ticked = !m_ticked;
    grid.RedrawCell(row, column);
    return true;
}

QSize CGridCellCheck::TextExtent(const CGridCtrl& grid) const {
    const QSize text = CGridCell::TextExtent(grid);
    return {text.width() + 20, std::max(text.height(), 17)};
}

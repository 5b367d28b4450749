#pragma once

#include "grid/gridcell.h"
#include "platform/usertext.h"

// A cell with a check box before its text; a click on the box toggles it.
class CGridCellCheck : public CGridCell {
public:
    // Sets the ticked flag and repaints the cell.
    void SetCheck(bool ticked);
    bool GetCheck() const { return m_ticked; }

    void SetGrid(CGridCtrl* grid) override { m_grid = grid; }
    void Draw(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const override;
    bool OnClick(CGridCtrl& grid, int row, int column, const QPoint& point, const QRect& rect) override;
    QSize TextExtent(const CGridCtrl& grid) const override;
    std::string AccessibleName(const CGridCtrl& /*grid*/) const override { return CUserText::tr("Tick"); }

    // Where the box is drawn within the cell's rectangle.
    static QRect BoxRect(const QRect& rect);

private:
    CGridCtrl* m_grid = nullptr;
    bool m_ticked = false;
};

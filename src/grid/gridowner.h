#pragma once

class CGridCtrl;

// Notification codes of a CGridCtrl.
constexpr int kGridSelectionChanging = -100;
constexpr int kGridSelectionChanged = -101;
constexpr int kGridClick = -2;
constexpr int kGridDoubleClick = -3;
constexpr int kGridBeginEdit = -105;  // a negative answer refuses the edit
constexpr int kGridEndEdit = -106;    // a negative answer refuses the new text

// The window that a grid reports to.
class CGridOwner {
public:
    virtual ~CGridOwner() = default;

    // One notification about the cell at `row`, `column`; the answer matters for
    // kGridBeginEdit and kGridEndEdit only.
    virtual int OnGridNotify(CGridCtrl& grid, int code, int row, int column) = 0;

    // After a left-button release whose press began on a cell.
    virtual void OnGridCommand(CGridCtrl& /*grid*/) {}
};

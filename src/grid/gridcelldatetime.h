#pragma once

#include "grid/gridcell.h"

// A cell edited through a date and time picker; its text is "yyyy-MM-dd HH:mm:ss".
class CGridCellDateTime : public CGridCell {
public:
    QWidget* CreateEditor(QWidget* parent, const std::string& initial) const override;
    std::string EditorText(QWidget* editor) const override;
};

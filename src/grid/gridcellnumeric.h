#pragma once

#include "grid/gridcell.h"

// A cell whose editor accepts whole numbers only.
class CGridCellNumeric : public CGridCell {
public:
    QWidget* CreateEditor(QWidget* parent, const std::string& initial) const override;
};

#pragma once

#include <string>
#include <vector>

#include "grid/gridcell.h"

// A cell edited by choosing one of its option texts from a drop-down list.
class CGridCellCombo : public CGridCell {
public:
    void SetOptions(const std::vector<std::string>& options) { m_options = options; }
    const std::vector<std::string>& GetOptions() const { return m_options; }

    QWidget* CreateEditor(QWidget* parent, const std::string& initial) const override;
    std::string EditorText(QWidget* editor) const override;

private:
    std::vector<std::string> m_options;
};

#pragma once

#include <memory>
#include <string>
#include <vector>

#include "grid/gridcell.h"

// A cell edited by choosing one of its option texts from a drop-down list.
class CGridCellCombo : public CGridCell {
public:
    using Options = std::shared_ptr<const std::vector<std::string>>;

    void SetOptions(const std::vector<std::string>& options) {
        m_options = std::make_shared<const std::vector<std::string>>(options);
    }
    // Many cells may share one list.
    void SetOptions(Options options) { m_options = std::move(options); }
    const std::vector<std::string>& GetOptions() const;

    QWidget* CreateEditor(QWidget* parent, const std::string& initial) const override;
    std::string EditorText(QWidget* editor) const override;

private:
    Options m_options;
};

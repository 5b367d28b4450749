#include "grid/gridcellcombo.h"

#include <QComboBox>

#include "widgets/displaytext.h"

const std::vector<std::string>& CGridCellCombo::GetOptions() const {
    static const std::vector<std::string> kNone;
    return m_options ? *m_options : kNone;
}

QWidget* CGridCellCombo::CreateEditor(QWidget* parent, const std::string& initial) const {
    auto* editor = new QComboBox(parent);
    int current = -1;
    for (const std::string& option : GetOptions()) {
        if (option == initial) {
            current = editor->count();
        }
        // The option's bytes ride along, so a text that is not UTF-8 comes back unchanged.
        editor->addItem(DisplayText(option), QByteArray(option.data(), static_cast<qsizetype>(option.size())));
    }
    editor->setCurrentIndex(current);
    return editor;
}

std::string CGridCellCombo::EditorText(QWidget* editor) const {
    const auto* combo = qobject_cast<QComboBox*>(editor);
    if (combo == nullptr || combo->currentIndex() < 0) {
        return GetText();
    }
    return combo->currentData().toByteArray().toStdString();
}

#include "grid/gridcellnumeric.h"

#include <QLineEdit>
#include <QRegularExpressionValidator>

QWidget* CGridCellNumeric::CreateEditor(QWidget* parent, const std::string& initial) const {
    QWidget* editor = CGridCell::CreateEditor(parent, initial);
    auto* line = static_cast<QLineEdit*>(editor);
    line->setValidator(new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[-+]?[0-9]*")), line));
    return editor;
}

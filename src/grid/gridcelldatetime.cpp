#include "grid/gridcelldatetime.h"

#include <QDateTimeEdit>

namespace {
const QString kFormat = QStringLiteral("yyyy-MM-dd HH:mm:ss");
}

QWidget* CGridCellDateTime::CreateEditor(QWidget* parent, const std::string& initial) const {
    auto* editor = new QDateTimeEdit(parent);
    editor->setDisplayFormat(kFormat);
    const QDateTime value = QDateTime::fromString(QString::fromStdString(initial), kFormat);
    editor->setDateTime(value.isValid() ? value : QDateTime::currentDateTime());
    return editor;
}

std::string CGridCellDateTime::EditorText(QWidget* editor) const {
    return static_cast<QDateTimeEdit*>(editor)->dateTime().toString(kFormat).toStdString();
}

#include "widgets/widgetparts.h"

#include <QLabel>
#include <QPushButton>

#include "widgets/displaytext.h"

QPushButton* MakeButton(QWidget* parent, const char* text, const char* name) {
    auto* button = new QPushButton(QString::fromUtf8(text), parent);
    button->setObjectName(QString::fromLatin1(name));
    button->setAutoDefault(false);
    return button;
}

QLabel* PlainLabel(const std::string& text, const char* name, QWidget* parent) {
    auto* label = new QLabel(DisplayText(text), parent);
    label->setObjectName(QString::fromLatin1(name));
    label->setTextFormat(Qt::PlainText);
    return label;
}

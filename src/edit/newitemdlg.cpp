#include "edit/newitemdlg.h"

#include <QDialogButtonBox>
#include <QLabel>
#include <QLineEdit>
#include <QVBoxLayout>

#include "widgets/displaytext.h"

CNewItemDlg::CNewItemDlg(const std::string& prompt, const std::string& value, QWidget* parent)
    : QDialog(parent), m_value(new QLineEdit(DisplayText(value), this)), m_initial(value) {
    setObjectName(QStringLiteral("newItemDialog"));
    setWindowTitle(QStringLiteral("Cadenzo"));
    auto* label = new QLabel(DisplayText(prompt), this);
    label->setObjectName(QStringLiteral("newItemPrompt"));
    label->setBuddy(m_value);
    m_value->setObjectName(QStringLiteral("newItemValue"));
    m_value->setAccessibleName(DisplayText(prompt));
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    connect(buttons, &QDialogButtonBox::accepted, this, &CNewItemDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CNewItemDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(label);
    layout->addWidget(m_value);
    layout->addWidget(buttons);
    m_value->setFocus();
    resize(360, sizeHint().height());
}

std::string CNewItemDlg::Value() const {
    return LineEditBytes(m_value, m_initial);
}

#include "edit/pickdlg.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include "grid/displaytext.h"

namespace {

constexpr int kIdRole = Qt::UserRole;
constexpr int kBytesRole = Qt::UserRole + 1;

QByteArray Bytes(const std::string& text) {
    return {text.data(), static_cast<qsizetype>(text.size())};
}

}  // namespace

CPickDlg::CPickDlg(const std::vector<std::string>& names, const std::vector<std::int32_t>* ids,
                   const std::string& title, const std::string& chosenName, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)), m_chosenName(chosenName) {
    setObjectName(QStringLiteral("pickDialog"));
    setWindowTitle(DisplayText(title));
    m_list->setObjectName(QStringLiteral("pickList"));
    m_list->setAccessibleName(DisplayText(title));
    QListWidgetItem* preselected = nullptr;
    for (const std::size_t index : OrderIgnoringCase(names)) {
        auto* item = new QListWidgetItem(DisplayText(names[index]), m_list);
        const std::int32_t id =
            ids == nullptr ? static_cast<std::int32_t>(index) : (index < ids->size() ? (*ids)[index] : 0);
        item->setData(kIdRole, id);
        item->setData(kBytesRole, Bytes(names[index]));
        if (preselected == nullptr && item->text().compare(DisplayText(chosenName), Qt::CaseInsensitive) == 0) {
            preselected = item;
        }
    }
    m_list->setCurrentItem(preselected);
    if (preselected == nullptr) {
        m_list->clearSelection();
    }
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->setObjectName(QStringLiteral("pickButtons"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CPickDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CPickDlg::reject);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(m_list);
    layout->addWidget(buttons);
    resize(420, 360);
}

void CPickDlg::accept() {
    const QList<QListWidgetItem*> selected = m_list->selectedItems();
    if (selected.isEmpty()) {
        m_chosenName.clear();
        m_chosenId = 0;
    } else {
        m_chosenName = selected.front()->data(kBytesRole).toByteArray().toStdString();
        m_chosenId = selected.front()->data(kIdRole).toInt();
    }
    QDialog::accept();
}

#include "edit/pickdlg.h"

#include <QDialogButtonBox>
#include <QListWidget>
#include <QVBoxLayout>

#include <tuple>

#include "widgets/displaytext.h"
#include "widgets/widgetparts.h"

namespace {

constexpr int kIdRole = Qt::UserRole;

}  // namespace

void FillPickList(QListWidget* list, const std::vector<std::string>& names, const std::vector<std::int32_t>* ids,
                  const std::string& select) {
    list->clear();
    QListWidgetItem* selected = nullptr;
    for (const std::size_t index : OrderIgnoringCase(names)) {
        auto* item = new QListWidgetItem(DisplayText(names[index]), list);
        const std::int32_t id =
            ids == nullptr ? static_cast<std::int32_t>(index) : (index < ids->size() ? (*ids)[index] : 0);
        item->setData(kIdRole, id);
        item->setData(kBytesRole, ByteArray(names[index]));
        if (selected == nullptr && item->text().compare(DisplayText(select), Qt::CaseInsensitive) == 0) {
            selected = item;
        }
    }
    list->setCurrentItem(selected);
    if (selected == nullptr) {
        list->clearSelection();
    }
}

std::pair<std::string, std::int32_t> PickedEntry(const QListWidget* list) {
    const QList<QListWidgetItem*> selected = list->selectedItems();
    if (selected.isEmpty()) {
        return {"", 0};
    }
    return {selected.front()->data(kBytesRole).toByteArray().toStdString(), selected.front()->data(kIdRole).toInt()};
}

CPickDlg::CPickDlg(const std::vector<std::string>& names, const std::vector<std::int32_t>* ids,
                   const std::string& title, const std::string& chosenName, QWidget* parent)
    : QDialog(parent), m_list(new QListWidget(this)), m_chosenName(chosenName) {
    setObjectName(QStringLiteral("pickDialog"));
    setWindowTitle(DisplayText(title));
    m_list->setObjectName(QStringLiteral("pickList"));
    m_list->setAccessibleName(DisplayText(title));
    FillPickList(m_list, names, ids, chosenName);
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
    std::tie(m_chosenName, m_chosenId) = PickedEntry(m_list);
    QDialog::accept();
}

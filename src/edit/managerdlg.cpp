#include "edit/managerdlg.h"

#include <QGridLayout>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>

#include <algorithm>
#include <tuple>

#include <fmt/printf.h>

#include "edit/librarychanges.h"
#include "edit/newitemdlg.h"
#include "edit/pickdlg.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"
#include "widgets/displaytext.h"
#include "widgets/widgetparts.h"

namespace {

QPushButton* Button(const char* text, const char* name, bool enabled, QWidget* parent) {
    QPushButton* button = MakeButton(parent, text, name);
    button->setEnabled(enabled);
    return button;
}

}  // namespace

CManagerDlg::CManagerDlg(const CCommandContext& context, EditItemFunction editItem, ItemKind kind,
                         const std::string& title, int buttons, QWidget* parent)
    : QDialog(parent), m_context(context), m_editItem(std::move(editItem)), m_kind(kind) {
    Build(title, buttons);
    FillList("");
    SelectFirst();
    if (kind > kGenreItem) {
        setWindowTitle(QString::fromUtf8(CUserText::tr("Unknown Manager")));
    }
}

CManagerDlg::CManagerDlg(const CCommandContext& context, NameList& names, IdList& ids, const std::string& preselect,
                         ItemKind kind, const std::string& title, int buttons, QWidget* parent)
    : QDialog(parent), m_context(context), m_kind(kind), m_names(&names), m_ids(&ids) {
    Build(title, buttons);
    FillList(preselect);
}

void CManagerDlg::Build(const std::string& title, int buttons) {
    setObjectName(QStringLiteral("managerDialog"));
    setWindowTitle(DisplayText(title));
    m_list = new QListWidget(this);
    m_list->setObjectName(QStringLiteral("managerList"));
    m_list->setAccessibleName(DisplayText(title));
    auto* ok = Button(CUserText::tr("OK"), "okButton", true, this);
    ok->setDefault(true);
    QPushButton* rename = Button(CUserText::tr("Rename"), "renameButton", (buttons & kManagerRename) != 0, this);
    QPushButton* edit = Button(CUserText::tr("Edit"), "editButton", (buttons & kManagerEdit) != 0, this);
    QPushButton* add = Button(CUserText::tr("New"), "newButton", (buttons & kManagerNew) != 0, this);
    QPushButton* remove = Button(CUserText::tr("Remove"), "removeButton", (buttons & kManagerRemove) != 0, this);
    QPushButton* deepRemove =
        Button(CUserText::tr("Deep Remove"), "deepRemoveButton", (buttons & kManagerRemove) != 0, this);
    QPushButton* cancel = Button(CUserText::tr("Cancel"), "cancelButton", (buttons & kManagerCancel) != 0, this);
    auto* explanation =
        new QLabel(QString::fromUtf8(CUserText::tr(
                       "\"Remove\" removes ONLY the selected item from the database\n\"Deep Remove\" removes the "
                       "selected item (eg. an album) and any subitems (eg. songs)")),
                   this);
    explanation->setWordWrap(true);
    auto* layout = new QGridLayout(this);
    layout->addWidget(m_list, 0, 0, 8, 1);
    int row = 0;
    for (QPushButton* button : {ok, rename, edit, add, remove, deepRemove, cancel}) {
        layout->addWidget(button, row++, 1);
    }
    layout->setRowStretch(7, 1);
    layout->addWidget(explanation, 8, 0, 1, 2);
    connect(ok, &QPushButton::clicked, this, &CManagerDlg::accept);
    connect(cancel, &QPushButton::clicked, this, &CManagerDlg::reject);
    const auto guarded = [this](void (CManagerDlg::*action)()) {
        return [this, action] { m_context.guarded([this, action] { (this->*action)(); }); };
    };
    connect(rename, &QPushButton::clicked, this, guarded(&CManagerDlg::OnRename));
    connect(edit, &QPushButton::clicked, this, guarded(&CManagerDlg::OnEdit));
    connect(add, &QPushButton::clicked, this, guarded(&CManagerDlg::OnNew));
    connect(remove, &QPushButton::clicked, this, guarded(&CManagerDlg::OnRemove));
    connect(deepRemove, &QPushButton::clicked, this, guarded(&CManagerDlg::OnDeepRemove));
    resize(520, 420);
}

void CManagerDlg::FillList(const std::string& select) {
    if (m_names == nullptr) {
        FillManagerEntries(m_context.db, m_kind, m_entries, m_entryIds);
        FillPickList(m_list, m_entries, &m_entryIds, select);
    } else {
        FillPickList(m_list, *m_names, m_ids, select);
    }
}

void CManagerDlg::SelectFirst() {
    if (m_list->count() > 0) {
        m_list->setCurrentRow(0);
    }
}

void CManagerDlg::accept() {
    std::tie(m_chosenName, m_chosenId) = PickedEntry(m_list);
    QDialog::accept();
}

void CManagerDlg::OnRename() {
    const auto [entry, id] = PickedEntry(m_list);
    if (m_list->selectedItems().isEmpty()) {
        return;
    }
    const std::string oldName = m_context.db.GetItemName(m_kind, id);
    CNewItemDlg rename(CUserText::tr("Rename to:"), oldName, this);
    if (m_context.runDialog(rename) != QDialog::Accepted) {
        return;
    }
    const std::string newName = rename.Value();
    m_context.db.RenameItem(newName, m_kind, id);
    if (m_names != nullptr) {
        if (const auto found = std::find(m_names->begin(), m_names->end(), oldName); found != m_names->end()) {
            *found = newName;
        }
    }
    FillList(newName);
}

void CManagerDlg::OnEdit() {
    if (m_list->selectedItems().isEmpty() || !m_editItem) {
        return;
    }
    const auto [entry, id] = PickedEntry(m_list);
    m_editItem(m_kind, id);
    FillList(entry);
}

void CManagerDlg::OnNew() {
    const std::string prompt = NewItemPrompt(m_kind);
    if (prompt.empty()) {
        m_context.messages.Show(NewItemRefusal(m_kind));
        return;
    }
    CNewItemDlg ask(prompt, "", this);
    if (m_context.runDialog(ask) != QDialog::Accepted) {
        return;
    }
    const std::string name = ask.Value();
    std::int32_t artist = 0;
    if (m_kind == kAlbumItem) {
        NameList artists;
        IdList artistIds;
        m_context.db.FillNameList(artists, artistIds, "Artists", "Name", "ID");
        CPickDlg pick(artists, &artistIds, fmt::sprintf(CUserText::tr("Pick an Artist for %s"), name), "", this);
        if (m_context.runDialog(pick) != QDialog::Accepted) {
            return;
        }
        artist = pick.ChosenId();
    }
    const std::int32_t id = AddNamedItem(m_context.db, m_kind, name, artist);
    if (m_names != nullptr) {
        m_names->push_back(name);
        m_ids->push_back(id);
    }
    FillList(name);
}

void CManagerDlg::OnRemove() {
    Remove(false);
}

void CManagerDlg::OnDeepRemove() {
    Remove(true);
}

void CManagerDlg::Remove(bool deep) {
    if (m_list->selectedItems().isEmpty()) {
        return;
    }
    const auto [entry, id] = PickedEntry(m_list);
    const char* question = deep ? CUserText::tr("Are you sure you want to remove \"%s\" and any subitems?")
                                : CUserText::tr("Are you sure you want to remove \"%s\"?");
    if (!m_context.messages.AskYesNo(fmt::sprintf(question, entry))) {
        return;
    }
    RemoveItemWhole(m_context.db, m_kind, id, deep);
    FillList("");
    SelectFirst();
}

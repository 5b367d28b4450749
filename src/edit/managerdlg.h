#pragma once

#include <QDialog>

#include <cstdint>
#include <functional>
#include <string>

#include "db/librarydb.h"
#include "edit/commandcontext.h"

class CMessageBox;
class QListWidget;
class QPushButton;

// The buttons a Manager enables.
enum ManagerButtons : int {
    kManagerNew = 0x01,
    kManagerEdit = 0x02,
    kManagerRemove = 0x04,
    kManagerRename = 0x08,
    kManagerCancel = 0x80,
    kManagerAll = 0x7F,     // the Manage commands: everything but Cancel
    kManagerPicker = 0xF9,  // the pickers of Edit Item: New, Rename and Cancel
};

// Edit Item for one item of a kind, as the Edit button of a Manager opens it.
using EditItemFunction = std::function<void(ItemKind kind, std::int32_t id)>;

// Lists every item of a kind to rename, edit, add and remove it (the Manage commands), or
// offers a caller's list to pick one entry from (the pickers of Edit Item), where New and
// Rename change the caller's lists in place. Every action writes to the library at once.
class CManagerDlg : public QDialog {
    Q_OBJECT

public:
    CManagerDlg(const CCommandContext& context, EditItemFunction editItem, ItemKind kind, const std::string& title,
                int buttons, QWidget* parent = nullptr);
    CManagerDlg(const CCommandContext& context, NameList& names, IdList& ids, const std::string& preselect,
                ItemKind kind, const std::string& title, int buttons, QWidget* parent = nullptr);

    // After OK: the chosen entry ("" and 0 with none selected).
    const std::string& ChosenName() const { return m_chosenName; }
    std::int32_t ChosenId() const { return m_chosenId; }

    void accept() override;

private:
    void Build(const std::string& title, int buttons);
    void FillList(const std::string& select);
    void SelectFirst();
    void OnRename();
    void OnEdit();
    void OnNew();
    void OnRemove();
    void OnDeepRemove();
    void Remove(bool deep);

    CCommandContext m_context;
    EditItemFunction m_editItem;
    ItemKind m_kind;
    NameList* m_names = nullptr;  // the picker's lists, or null for a Manager
    IdList* m_ids = nullptr;
    NameList m_entries;  // a Manager's own lists
    IdList m_entryIds;
    QListWidget* m_list = nullptr;
    std::string m_chosenName;
    std::int32_t m_chosenId = 0;
};

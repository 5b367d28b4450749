#pragma once

#include <QDialog>

#include <cstdint>
#include <string>
#include <utility>
#include <vector>

class QListWidget;

// Fills the list with the names sorted without regard to case, each carrying its ID (its
// position when `ids` is null, 0 where `ids` is shorter) and its bytes, and selects the first
// entry equal to `select` (case ignored), or none.
void FillPickList(QListWidget* list, const std::vector<std::string>& names, const std::vector<std::int32_t>* ids,
                  const std::string& select);
// The selected entry's name and ID; "" and 0 with none selected.
std::pair<std::string, std::int32_t> PickedEntry(const QListWidget* list);

// Chooses one entry of a list of names that carry IDs. The list is sorted without regard to
// case, each entry keeping its ID; the entry equal to the preselection (case ignored) starts
// selected. After OK: the chosen name and ID (empty and 0 with nothing selected).
class CPickDlg : public QDialog {
    Q_OBJECT

public:
    // `ids` parallel to `names` (0 where it is shorter); null: each entry's position.
    CPickDlg(const std::vector<std::string>& names, const std::vector<std::int32_t>* ids, const std::string& title,
             const std::string& chosenName, QWidget* parent = nullptr);

    const std::string& ChosenName() const { return m_chosenName; }
    std::int32_t ChosenId() const { return m_chosenId; }

    void accept() override;

private:
    QListWidget* m_list;
    std::string m_chosenName;
    std::int32_t m_chosenId = 0;
};

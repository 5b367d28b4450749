#pragma once

#include <QDialog>

#include <vector>

#include "edit/commandcontext.h"
#include "edit/missingsongs.h"

class QPushButton;
class QTreeWidget;

// "Find Missing Songs": the songs whose files are gone, with ticks; Search a Folder finds moved
// ones by their audio and moves their rows, Remove from Library removes the ticked ones.
class CMissingSongsDlg : public QDialog {
    Q_OBJECT

public:
    CMissingSongsDlg(const CCommandContext& context, std::vector<MissingSong> missing, QWidget* parent = nullptr);

    // Whether the library was changed, so that the views show it.
    bool ChangedLibrary() const { return m_changed; }

private:
    void Fill();
    void OnSearch();
    void OnRemove();
    // Takes the songs with these IDs off the list.
    void Forget(const std::vector<std::int32_t>& ids);

    CCommandContext m_context;
    std::vector<MissingSong> m_missing;
    QTreeWidget* m_list;
    QPushButton* m_search;
    QPushButton* m_remove;
    bool m_changed = false;
};

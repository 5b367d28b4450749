#include "edit/missingsongsdlg.h"

#include <QHBoxLayout>
#include <QHeaderView>
#include <QLabel>
#include <QPushButton>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <unordered_set>

#include <fmt/printf.h>

#include "edit/librarychanges.h"
#include "folderpicker/folderpickerdlg.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"
#include "widgets/displaytext.h"
#include "widgets/processingdlg.h"
#include "widgets/widgetparts.h"

namespace {

constexpr int kIdRole = Qt::UserRole;

// The first few found songs, one a line, for the question.
std::string FoundLines(const std::vector<FoundSong>& found, const std::vector<MissingSong>& missing) {
    constexpr std::size_t kShown = 5;
    std::string lines;
    for (std::size_t i = 0; i < found.size() && i < kShown; ++i) {
        const auto song = std::find_if(missing.begin(), missing.end(),
                                       [&](const MissingSong& entry) { return entry.id == found[i].id; });
        lines += "\n" + song->name + ": " + found[i].path;
    }
    return found.size() > kShown ? lines + "\n..." : lines;
}

}  // namespace

CMissingSongsDlg::CMissingSongsDlg(const CCommandContext& context, std::vector<MissingSong> missing, QWidget* parent)
    : QDialog(parent),
      m_context(context),
      m_missing(std::move(missing)),
      m_list(new QTreeWidget(this)),
      m_search(MakeButton(this, CUserText::tr("Search a Folder..."), "searchFolderButton")),
      m_remove(MakeButton(this, CUserText::tr("Remove from Library"), "removeMissingButton")) {
    setObjectName(QStringLiteral("missingSongsDialog"));
    setWindowTitle(QString::fromUtf8(CUserText::tr("Missing Songs")));
    m_list->setObjectName(QStringLiteral("missingList"));
    m_list->setAccessibleName(QString::fromUtf8(CUserText::tr("Missing songs")));
    m_list->setRootIsDecorated(false);
    m_list->setHeaderLabels({QString::fromUtf8(CUserText::tr("Song")), QString::fromUtf8(CUserText::tr("Artist")),
                             QString::fromUtf8(CUserText::tr("Album")), QString::fromUtf8(CUserText::tr("Path"))});
    QPushButton* close = MakeButton(this, CUserText::tr("Close"), "closeButton");
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(m_search);
    buttons->addWidget(m_remove);
    buttons->addStretch();
    buttons->addWidget(close);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(PlainLabel(CUserText::tr("The files of these songs are not where the library says. Search a "
                                               "folder for songs that were moved, or remove the ticked ones."),
                                 "missingExplanation", this));
    layout->addWidget(m_list, 1);
    layout->addLayout(buttons);
    m_search->setEnabled(!m_context.readOnly);
    m_remove->setEnabled(!m_context.readOnly);
    connect(m_search, &QPushButton::clicked, this, [this] { m_context.guarded([this] { OnSearch(); }); });
    connect(m_remove, &QPushButton::clicked, this, [this] { m_context.guarded([this] { OnRemove(); }); });
    connect(close, &QPushButton::clicked, this, &QDialog::accept);
    Fill();
    resize(760, 420);
}

void CMissingSongsDlg::Fill() {
    m_list->clear();
    for (const MissingSong& song : m_missing) {
        auto* item = new QTreeWidgetItem(m_list, {DisplayText(song.name), DisplayText(song.artist),
                                                  DisplayText(song.album), DisplayText(song.path)});
        item->setCheckState(0, Qt::Unchecked);
        item->setData(0, kIdRole, song.id);
    }
    m_list->header()->resizeSections(QHeaderView::ResizeToContents);
}

void CMissingSongsDlg::OnSearch() {
    CFolderPickerDlg picker(CFolderPickerDlg::MusicFolder(), m_context.messages, this);
    picker.setWindowTitle(QString::fromUtf8(CUserText::tr("Select the Folder to Search")));
    if (m_context.runDialog(picker) != QDialog::Accepted) {
        return;
    }
    const std::string folder = picker.FolderPath();
    std::vector<FoundSong> found;
    {
        CProcessingDlg progress(CUserText::tr("Searching for Missing Songs"), this);
        progress.show();
        found = SearchMissingSongs(
            m_context.db, m_context.workers(), m_missing, folder, [&](std::size_t looked, std::size_t) {
                progress.SetProgressText(fmt::sprintf(CUserText::tr("%d song files looked at"), looked));
                progress.KeepPainted();
                return !progress.Cancelled();
            });
    }
    if (found.empty()) {
        m_context.messages.Show(fmt::sprintf(CUserText::tr("None of the missing songs is in '%s'."), folder));
        return;
    }
    const std::string question =
        fmt::sprintf(CUserText::tr("%d of the missing songs were found:%s\n\nMove them to their new places?"),
                     static_cast<int>(found.size()), FoundLines(found, m_missing));
    if (!m_context.messages.AskYesNo(question)) {
        return;
    }
    MoveFoundSongs(m_context.db, found);
    m_changed = true;
    std::vector<std::int32_t> moved;
    for (const FoundSong& song : found) {
        moved.push_back(song.id);
    }
    Forget(moved);
}

void CMissingSongsDlg::OnRemove() {
    std::vector<std::int32_t> ticked;
    for (int i = 0; i < m_list->topLevelItemCount(); ++i) {
        if (m_list->topLevelItem(i)->checkState(0) == Qt::Checked) {
            ticked.push_back(m_list->topLevelItem(i)->data(0, kIdRole).toInt());
        }
    }
    const std::string question =
        ticked.size() == 1
            ? std::string(CUserText::tr("Are you sure you want to remove the ticked song from the library?"))
            : fmt::sprintf(CUserText::tr("Are you sure you want to remove the %d ticked songs from the library?"),
                           static_cast<int>(ticked.size()));
    if (ticked.empty() || !m_context.messages.AskYesNo(question)) {
        return;
    }
    RemoveSongRows(m_context.db, ticked);
    m_changed = true;
    Forget(ticked);
}

void CMissingSongsDlg::Forget(const std::vector<std::int32_t>& ids) {
    const std::unordered_set<std::int32_t> gone(ids.begin(), ids.end());
    std::erase_if(m_missing, [&](const MissingSong& song) { return gone.count(song.id) != 0; });
    Fill();
}

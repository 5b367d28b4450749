#include "app/editcommands.h"

#include <filesystem>

#include <fmt/printf.h>

#include "app/settings.h"
#include "browse/librarygrid.h"
#include "edit/edititemdlg.h"
#include "edit/librarychanges.h"
#include "edit/missingsongs.h"
#include "edit/missingsongsdlg.h"
#include "edit/pickdlg.h"
#include "platform/librarylock.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"
#include "play/playercommand.h"
#include "widgets/processingdlg.h"

CEditCommands::CEditCommands(CCommandContext context, CLibraryGrid& grid)
    : m_context(std::move(context)), m_grid(grid) {}

bool CEditCommands::EditItem(ItemKind kind, std::int32_t id) {
    CItemEdit edit(m_context.db, m_context.workers(), kind, {id});
    CEditItemDlg dialog(edit, m_context, m_context.window);
    return m_context.runDialog(dialog) == QDialog::Accepted;
}

void CEditCommands::EditItems() {
    IdList checked = m_grid.GetCheckedIds();
    if (checked.empty()) {
        if (m_grid.HasSelection()) {
            m_grid.RunEditItem(m_grid.CurrentRowItemId());
        }
        return;
    }
    if (checked.front() == 0) {
        m_context.messages.Show(CUserText::tr("Error: Could not find an ID to edit"));
        return;
    }
    CItemEdit edit(m_context.db, m_context.workers(), kSeveralSongsItem, std::move(checked));
    CEditItemDlg dialog(edit, m_context, m_context.window);
    if (m_context.runDialog(dialog) == QDialog::Accepted) {
        m_grid.RefreshView();
    }
}

void CEditCommands::Remove() {
    if (const IdList checked = m_grid.GetCheckedIds(); !checked.empty()) {
        if (!m_context.messages.AskYesNo(CUserText::tr("Are you sure you want to remove all checked items?"))) {
            return;
        }
        RemoveSongRows(m_context.db, checked);
    } else {
        const std::int32_t item = m_grid.CurrentRowItemId();
        if (item < 1 ||
            !m_context.messages.AskYesNo(CUserText::tr("Are you sure you want to remove the selected item?"))) {
            return;  // the special rows of an artist's albums are no item
        }
        RemoveViewItem(m_context.db, m_grid.CurrentView().mode, item);
    }
    m_grid.RefreshView();
}

void CEditCommands::FindMissingSongs() {
    std::vector<MissingSong> missing;
    {
        CProcessingDlg progress(CUserText::tr("Finding Missing Songs"), m_context.window);
        progress.show();
        missing = ::FindMissingSongs(m_context.db, [&](std::size_t done, std::size_t total) {
            progress.SetProgressText(fmt::sprintf(CUserText::tr("%d of %d song files looked at"), done, total));
            progress.KeepPainted();
            return !progress.Cancelled();
        });
        if (progress.Cancelled()) {
            return;
        }
    }
    if (missing.empty()) {
        m_context.messages.Show(CUserText::tr("The file of every song is where the library says."));
        return;
    }
    CMissingSongsDlg dialog(m_context, std::move(missing), m_context.window);
    m_context.runDialog(dialog);
    if (dialog.ChangedLibrary()) {
        m_grid.RefreshView();
    }
}

void CEditCommands::Manage(ItemKind kind, const char* title) {
    CManagerDlg manager(
        m_context, [this](ItemKind itemKind, std::int32_t id) { EditItem(itemKind, id); }, kind, title, kManagerAll,
        m_context.window);
    m_context.runDialog(manager);
    m_grid.RefreshView();
}

std::int32_t CEditCommands::PickFrom(ItemKind kind, const char* title) {
    // As the Manager lists them: albums as "Artist - Album", so that equal names differ.
    NameList names;
    IdList ids;
    FillManagerEntries(m_context.db, kind, names, ids);
    CPickDlg pick(names, &ids, title, "", m_context.window);
    if (m_context.runDialog(pick) != QDialog::Accepted || pick.ChosenName().empty()) {
        return 0;
    }
    return pick.ChosenId();
}

void CEditCommands::ChangeAlbum() {
    ChangeField(kAlbumItem, "AlbumID", CUserText::tr("Pick an Album to Set All Checked To"));
}

void CEditCommands::ChangeArtist() {
    ChangeField(kArtistItem, "ArtistID", CUserText::tr("Pick an Artist to Set All Checked To"));
}

void CEditCommands::ChangeField(ItemKind kind, const char* field, const char* title) {
    if (m_grid.CurrentView().mode != kSongsMode) {
        return;
    }
    if (const std::int32_t id = PickFrom(kind, title); id != 0) {
        SetFieldOfSongs(m_context.db, field, m_grid.GetCheckedIds(), id);
        m_grid.RefreshView();
    }
}

void CEditCommands::AddToCollection() {
    if (m_grid.CurrentView().mode != kSongsMode) {
        return;
    }
    if (const std::int32_t id = PickFrom(kCollectionItem, CUserText::tr("Pick a Collection to Add All Checked To"));
        id != 0) {
        AddSongsToCollection(m_context.db, m_grid.GetCheckedIds(), id);
        m_grid.RefreshView();
    }
}

void CEditCommands::DeleteDatabase() {
    if (m_context.readOnly) {
        m_context.messages.Show(CUserText::tr("Error: Can not delete the database when it is opened as read-only."));
        return;
    }
    const std::string path = m_context.settings.GetDatabasePath();
    if (!m_context.libraryLock.TakeAlone()) {
        m_context.messages.Show(fmt::sprintf(
            CUserText::tr("\"%s\" was not deleted: it is open in another Cadenzo window. Close that window first."),
            path));
        return;
    }
    bool alone = true;
    if (!m_context.messages.AskYesNo(fmt::sprintf(CUserText::tr("Are you sure you want to delete \"%s\"?"), path))) {
        m_context.libraryLock.Share(path, alone);
        return;
    }
    m_context.db.Close();
    std::error_code error;
    const bool deleted = std::filesystem::remove(path, error) && !error;
    if (deleted) {
        // A new library must never meet the journal or the log of the old one.
        for (const char* beside : {"-journal", "-wal", "-shm", "-closed"}) {
            std::filesystem::remove(path + beside, error);
        }
    } else {
        m_context.messages.Show(
            CUserText::tr("Could not delete database.  Perhaps it's read-only or being accessed by something else?"));
    }
    m_context.db.OpenOrCreate();  // a new, empty library; or the old one again, so the program stays usable
    m_context.libraryLock.Share(path, alone);
    m_grid.RefreshView();
}

void CEditCommands::EditIni() {
    const std::string editor = m_context.settings.GetTextEditor();
    const int error =
        LaunchWithFile(m_context.launcher, editor, std::filesystem::absolute(m_context.settings.GetIniPath()).string());
    if (error != 0) {
        m_context.messages.Show(
            NotStartedMessage(error, CUserText::tr("text editor"), editor, "[Editors] Text Editor"));
    }
}

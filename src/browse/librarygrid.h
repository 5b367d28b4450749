#pragma once

#include <array>
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "browse/columnwidths.h"
#include "browse/viewhistory.h"
#include "browse/viewrows.h"
#include "db/librarydb.h"
#include "grid/gridctrl.h"
#include "grid/gridowner.h"
#include "platform/inifile.h"

class CLibraryWindow;

// The main window's grid: one layout of 17 columns for every view of the library, of which a
// view shows the ones it uses; the rows of the current view with their buttons, rating cells
// and colours; the view history; sorting; and the column widths of each mode, kept in the
// settings file. Engine errors of its own operations raise CEngineError; its buttons run
// through the window's command guard.
class CLibraryGrid : public CGridCtrl, private CGridOwner {
    Q_OBJECT

public:
    // The grid columns.
    enum Column : int {
        kNumberColumn = 0,
        kExpandColumn = 1,
        kCheckColumn = 2,
        kPlayColumn = 3,
        kTrackColumn = 4,
        kNameColumn = 5,
        kAlbumColumn = 6,
        kArtistColumn = 7,
        kLengthColumn = 8,
        kBestOfColumn = 9,
        kUserRatingColumn = 10,
        kAutoRatingColumn = 11,
        kTotalRatingColumn = 12,
        kPlaysColumn = 13,
        kPathColumn = 14,
        kIdColumn = 15,
        kMiscColumn = 16,
    };

    // `settingsPath` is the settings file that keeps the column widths; they are read now.
    CLibraryGrid(CLibraryWindow& window, CLibraryDb& db, const std::string& settingsPath, QWidget* parent = nullptr);
    // Saves the current view's widths and writes all of them to the settings file.
    ~CLibraryGrid() override;

    // One header row and column, list mode with one row at a time, header sorting; then the
    // columns of the current view.
    void SetupGrid();
    // The widths of the current mode, the name header, the row height and the rank column.
    void SetupColumns();
    // What the columns of the Songs view need, with the frame and the scroll bar, in pixels.
    int SongsViewWidth() const;

    // Makes the view current and fills it, in one of these manners. Shows "Tried to switch to
    // unsupported display mode %d/%d." for an unknown view.
    enum class SwitchManner {
        Show,      // and selects its tree item
        FromTree,  // the tree asked: its selection stays
        Redirect,  // in place of the view being filled: that view's widths are not saved
    };
    void SwitchMode(int mode, int submode, std::int32_t artistId, std::int32_t itemId,
                    SwitchManner manner = SwitchManner::Show);
    DisplayMode CurrentView() const { return m_history.Top(); }
    const CViewHistory& History() const { return m_history; }

    // The statement of the current view with the window's filters (and the play filter).
    std::string BuildViewQuery(bool playFilter) const;
    // Fills the rows of the current view; false without a library.
    bool FillRows();
    // FillRows, then the view's default sort.
    void RefreshView();
    void ApplyDefaultSort();
    // Sorts by `column` and shows it: the number columns by their leading number, the others
    // by their bytes.
    void SortByColumn(int column, bool ascending);

    // The expand button: the view below the row `id`.
    void DrillDown(std::int32_t id);
    // Back: the view before the current one.
    void GoBack();
    // Selects the tree item of the current view, or none.
    void SelectTreeItemForMode();

    // Plays the songs of the row item `id`, or of the current view; true when songs were handed
    // to the player. The songs query comes from the Songs view the item or view leads to, with
    // the filters and the play filter; the current view stays as it is.
    bool PlayItem(std::int32_t id);
    bool PlayAll();
    // The Path and IntID of the ticked rows of a Songs view, or of every row when none is
    // ticked, top to bottom.
    void GetListedSongs(NameList& paths, IdList& ids) const;

    // Check boxes of Songs views (none in other views).
    void CheckAll();
    int CountCheckedRows() const;
    std::vector<std::int32_t> GetCheckedIds() const;
    std::int32_t GetFirstCheckedId() const;
    // The item of the row of the focus cell (its edit button's ID); 0 without one.
    std::int32_t CurrentRowItemId() const;

    // The background of columns 1..16 of the row.
    void SetRowColour(int row, std::uint32_t colour);

    // ---- What the row buttons run, through the window's command guard ----
    void RunDrillDown(std::int32_t id);
    void RunPlayItem(std::int32_t id);
    void RunEditItem(std::int32_t id);
    void RunSwitchMode(int mode, int submode, std::int32_t artistId, std::int32_t itemId);

protected:
    void SortByHeader(int column, bool ascending) override;
    // Enter plays the focused row, as its play button does; Shift+Enter edits it. On the rating
    // cell Enter and Space open the list of ratings; anywhere Ctrl+0..7 rates the row, Plus and
    // Minus rate it one step higher or lower.
    void keyPressEvent(QKeyEvent* event) override;

private:
    // CGridOwner: only the rating column is edited, and an edited rating is stored or refused.
    int OnGridNotify(CGridCtrl& grid, int code, int row, int column) override;
    bool OnRatingEdited(int row, int column);
    // Rates the row as a choice in its rating list does; a rating out of the scale, or a row that
    // is no item, does nothing.
    void RateByKey(int row, int rating);
    // The ID of the item a row shows, kept in its number cell.
    std::int32_t RowId(int row) const;

    bool PlaySongsView(const DisplayMode& songs);
    bool IsRowChecked(int row) const;
    void AppendSpecialRows();
    void SaveColumnWidths();
    void RestoreColumnWidths();
    int PixelWidth(int column, int design) const;
    // Gives the column its designed width, scaled to the font and never narrower than its header.
    void ApplyWidth(int column, int design);

    CLibraryWindow& m_window;
    CLibraryDb& m_db;
    CIniFile m_settings;
    CColumnWidthTable m_widths;
    // The designed width and the pixels each column was given: a column the user did not
    // resize keeps its designed width in the settings file.
    struct AppliedWidth {
        int design = 0;
        int pixels = 0;
    };
    std::array<AppliedWidth, CColumnWidthTable::kColumns> m_applied{};
    CViewHistory m_history;
    std::shared_ptr<const std::vector<std::string>> m_ratingLabels;
    std::vector<std::uint32_t> m_ratingColours;
};

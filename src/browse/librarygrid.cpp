#include "browse/librarygrid.h"

#include <QApplication>
#include <QGuiApplication>
#include <QKeyEvent>
#include <QStyle>

#include <fmt/printf.h>

#include "browse/buttoncells.h"
#include "browse/librarywindow.h"
#include "browse/modetree.h"
#include "browse/underplayedrank.h"
#include "browse/viewquery.h"
#include "browse/viewrowsource.h"
#include "db/dbtable.h"
#include "db/librarydb.h"
#include "engine/transaction.h"
#include "grid/gridcellcheck.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"

namespace {

constexpr int kColumnCount = CColumnWidthTable::kColumns;
const char* const kHeaders[kColumnCount] = {"#",
                                            "",
                                            "",
                                            "",
                                            USER_TEXT_NOOP("CUserText", "Track"),
                                            USER_TEXT_NOOP("CUserText", "Name"),
                                            USER_TEXT_NOOP("CUserText", "Album Name"),
                                            USER_TEXT_NOOP("CUserText", "Artist"),
                                            USER_TEXT_NOOP("CUserText", "Time"),
                                            USER_TEXT_NOOP("CUserText", "BestOf"),
                                            USER_TEXT_NOOP("CUserText", "User Rating"),
                                            USER_TEXT_NOOP("CUserText", "Auto Rating"),
                                            USER_TEXT_NOOP("CUserText", "Total Rating"),
                                            USER_TEXT_NOOP("CUserText", "Plays"),
                                            USER_TEXT_NOOP("CUserText", "Path"),
                                            USER_TEXT_NOOP("CUserText", "IntID"),
                                            USER_TEXT_NOOP("CUserText", "Misc")};

const char* NameHeader(int mode) {
    constexpr const char* kNames[] = {
        USER_TEXT_NOOP("CUserText", "Artist Name"), USER_TEXT_NOOP("CUserText", "Album Name"),
        USER_TEXT_NOOP("CUserText", "Collection Name"), USER_TEXT_NOOP("CUserText", "Song Name")};
    return mode >= 0 && mode < 4 ? kNames[mode] : USER_TEXT_NOOP("CUserText", "Name");
}

bool IsNumberColumn(int column) {
    using G = CLibraryGrid;
    return column == G::kNumberColumn || column == G::kTrackColumn || column == G::kLengthColumn ||
           column == G::kPlaysColumn || column == G::kMiscColumn;
}

// Shows the wait cursor while it lives.
class CWaitCursor {
public:
    CWaitCursor() { QGuiApplication::setOverrideCursor(Qt::WaitCursor); }
    ~CWaitCursor() { QGuiApplication::restoreOverrideCursor(); }
    CWaitCursor(const CWaitCursor&) = delete;
    CWaitCursor& operator=(const CWaitCursor&) = delete;
};

template <typename Cell>
std::unique_ptr<CGridCellBase> MakeCell(std::string text, std::int32_t data = 0) {
    auto cell = std::make_unique<Cell>();
    cell->SetText(std::move(text));
    cell->SetData(data);
    return cell;
}

}  // namespace

CLibraryGrid::CLibraryGrid(CLibraryWindow& window, CLibraryDb& db, const std::string& settingsPath, QWidget* parent)
    : CGridCtrl(parent), m_window(window), m_db(db), m_settings(settingsPath, false) {
    setObjectName(QStringLiteral("libraryGrid"));
    setAccessibleName(QString::fromUtf8(CUserText::tr("Library")));
    m_widths.Load(m_settings);
}

CLibraryGrid::~CLibraryGrid() {
    if (GetColumnTotal() == kColumnCount) {
        SaveColumnWidths();
        m_widths.Save(m_settings);
    }
}

void CLibraryGrid::SetupGrid() {
    SetOwner(this);
    SetRowTotal(1);
    SetColumnTotal(kColumnCount);
    SetFixedRowTotal(1);
    SetFixedColumnTotal(1);
    SetWholeRowSelection(true);
    SetSingleRowSelection(true);
    SetFixedRowSelection(true);
    SetFixedColumnSelection(false);
    SetRowResize(false);
    for (int column = 0; column < kColumnCount; ++column) {
        SetCellText(0, column, CUserText::tr(kHeaders[column]));
        SetCellFormat(0, column, kFormatCentre);
    }
    SetHeaderSort(true);
    SetupColumns();
}

void CLibraryGrid::SetupColumns() {
    const DisplayMode view = CurrentView();
    SetCellText(0, kNameColumn, CUserText::tr(NameHeader(view.mode)));
    const bool underplayed = view.mode == kAlbumsMode && view.submode == kUnderplayedAlbums;
    SetCellText(0, kMiscColumn, underplayed ? CUserText::tr("Rank") : CUserText::tr("Misc"));
    RestoreColumnWidths();
    // The designed heights, or what the font needs where that is more.
    const int designed = view.mode == kSongsMode ? 16 : 18;
    SetDefaultRowHeight(std::max(designed, QFontMetrics(font()).height() + 4));
    ApplyWidth(kMiscColumn, underplayed ? 40 : 0);
}

// The designed width, scaled to the font and never narrower than the column's header.
int CLibraryGrid::PixelWidth(int column, int design) const {
    // Room for the header text and the sort arrow beside it.
    const int header = GetCellObject(0, column)->TextExtent(*this).width() + GetRowHeightAt(0) / 2 + 8;
    return design > 0 ? std::max(FromDesignWidth(design), header) : 0;
}

int CLibraryGrid::SongsViewWidth() const {
    const CColumnWidthTable::Row& row = m_widths[kSongsMode];
    int width = 2 * frameWidth() + style()->pixelMetric(QStyle::PM_ScrollBarExtent, nullptr, this);
    for (int column = 0; column < kColumnCount; ++column) {
        width += PixelWidth(column, row[static_cast<std::size_t>(column)]);
    }
    return width;
}

void CLibraryGrid::ApplyWidth(int column, int design) {
    const int pixels = PixelWidth(column, design);
    SetColumnWidthAt(column, pixels);
    m_applied[static_cast<std::size_t>(column)] = {design, pixels};
}

void CLibraryGrid::SaveColumnWidths() {
    CColumnWidthTable::Row& row = m_widths[CurrentView().mode];
    for (int column = 0; column < kColumnCount; ++column) {
        const AppliedWidth& applied = m_applied[static_cast<std::size_t>(column)];
        const int pixels = GetColumnWidthAt(column);
        row[static_cast<std::size_t>(column)] = pixels == applied.pixels ? applied.design : ToDesignWidth(pixels);
    }
}

void CLibraryGrid::RestoreColumnWidths() {
    const CColumnWidthTable::Row& row = m_widths[CurrentView().mode];
    for (int column = 0; column < kColumnCount; ++column) {
        ApplyWidth(column, row[static_cast<std::size_t>(column)]);
    }
}

// ---- Views ----

void CLibraryGrid::SwitchMode(int mode, int submode, std::int32_t artistId, std::int32_t itemId, SwitchManner manner) {
    if (manner != SwitchManner::Redirect) {
        SaveColumnWidths();
    }
    const std::optional<DisplayMode> view = MakeView(mode, submode, artistId, itemId);
    if (!view) {
        m_window.Messages().Show(
            fmt::sprintf(CUserText::tr("Tried to switch to unsupported display mode %d/%d."), mode, submode));
        return;
    }
    m_history.Push(*view);
    SetupColumns();
    FillRows();
    if (manner == SwitchManner::Show) {
        SelectTreeItemForMode();
    }
    ApplyDefaultSort();
}

std::string CLibraryGrid::BuildViewQuery(bool playFilter) const {
    return ::BuildViewQuery(CurrentView(), m_window.CurrentFilters(), playFilter);
}

bool CLibraryGrid::FillRows() {
    const DisplayMode view = CurrentView();
    m_window.UpdateControls(view);
    ClearNonFixedRows();
    std::vector<std::string> labels;
    m_db.ReadRatingTable(labels, m_ratingColours);
    m_ratingLabels = std::make_shared<const std::vector<std::string>>(std::move(labels));
    CViewRecords records(m_db, BuildViewQuery(false), view.mode);
    std::vector<int> ranks;
    if (view.mode == kAlbumsMode && view.submode == kUnderplayedAlbums) {
        std::vector<std::int32_t> albums;
        albums.reserve(records.Count());
        for (std::size_t record = 0; record < records.Count(); ++record) {
            albums.push_back(records.NumbersOf(record).id);
        }
        ranks = ComputeUnderplayedRanks(m_db, albums, m_window.CurrentFilters().unratedAsRating);
    }
    if (view.mode == kAlbumsMode && view.submode == kAlbumsOfArtist) {
        if (records.Count() == 0) {
            // An artist without albums: the artist's songs take the album list's place.
            m_history.Pop();
            SwitchMode(kSongsMode, kSongsOfArtist, view.artistId, 0, SwitchManner::Redirect);
            return true;
        }
        AppendSpecialRows();
    }
    // The rows get their cells when they are shown.
    AppendRecords(std::make_shared<CViewRowSource>(
        std::move(records), std::move(ranks), CViewRowSource::Shared{m_ratingLabels, m_ratingColours}, GetRowTotal()));
    RepaintAll();
    return true;
}

void CLibraryGrid::AppendSpecialRows() {
    for (const auto& [text, id] : {std::pair{"(All Songs)", 0}, std::pair{"(Unsorted Songs)", -1}}) {
        CellRow cells;
        const std::string number = std::to_string(GetRowTotal());
        for (int column = 0; column < kColumnCount; ++column) {
            switch (column) {
                case kNumberColumn:
                    cells.push_back(MakeCell<CellEditButton>(number, id));
                    break;
                case kExpandColumn:
                    cells.push_back(MakeCell<CellExpandButton>(kExpandButtonText, id));
                    break;
                case kPlayColumn:
                    cells.push_back(MakeCell<CellPlayButton>(kPlayButtonText, id));
                    break;
                default:
                    cells.push_back(MakeCell<CGridCell>(column == kNameColumn ? text : ""));
            }
        }
        AppendCells(std::move(cells));
    }
}

void CLibraryGrid::RefreshView() {
    if (FillRows()) {
        ApplyDefaultSort();
    }
}

void CLibraryGrid::ApplyDefaultSort() {
    const DefaultSort sort = DefaultSortOf(CurrentView());
    SortByColumn(sort.column, sort.ascending);
}

void CLibraryGrid::SortByColumn(int column, bool ascending) {
    const CWaitCursor wait;
    if (IsNumberColumn(column)) {
        SortRowsByNumbers(column, ascending);
    } else {
        SortRowsByText(column, ascending);
    }
}

void CLibraryGrid::SortByHeader(int column, bool ascending) {
    SortByColumn(column, ascending);
}

void CLibraryGrid::DrillDown(std::int32_t id) {
    if (const std::optional<DisplayMode> view = DrillDownView(CurrentView(), id)) {
        SwitchMode(view->mode, view->submode, view->artistId, view->itemId);
    }
}

void CLibraryGrid::GoBack() {
    m_history.Pop();
    SetupColumns();
    FillRows();
    SelectTreeItemForMode();
}

void CLibraryGrid::SelectTreeItemForMode() {
    m_window.SelectTreeEntry(TreeEntryOfView(CurrentView()));
}

// ---- Check boxes ----

void CLibraryGrid::CheckAll() {
    if (CurrentView().mode != kSongsMode) {
        return;
    }
    const bool tick = CountCheckedRows() < GetRowTotal() - GetFixedRowTotal();
    for (int row = GetFixedRowTotal(); row < GetRowTotal(); ++row) {
        if (auto* check = dynamic_cast<CGridCellCheck*>(GetCellObject(row, kCheckColumn))) {
            check->SetCheck(tick);
        }
    }
}

int CLibraryGrid::CountCheckedRows() const {
    return static_cast<int>(GetCheckedIds().size());
}

std::vector<std::int32_t> CLibraryGrid::GetCheckedIds() const {
    std::vector<std::int32_t> ids;
    if (CurrentView().mode != kSongsMode) {
        return ids;
    }
    for (int row = GetFixedRowTotal(); row < GetRowTotal(); ++row) {
        if (IsRowChecked(row)) {
            ids.push_back(RowId(row));
        }
    }
    return ids;
}

bool CLibraryGrid::IsRowChecked(int row) const {
    if (!HasCells(row)) {
        return false;  // its box was never shown, so never ticked
    }
    const auto* check = dynamic_cast<const CGridCellCheck*>(GetCellObject(row, kCheckColumn));
    return check != nullptr && check->GetCheck();
}

bool CLibraryGrid::PlayItem(std::int32_t id) {
    const DisplayMode view = CurrentView();
    if (view.mode == kSongsMode) {
        return m_window.PlaySong(id);
    }
    if (const std::optional<DisplayMode> songs = PlayItemView(view, id)) {
        return PlaySongsView(*songs);
    }
    m_window.Messages().Show(fmt::sprintf(CUserText::tr("Error: Trying to play from display mode %d/%d unimplemented."),
                                          view.mode, view.submode));
    return false;
}

bool CLibraryGrid::PlayAll() {
    const DisplayMode view = CurrentView();
    if (view.mode == kSongsMode) {
        return m_window.PlayListedSongs();
    }
    if (const std::optional<DisplayMode> songs = PlayAllView(view)) {
        return PlaySongsView(*songs);
    }
    m_window.Messages().Show(fmt::sprintf(
        CUserText::tr("Error: Trying to play all from display mode %d/%d unimplemented."), view.mode, view.submode));
    return false;
}

bool CLibraryGrid::PlaySongsView(const DisplayMode& songs) {
    // The Songs view's statement is built without making the view current, so neither the
    // history nor the rows change.
    return m_window.PlayQuery(::BuildViewQuery(songs, m_window.CurrentFilters(), true));
}

void CLibraryGrid::GetListedSongs(NameList& paths, IdList& ids) const {
    paths.clear();
    ids.clear();
    if (CurrentView().mode != kSongsMode) {
        return;
    }
    const bool onlyChecked = CountCheckedRows() > 0;
    for (int row = GetFixedRowTotal(); row < GetRowTotal(); ++row) {
        if (!onlyChecked || IsRowChecked(row)) {
            paths.push_back(GetCellText(row, kPathColumn));
            ids.push_back(RowId(row));
        }
    }
}

std::int32_t CLibraryGrid::GetFirstCheckedId() const {
    const std::vector<std::int32_t> ids = GetCheckedIds();
    return ids.empty() ? 0 : ids.front();
}

std::int32_t CLibraryGrid::CurrentRowItemId() const {
    const int row = GetFocusCell().first;
    return row >= GetFixedRowTotal() ? RowId(row) : 0;
}

std::int32_t CLibraryGrid::RowId(int row) const {
    return GetCellData(row, kNumberColumn);
}

void CLibraryGrid::SetRowColour(int row, std::uint32_t colour) {
    for (int column = 1; column < kColumnCount; ++column) {
        if (CGridCellBase* cell = GetCellObject(row, column)) {
            cell->SetBackColour(colour);
        }
    }
    RedrawRow(row);
}

// ---- Ratings ----

int CLibraryGrid::OnGridNotify(CGridCtrl& /*grid*/, int code, int row, int column) {
    if (code == kGridBeginEdit) {
        return column == kUserRatingColumn ? 0 : -1;
    }
    if (code == kGridEndEdit) {
        return OnRatingEdited(row, column) ? 0 : -1;
    }
    return 0;
}

bool CLibraryGrid::OnRatingEdited(int row, int column) {
    if (m_window.IsReadOnly() || column != kUserRatingColumn) {
        return false;
    }
    const int rating = std::atoi(GetCellText(row, column).c_str());
    const std::int32_t id = GetCellData(row, column);
    bool stored = false;
    double storedAutoRating = 0.0;
    m_window.RunCommand([&] {
        storedAutoRating = m_db.StoreUserRating(ItemKindOfView(CurrentView()), id, rating);
        stored = true;
    });
    if (!stored) {
        return false;
    }
    const int mode = CurrentView().mode;
    const int labelCount = static_cast<int>(m_ratingColours.size());
    if (labelCount > 0) {
        const int colour = ColourRating(rating, storedAutoRating, mode, labelCount);
        SetRowColour(row, m_ratingColours[static_cast<std::size_t>(colour)]);
    }
    const double shownAutoRating = mode == kSongsMode ? 0.0 : std::atof(GetCellText(row, kAutoRatingColumn).c_str());
    SetCellText(row, kTotalRatingColumn, TotalRatingText(rating, shownAutoRating));
    RepaintAll();
    return true;
}

// ---- Row buttons ----

void CLibraryGrid::keyPressEvent(QKeyEvent* event) {
    const auto [row, column] = GetFocusCell();
    if (row < GetFixedRowTotal() || GetEditor() != nullptr) {
        CGridCtrl::keyPressEvent(event);
        return;
    }
    const int key = event->key();
    const bool enter = key == Qt::Key_Return || key == Qt::Key_Enter;
    const bool control = (event->modifiers() & Qt::ControlModifier) != 0;
    if (column == kUserRatingColumn && (enter || key == Qt::Key_Space)) {
        BeginEdit(row, column);  // the list of ratings, as a double-click opens it
    } else if (control && key >= Qt::Key_0 && key <= Qt::Key_7) {
        RateByKey(row, key - Qt::Key_0);
    } else if (key == Qt::Key_Plus || key == Qt::Key_Minus) {
        RateByKey(row, std::atoi(GetCellText(row, kUserRatingColumn).c_str()) + (key == Qt::Key_Plus ? 1 : -1));
    } else if (enter && (event->modifiers() & Qt::ShiftModifier) != 0) {
        RunEditItem(RowId(row));
    } else if (enter) {
        if (RowId(row) >= 1) {
            RunPlayItem(RowId(row));
        }
    } else {
        CGridCtrl::keyPressEvent(event);
    }
}

void CLibraryGrid::RateByKey(int row, int rating) {
    const std::vector<std::string>& labels = *m_ratingLabels;
    if (RowId(row) < 1 || rating < 0 || rating >= static_cast<int>(labels.size())) {
        return;  // the special rows of an artist's albums have no rating
    }
    // As a choice in the list: the cell shows the label, and the rating is stored or refused.
    const std::string before = GetCellText(row, kUserRatingColumn);
    SetCellText(row, kUserRatingColumn, labels[static_cast<std::size_t>(rating)]);
    if (!OnRatingEdited(row, kUserRatingColumn)) {
        SetCellText(row, kUserRatingColumn, before);
    }
}

void CLibraryGrid::RunDrillDown(std::int32_t id) {
    m_window.RunCommand([this, id] { DrillDown(id); });
}

void CLibraryGrid::RunPlayItem(std::int32_t id) {
    m_window.RunCommand([this, id] { PlayItem(id); });
}

void CLibraryGrid::RunEditItem(std::int32_t id) {
    m_window.RunCommand([this, id] {
        if (m_window.EditItem(ItemKindOfView(CurrentView()), id)) {
            RefreshView();
        }
    });
}

void CLibraryGrid::RunSwitchMode(int mode, int submode, std::int32_t artistId, std::int32_t itemId) {
    m_window.RunCommand([=, this] { SwitchMode(mode, submode, artistId, itemId); });
}

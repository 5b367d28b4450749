#include "browse/viewrowsource.h"

#include <fmt/printf.h>

#include "browse/buttoncells.h"
#include "browse/librarygrid.h"
#include "grid/gridcellcheck.h"
#include "grid/gridcellcombo.h"

namespace {

using G = CLibraryGrid;

std::unique_ptr<CGridCellBase> NewCellOf(int column) {
    switch (column) {
        case G::kNumberColumn:
            return std::make_unique<CellEditButton>();
        case G::kExpandColumn:
            return std::make_unique<CellExpandButton>();
        case G::kCheckColumn:
            return std::make_unique<CGridCellCheck>();
        case G::kPlayColumn:
            return std::make_unique<CellPlayButton>();
        case G::kAlbumColumn:
            return std::make_unique<CellAlbumButton>();
        case G::kArtistColumn:
            return std::make_unique<CellArtistButton>();
        case G::kUserRatingColumn:
            return std::make_unique<CGridCellCombo>();
        default:
            return std::make_unique<CGridCell>();
    }
}

}  // namespace

CViewRowSource::CViewRowSource(CViewRecords records, std::vector<int> ranks, Shared shared, int firstRow)
    : m_records(std::move(records)), m_ranks(std::move(ranks)), m_shared(std::move(shared)), m_firstRow(firstRow) {}

std::vector<std::unique_ptr<CGridCellBase>> CViewRowSource::MakeCells(std::size_t record) const {
    std::vector<std::unique_ptr<CGridCellBase>> cells;
    cells.reserve(CColumnWidthTable::kColumns);
    const std::uint32_t colour = BackColour(m_records.NumbersOf(record));
    for (int column = 0; column < CColumnWidthTable::kColumns; ++column) {
        std::unique_ptr<CGridCellBase> cell = NewCellOf(column);
        if (auto* combo = dynamic_cast<CGridCellCombo*>(cell.get())) {
            combo->SetOptions(m_shared.ratingLabels);
        }
        cell->SetText(CellText(record, column));
        cell->SetData(CellData(record, column));
        if (column != G::kNumberColumn) {
            cell->SetBackColour(colour);
        }
        cells.push_back(std::move(cell));
    }
    return cells;
}

std::optional<std::string_view> CViewRowSource::StoredText(std::size_t record, int column) const {
    // The records hold no text the view's mode does not show: those are empty.
    switch (column) {
        case G::kTrackColumn:
            return m_records.TextOf(record, CViewRecords::kTrack);
        case G::kNameColumn:
            if (m_records.NumbersOf(record).unsorted) {
                return std::nullopt;  // marked
            }
            return m_records.TextOf(record, CViewRecords::kName);
        case G::kAlbumColumn:
            return m_records.TextOf(record, CViewRecords::kAlbumName);
        case G::kArtistColumn:
            return m_records.TextOf(record, CViewRecords::kArtistName);
        case G::kLengthColumn:
            return m_records.TextOf(record, CViewRecords::kLength);
        case G::kPathColumn:
            return m_records.TextOf(record, CViewRecords::kFilePath);
        case G::kExpandColumn:
            return kExpandButtonText;
        case G::kPlayColumn:
            return kPlayButtonText;
        case G::kCheckColumn:
        case G::kBestOfColumn:
            return "";
        case G::kUserRatingColumn: {
            const std::vector<std::string>& labels = *m_shared.ratingLabels;
            return labels.empty()
                       ? ""
                       : std::string_view(labels[static_cast<std::size_t>(ShownRating(m_records.NumbersOf(record)))]);
        }
        default:
            return std::nullopt;
    }
}

std::string CViewRowSource::CellText(std::size_t record, int column) const {
    if (const std::optional<std::string_view> stored = StoredText(record, column)) {
        return std::string(*stored);
    }
    const CViewRecords::Numbers& numbers = m_records.NumbersOf(record);
    const bool songs = m_records.Mode() == kSongsMode;
    switch (column) {
        case G::kNumberColumn:
            return std::to_string(m_firstRow + static_cast<long>(record));
        case G::kNameColumn:
            return "* " + std::string(m_records.TextOf(record, CViewRecords::kName));
        case G::kAutoRatingColumn:
            return songs ? "" : fmt::sprintf("%.2f", numbers.autoRating);
        case G::kTotalRatingColumn:
            return TotalRatingText(ShownRating(numbers), songs ? 0.0 : numbers.autoRating);
        case G::kPlaysColumn:
            return songs ? std::to_string(numbers.playCount) : "";
        case G::kIdColumn:
            return std::to_string(numbers.id);
        case G::kMiscColumn:
            return std::to_string(m_ranks.empty() ? 0 : m_ranks[record]);
        default:
            return "";
    }
}

std::int32_t CViewRowSource::CellData(std::size_t record, int column) const {
    const CViewRecords::Numbers& numbers = m_records.NumbersOf(record);
    switch (column) {
        case G::kNumberColumn:
        case G::kExpandColumn:
        case G::kCheckColumn:
        case G::kPlayColumn:
        case G::kUserRatingColumn:
        case G::kIdColumn:
            return numbers.id;
        case G::kAlbumColumn:
            return numbers.albumId;
        case G::kArtistColumn:
            return numbers.artistId;
        default:
            return 0;
    }
}

int CViewRowSource::ShownRating(const CViewRecords::Numbers& numbers) const {
    const int labelCount = static_cast<int>(m_shared.ratingLabels->size());
    return numbers.userRating >= 0 && numbers.userRating < labelCount ? numbers.userRating : 0;
}

std::uint32_t CViewRowSource::BackColour(const CViewRecords::Numbers& numbers) const {
    const int labelCount = static_cast<int>(m_shared.ratingColours.size());
    if (labelCount == 0) {
        return kUseDefaultColour;
    }
    const int rating = ColourRating(numbers.userRating, numbers.autoRating, m_records.Mode(), labelCount);
    return m_shared.ratingColours[static_cast<std::size_t>(rating)];
}

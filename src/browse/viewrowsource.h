#pragma once

#include <cstdint>
#include <memory>
#include <string>
#include <vector>

#include "browse/viewrows.h"
#include "grid/gridrowsource.h"

// The records of one filling of the library grid, and the cells each row shows of its record:
// its buttons, texts, the rating list and the colour of its rating. The grid makes the cells of a
// row only when it is drawn or asked for, so a view of many songs holds records, not cells.
class CViewRowSource final : public CGridRowSource {
public:
    // What every row of the view shares: the rating names and their colours.
    struct Shared {
        std::shared_ptr<const std::vector<std::string>> ratingLabels;
        std::vector<std::uint32_t> ratingColours;
    };

    // `firstRow` is the grid row of the first record (its number in the "#" column); `ranks`, one
    // for each record or none, fill the Misc column.
    CViewRowSource(CViewRecords records, std::vector<int> ranks, Shared shared, int firstRow);

    std::size_t RecordCount() const override { return m_records.Count(); }
    std::vector<std::unique_ptr<CGridCellBase>> MakeCells(std::size_t record) const override;
    std::string CellText(std::size_t record, int column) const override;
    std::int32_t CellData(std::size_t record, int column) const override;
    std::optional<std::string_view> StoredText(std::size_t record, int column) const override;

private:
    // The shown user rating: one of the names, else 0.
    int ShownRating(const CViewRecords::Numbers& numbers) const;
    std::uint32_t BackColour(const CViewRecords::Numbers& numbers) const;

    CViewRecords m_records;
    std::vector<int> m_ranks;
    Shared m_shared;
    int m_firstRow;
};

#pragma once

#include <cstddef>
#include <cstdint>
#include <memory>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

#include "grid/gridcellbase.h"

// Where the cells of a grid's rows come from when the grid makes them only as they are needed
// (drawn, edited, asked for): a long list costs one record per row, not a row of cell objects.
// What the cells show of a record must not change while the grid holds its rows.
class CGridRowSource {
public:
    virtual ~CGridRowSource() = default;

    virtual std::size_t RecordCount() const = 0;
    // The cells of `record`, one per column.
    virtual std::vector<std::unique_ptr<CGridCellBase>> MakeCells(std::size_t record) const = 0;
    // The text and the data the cell of `record` in `column` is made with.
    virtual std::string CellText(std::size_t record, int column) const = 0;
    virtual std::int32_t CellData(std::size_t record, int column) const = 0;
    // The same text as CellText, as a view into the record where it holds the text as shown
    // (it stays valid while the source lives); none where the text is made. For sorting without
    // copies.
    virtual std::optional<std::string_view> StoredText(std::size_t /*record*/, int /*column*/) const {
        return std::nullopt;
    }
};

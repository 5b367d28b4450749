#pragma once

#include <string>

#include "grid/gridcell.h"
#include "platform/usertext.h"

class CLibraryGrid;

// The texts of the expand and play buttons (they are drawn as glyphs).
constexpr const char* kExpandButtonText = "\\/";
constexpr const char* kPlayButtonText = "|>";

// The button cells of the library grid's rows. Each acts on its data (a record ID) through the
// grid that holds it.

// Expands the row into the view below it (a click or a double-click); drawn as an expander.
class CellExpandButton : public CGridCell {
public:
    std::string AccessibleName(const CGridCtrl& grid) const override;
    void Draw(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const override;
    bool OnClick(CGridCtrl& grid, int row, int column, const QPoint& point, const QRect& rect) override;
    bool OnDblClick(CGridCtrl& grid, int row, int column, const QPoint& point, const QRect& rect) override;
};

// Plays the row's item (a double-click; data below 1 does nothing); drawn as a play arrow.
class CellPlayButton : public CGridCell {
public:
    std::string AccessibleName(const CGridCtrl& /*grid*/) const override { return CUserText::tr("Play"); }
    void Draw(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const override;
    bool OnDblClick(CGridCtrl& grid, int row, int column, const QPoint& point, const QRect& rect) override;
};

// Opens the Edit Item dialog for the row's item (a double-click); drawn as its text.
class CellEditButton : public CGridCell {
public:
    std::string AccessibleName(const CGridCtrl& /*grid*/) const override { return CUserText::tr("Edit ") + GetText(); }
    bool OnDblClick(CGridCtrl& grid, int row, int column, const QPoint& point, const QRect& rect) override;
};

// Shows the albums of the row's artist (a double-click).
class CellArtistButton : public CGridCell {
public:
    bool OnDblClick(CGridCtrl& grid, int row, int column, const QPoint& point, const QRect& rect) override;
};

// Shows the songs of the row's album (a double-click).
class CellAlbumButton : public CGridCell {
public:
    bool OnDblClick(CGridCtrl& grid, int row, int column, const QPoint& point, const QRect& rect) override;
};

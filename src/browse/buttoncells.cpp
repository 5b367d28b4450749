#include "browse/buttoncells.h"

#include <QPainter>
#include <QPainterPath>
#include <QStyleOption>

#include "browse/librarygrid.h"
#include "platform/usertext.h"

namespace {

CLibraryGrid* LibraryGridOf(CGridCtrl& grid) {
    return dynamic_cast<CLibraryGrid*>(&grid);
}

const CLibraryGrid* LibraryGridOf(const CGridCtrl& grid) {
    return dynamic_cast<const CLibraryGrid*>(&grid);
}

// A square of `side` centred in `rect`.
QRectF CentredSquare(const QRect& rect, qreal side) {
    return {rect.center().x() - side / 2 + 0.5, rect.center().y() - side / 2 + 0.5, side, side};
}

}  // namespace

std::string CellExpandButton::AccessibleName(const CGridCtrl& grid) const {
    const CLibraryGrid* library = LibraryGridOf(grid);
    return library != nullptr && library->CurrentView().mode == kArtistsMode ? CUserText::tr("Show albums")
                                                                             : CUserText::tr("Show songs");
}

void CellExpandButton::Draw(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const {
    DrawBackground(painter, rect, grid);
    // A chevron pointing down into the row's contents, as tree views draw an expander.
    const QRectF box = CentredSquare(rect, std::min(rect.width(), rect.height()) * 0.45);
    QPainterPath chevron;
    chevron.moveTo(box.left(), box.top() + box.height() * 0.3);
    chevron.lineTo(box.center().x(), box.bottom() - box.height() * 0.2);
    chevron.lineTo(box.right(), box.top() + box.height() * 0.3);
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(
        QPen(ForegroundColour(grid), std::max(1.5, box.width() / 5), Qt::SolidLine, Qt::RoundCap, Qt::RoundJoin));
    painter.drawPath(chevron);
    painter.restore();
}

bool CellExpandButton::OnClick(CGridCtrl& grid, int, int, const QPoint&, const QRect&) {
    if (CLibraryGrid* library = LibraryGridOf(grid)) {
        library->RunDrillDown(GetData());  // may delete this cell: nothing of it is used after
    }
    return true;
}

bool CellExpandButton::OnDblClick(CGridCtrl& grid, int row, int column, const QPoint& point, const QRect& rect) {
    return OnClick(grid, row, column, point, rect);
}

void CellPlayButton::Draw(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const {
    DrawBackground(painter, rect, grid);
    // The media player's play triangle.
    const QRectF box = CentredSquare(rect, std::min(rect.width(), rect.height()) * 0.5);
    const QPointF triangle[] = {box.topLeft() + QPointF(box.width() * 0.1, 0), QPointF(box.right(), box.center().y()),
                                box.bottomLeft() + QPointF(box.width() * 0.1, 0)};
    painter.save();
    painter.setRenderHint(QPainter::Antialiasing);
    painter.setPen(Qt::NoPen);
    painter.setBrush(ForegroundColour(grid));
    painter.drawPolygon(triangle, 3);
    painter.restore();
}

bool CellPlayButton::OnDblClick(CGridCtrl& grid, int, int, const QPoint&, const QRect&) {
    CLibraryGrid* library = LibraryGridOf(grid);
    if (library != nullptr && GetData() >= 1) {
        library->RunPlayItem(GetData());
    }
    return true;
}

bool CellEditButton::OnDblClick(CGridCtrl& grid, int, int, const QPoint&, const QRect&) {
    if (CLibraryGrid* library = LibraryGridOf(grid)) {
        library->RunEditItem(GetData());
    }
    return true;
}

bool CellArtistButton::OnDblClick(CGridCtrl& grid, int, int, const QPoint&, const QRect&) {
    if (CLibraryGrid* library = LibraryGridOf(grid)) {
        library->RunSwitchMode(kAlbumsMode, kAlbumsOfArtist, GetData(), 0);
    }
    return true;
}

bool CellAlbumButton::OnDblClick(CGridCtrl& grid, int, int, const QPoint&, const QRect&) {
    if (CLibraryGrid* library = LibraryGridOf(grid)) {
        library->RunSwitchMode(kSongsMode, kSongsOfAlbum, 0, GetData());
    }
    return true;
}

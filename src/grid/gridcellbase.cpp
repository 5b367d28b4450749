#include "grid/gridcellbase.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionHeader>

#include "grid/gridctrl.h"
#include "grid/griddefaultcell.h"
#include "widgets/displaytext.h"

namespace {

QColor ColourOf(std::uint32_t colour, const QColor& fallback) {
    return colour == kUseDefaultColour ? fallback : QColor::fromRgb(static_cast<QRgb>(colour | 0xFF000000u));
}

Qt::Alignment AlignmentOf(std::uint32_t format) {
    const Qt::Alignment horizontal = (format & kFormatCentre) != 0  ? Qt::AlignHCenter
                                     : (format & kFormatRight) != 0 ? Qt::AlignRight
                                                                    : Qt::AlignLeft;
    return horizontal | Qt::AlignVCenter;
}

}  // namespace

CGridCellBase::~CGridCellBase() = default;

void CGridCellBase::SetFont(const QFont* font) {
    m_font = font != nullptr ? std::make_unique<QFont>(*font) : nullptr;
}

void CGridCellBase::TakeOver(const CGridCellBase& other) {
    m_text = other.m_text;
    m_image = other.m_image;
    m_data = other.m_data;
    m_state = other.m_state;
    m_format = other.m_format;
    m_textColour = other.m_textColour;
    m_backColour = other.m_backColour;
    m_margin = other.m_margin;
    SetFont(other.GetFont());
}

QRect CGridCellBase::TextRect(const QRect& rect, const CGridCtrl& grid) const {
    const int margin = m_margin >= 0 ? m_margin : grid.DefaultCellOf(m_state).GetMargin();
    return rect.adjusted(margin, 0, -margin, 0);
}

void CGridCellBase::DrawBackground(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const {
    if ((m_state & kCellFixed) != 0 && m_backColour == kUseDefaultColour) {
        // Header cells look like the desktop's own table headers.
        QStyleOptionHeader header;
        header.initFrom(&grid);
        header.rect = rect;
        header.orientation = (m_state & kCellFixedRow) != 0 ? Qt::Horizontal : Qt::Vertical;
        header.position = QStyleOptionHeader::Middle;
        header.state |= QStyle::State_Raised;
        grid.style()->drawControl(QStyle::CE_HeaderSection, &header, &painter, &grid);
        return;
    }
    const CGridDefaultCell& defaults = grid.DefaultCellOf(m_state);
    QColor background = ColourOf(m_backColour, defaults.BackColour());
    if ((m_state & kCellSelected) != 0 && (m_state & kCellFixed) == 0) {
        background = grid.palette().color(grid.hasFocus() ? QPalette::Active : QPalette::Inactive, QPalette::Highlight);
    }
    painter.fillRect(rect, background);
    if ((m_state & kCellFocused) != 0 && !grid.IsWholeRowSelection()) {
        painter.setPen(QPen(grid.palette().color(QPalette::Highlight).darker(), 1));
        painter.drawRect(rect.adjusted(0, 0, -1, -1));
    }
}

void CGridCellBase::DrawText(QPainter& painter, const QRect& textRect, const CGridCtrl& grid) const {
    painter.setPen(ForegroundColour(grid));
    painter.setFont(grid.FontOf(*this));
    const QString text = DisplayText(m_text);
    const QString shown = painter.fontMetrics().elidedText(text, Qt::ElideRight, textRect.width());
    painter.drawText(textRect, static_cast<int>(AlignmentOf(m_format) | Qt::TextSingleLine), shown);
}

QColor CGridCellBase::ForegroundColour(const CGridCtrl& grid) const {
    if ((m_state & kCellSelected) != 0 && (m_state & kCellFixed) == 0) {
        return grid.palette().color(QPalette::HighlightedText);
    }
    if (m_textColour == kUseDefaultColour && m_backColour != kUseDefaultColour) {
        return qGray(static_cast<QRgb>(m_backColour)) >= 128 ? QColor(Qt::black) : QColor(Qt::white);
    }
    return ColourOf(m_textColour, grid.DefaultCellOf(m_state).TextColour());
}

void CGridCellBase::DrawAsHeader(QPainter& painter, const QRect& rect, const CGridCtrl& grid, int reserved) const {
    DrawBackground(painter, rect, grid);
    DrawText(painter, TextRect(rect, grid).adjusted(0, 0, -reserved, 0), grid);
}

void CGridCellBase::Draw(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const {
    DrawBackground(painter, rect, grid);
    DrawText(painter, TextRect(rect, grid), grid);
}

QWidget* CGridCellBase::CreateEditor(QWidget* parent, const std::string& initial) const {
    auto* editor = new QLineEdit(parent);
    editor->setFrame(false);
    editor->setText(DisplayText(initial));
    return editor;
}

std::string CGridCellBase::EditorText(QWidget* editor) const {
    return static_cast<QLineEdit*>(editor)->text().toStdString();
}

QSize CGridCellBase::TextExtent(const CGridCtrl& grid) const {
    const QFontMetrics metrics(grid.FontOf(*this));
    const int margin = m_margin >= 0 ? m_margin : grid.DefaultCellOf(m_state).GetMargin();
    const QString text = DisplayText(m_text);
    return {metrics.horizontalAdvance(text) + 2 * margin + 1, metrics.height() + 4};
}

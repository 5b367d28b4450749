#include "grid/gridcellbase.h"

#include <QFontMetrics>
#include <QLineEdit>
#include <QPainter>
#include <QStyleOptionHeader>

#include <array>
#include <cstddef>
#include <new>
#include <vector>

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

// Cells of each size, carved out of large blocks and kept for reuse when freed: the grid's
// cells are made and dropped together, millions at a time. A free slot holds the link to the
// next free slot of its size. The window's thread alone makes and drops cells. Under
// AddressSanitizer each cell is a heap block of its own, so that a use after its end is still
// found.
class CCellPool {
public:
    void* Allocate(std::size_t size) {
        if (kPlainHeap || size > kLargest) {
            return ::operator new(size);
        }
        FreeSlot*& free = m_free[SizeClass(size)];
        if (free == nullptr) {
            Carve(size, free);
        }
        FreeSlot* slot = free;
        free = slot->next;
        return slot;
    }

    void Free(void* cell, std::size_t size) {
        if (kPlainHeap || size > kLargest) {
            ::operator delete(cell, size);
            return;
        }
        FreeSlot*& free = m_free[SizeClass(size)];
        free = new (cell) FreeSlot{free};
    }

private:
    struct FreeSlot {
        FreeSlot* next;
    };
#if defined(__SANITIZE_ADDRESS__)
    static constexpr bool kPlainHeap = true;
#else
    static constexpr bool kPlainHeap = false;
#endif
    static constexpr std::size_t kGranule = alignof(std::max_align_t);
    static constexpr std::size_t kLargest = 256;
    static constexpr std::size_t kBlockBytes = std::size_t{1} << 16;

    static std::size_t SizeClass(std::size_t size) {
        return (size + kGranule - 1) / kGranule;
    }

    void Carve(std::size_t size, FreeSlot*& free) {
        const std::size_t slot = SizeClass(size) * kGranule;
        std::byte* block = m_blocks.emplace_back(new std::byte[kBlockBytes]).get();
        for (std::size_t offset = kBlockBytes / slot * slot; offset >= slot; offset -= slot) {
            free = new (block + offset - slot) FreeSlot{free};
        }
    }

    std::vector<std::unique_ptr<std::byte[]>> m_blocks;
    std::array<FreeSlot*, kLargest / kGranule + 1> m_free{};
};

CCellPool& CellPool() {
    static CCellPool pool;
    return pool;
}

}  // namespace

CGridCellBase::~CGridCellBase() = default;

void* CGridCellBase::operator new(std::size_t size) {
    return CellPool().Allocate(size);
}

void CGridCellBase::operator delete(void* cell, std::size_t size) {
    CellPool().Free(cell, size);
}

CGridCellBase::Looks& CGridCellBase::OwnLooks() {
    if (!m_looks) {
        m_looks = std::make_unique<Looks>();
    }
    return *m_looks;
}

void CGridCellBase::SetTextColour(std::uint32_t colour) {
    if (m_looks || colour != kUseDefaultColour) {
        OwnLooks().textColour = colour;
    }
}

void CGridCellBase::SetFont(const QFont* font) {
    if (m_looks || font != nullptr) {
        OwnLooks().font = font != nullptr ? std::make_unique<QFont>(*font) : nullptr;
    }
}

void CGridCellBase::TakeOver(const CGridCellBase& other) {
    m_text = other.m_text;
    m_data = other.m_data;
    m_state = other.m_state;
    m_format = other.m_format;
    m_backColour = other.m_backColour;
    m_looks.reset();
    if (other.m_looks) {
        SetImage(other.GetImage());
        SetTextColour(other.GetTextColour());
        SetMargin(other.GetMargin());
        SetFont(other.GetFont());
    }
}

QRect CGridCellBase::TextRect(const QRect& rect, const CGridCtrl& grid) const {
    const int margin = GetMargin() >= 0 ? GetMargin() : grid.DefaultCellOf(m_state).GetMargin();
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
    const std::uint32_t textColour = GetTextColour();
    if (textColour == kUseDefaultColour && m_backColour != kUseDefaultColour) {
        return qGray(static_cast<QRgb>(m_backColour)) >= 128 ? QColor(Qt::black) : QColor(Qt::white);
    }
    return ColourOf(textColour, grid.DefaultCellOf(m_state).TextColour());
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
    const int margin = GetMargin() >= 0 ? GetMargin() : grid.DefaultCellOf(m_state).GetMargin();
    const QString text = DisplayText(m_text);
    return {metrics.horizontalAdvance(text) + 2 * margin + 1, metrics.height() + 4};
}

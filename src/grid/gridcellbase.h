#pragma once

#include <QColor>
#include <QRect>

#include <cstddef>
#include <cstdint>
#include <memory>
#include <string>
#include <utility>

class CGridCtrl;
class QFont;
class QPainter;
class QPoint;
class QWidget;

// Cell state flags.
constexpr std::uint32_t kCellFocused = 0x01;
constexpr std::uint32_t kCellSelected = 0x02;
constexpr std::uint32_t kCellReadOnly = 0x08;
constexpr std::uint32_t kCellFixed = 0x10;
constexpr std::uint32_t kCellFixedRow = 0x20;
constexpr std::uint32_t kCellFixedColumn = 0x40;

// Cell format flags (text alignment).
constexpr std::uint32_t kFormatLeft = 0x0;
constexpr std::uint32_t kFormatCentre = 0x1;
constexpr std::uint32_t kFormatRight = 0x2;

// A colour 0xRRGGBB; kUseDefaultColour takes the colour of the cell's default cell.
constexpr std::uint32_t kUseDefaultColour = 0xFF000000;

// One cell of a CGridCtrl: its text (bytes, shown as UTF-8 as well as possible), data, state and
// look, and the hooks through which it draws itself, reacts to the mouse and is edited.
class CGridCellBase {
public:
    CGridCellBase() = default;
    virtual ~CGridCellBase();
    CGridCellBase(const CGridCellBase&) = delete;
    CGridCellBase& operator=(const CGridCellBase&) = delete;
    // A grid holds millions of cells: they come from a pool of their own, without the heap's
    // bookkeeping on each.
    static void* operator new(std::size_t size);
    static void operator delete(void* cell, std::size_t size);

    void SetText(std::string text) { m_text = std::move(text); }
    const std::string& GetText() const { return m_text; }
    void SetImage(int image) { OwnLooks().image = static_cast<std::int16_t>(image); }
    int GetImage() const { return m_looks ? m_looks->image : -1; }
    void SetData(std::int32_t data) { m_data = data; }
    std::int32_t GetData() const { return m_data; }
    void SetState(std::uint32_t state) { m_state = state; }
    std::uint32_t GetState() const { return m_state; }
    void SetFormat(std::uint32_t format) { m_format = format; }
    std::uint32_t GetFormat() const { return m_format; }
    void SetTextColour(std::uint32_t colour);
    std::uint32_t GetTextColour() const { return m_looks ? m_looks->textColour : kUseDefaultColour; }
    void SetBackColour(std::uint32_t colour) { m_backColour = colour; }
    std::uint32_t GetBackColour() const { return m_backColour; }
    void SetFont(const QFont* font);
    // The cell's own font, or null when it uses its default cell's.
    const QFont* GetFont() const { return m_looks ? m_looks->font.get() : nullptr; }
    void SetMargin(int margin) { OwnLooks().margin = static_cast<std::int16_t>(margin); }
    int GetMargin() const { return m_looks ? m_looks->margin : -1; }

    // Tells the cell which grid holds it (cells that repaint themselves keep it).
    virtual void SetGrid(CGridCtrl* /*grid*/) {}

    // The text of the title tip for a cut-off text.
    virtual std::string GetTipText() const { return m_text; }
    // What a screen reader calls the cell: its text, or what a button cell does.
    virtual std::string AccessibleName(const CGridCtrl& /*grid*/) const { return m_text; }

    // Takes over text, image, data, state and look of `other` (when a cell's class changes).
    void TakeOver(const CGridCellBase& other);

    // Draws the cell into `rect`, with the defaults of `grid` where the cell has none.
    virtual void Draw(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const;
    // Draws a header cell whose right `reserved` pixels another mark (the sort arrow) takes.
    void DrawAsHeader(QPainter& painter, const QRect& rect, const CGridCtrl& grid, int reserved) const;

    // Mouse hooks, with the point relative to the cell's rectangle. A hook that returns true
    // has handled the event (a check box toggled, a button pressed).
    virtual bool OnClickDown(const QPoint& /*point*/, const QRect& /*rect*/) { return false; }
    virtual bool OnClick(CGridCtrl& /*grid*/, int /*row*/, int /*column*/, const QPoint& /*point*/,
                         const QRect& /*rect*/) {
        return false;
    }
    virtual bool OnDblClick(CGridCtrl& /*grid*/, int /*row*/, int /*column*/, const QPoint& /*point*/,
                            const QRect& /*rect*/) {
        return false;
    }

    // The in-place editor, opened with `initial` as its text; the grid owns and places it.
    virtual QWidget* CreateEditor(QWidget* parent, const std::string& initial) const;
    // The text an editor made by CreateEditor holds.
    virtual std::string EditorText(QWidget* editor) const;

    // The room the text needs, for sizing a column to its widest text.
    virtual QSize TextExtent(const CGridCtrl& grid) const;

protected:
    // The rectangle the text is drawn in, inside the margin.
    QRect TextRect(const QRect& rect, const CGridCtrl& grid) const;
    void DrawBackground(QPainter& painter, const QRect& rect, const CGridCtrl& grid) const;
    void DrawText(QPainter& painter, const QRect& textRect, const CGridCtrl& grid) const;
    // The colour the cell's text (or glyph) is drawn in: its own, the selection's, or on a
    // background colour of its own black or white, whichever reads, else its default cell's.
    QColor ForegroundColour(const CGridCtrl& grid) const;

private:
    // What few cells have of their own: a font, a text colour, an image, a margin.
    struct Looks {
        std::unique_ptr<QFont> font;
        std::uint32_t textColour = kUseDefaultColour;
        std::int16_t image = -1;
        std::int16_t margin = -1;  // -1: the default cell's margin
    };
    Looks& OwnLooks();

    std::string m_text;
    std::int32_t m_data = 0;
    std::uint32_t m_state = 0;
    std::uint32_t m_format = kFormatLeft;
    std::uint32_t m_backColour = kUseDefaultColour;
    std::unique_ptr<Looks> m_looks;  // none: every look is the default cell's
};

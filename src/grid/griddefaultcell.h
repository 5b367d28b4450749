#pragma once

#include <QColor>
#include <QFont>

#include "grid/gridcell.h"

// The defaults (font, colours, format, margin) of one group of cells: normal cells, cells of
// fixed rows, of fixed columns, or of both.
class CGridDefaultCell : public CGridCell {
public:
    CGridDefaultCell(const QColor& text, const QColor& background, const QFont& font, int margin)
        : m_textColour(text), m_backColour(background), m_defaultFont(font) {
        SetMargin(margin);
    }

    const QColor& TextColour() const { return m_textColour; }
    const QColor& BackColour() const { return m_backColour; }
    const QFont& Font() const { return m_defaultFont; }
    void SetColours(const QColor& text, const QColor& background) {
        m_textColour = text;
        m_backColour = background;
    }
    void SetDefaultFont(const QFont& font) { m_defaultFont = font; }

private:
    QColor m_textColour;
    QColor m_backColour;
    QFont m_defaultFont;
};

#pragma once

#include <QString>

class CGridCtrl;
class QAccessibleInterface;
class QObject;

// Makes a CGridCtrl known to assistive technology as a table: its rows and columns below and
// right of the fixed ones, the header texts, the cell texts and check states, the focus cell
// and the selection; cells can be pressed, double-clicked ("activate") and toggled. Installed
// with QAccessible::installFactory.
QAccessibleInterface* GridAccessibleFactory(const QString& className, QObject* object);

// The index among the grid's accessible children of the cell at `row`, `column`.
int GridAccessibleChildIndex(const CGridCtrl& grid, int row, int column);

#pragma once

#include "grid/gridcellbase.h"

// An ordinary text cell: the class of every cell until the owner chooses another.
class CGridCell : public CGridCellBase {};

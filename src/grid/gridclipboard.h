#pragma once

#include <string>
#include <vector>

// The clipboard text of a range of cells: the texts of each row separated by one tab, rows
// separated by CR LF, no line end after the last row.
std::string FormatClipboardText(const std::vector<std::vector<std::string>>& rows);

// Pasted text as rows of cell texts: lines end at LF (a CR before it is dropped), cells at
// every tab or comma, and blanks and tabs are cut off both ends of each text. A final line end
// makes no empty row.
std::vector<std::vector<std::string>> SplitPastedText(const std::string& text);

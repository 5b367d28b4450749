#include "grid/gridclipboard.h"

namespace {

std::string Trimmed(const std::string& text) {
    const auto first = text.find_first_not_of(" \t");
    if (first == std::string::npos) {
        return {};
    }
    return text.substr(first, text.find_last_not_of(" \t") - first + 1);
}

}  // namespace

std::string FormatClipboardText(const std::vector<std::vector<std::string>>& rows) {
    std::string text;
    for (std::size_t row = 0; row < rows.size(); ++row) {
        text += row == 0 ? "" : "\r\n";
        for (std::size_t cell = 0; cell < rows[row].size(); ++cell) {
            text += (cell == 0 ? "" : "\t") + rows[row][cell];
        }
    }
    return text;
}

std::vector<std::vector<std::string>> SplitPastedText(const std::string& text) {
    std::vector<std::vector<std::string>> rows;
    for (std::size_t lineStart = 0; lineStart < text.size();) {
        std::size_t lineEnd = text.find('\n', lineStart);
        if (lineEnd == std::string::npos) {
            lineEnd = text.size();
        }
        std::string line = text.substr(lineStart, lineEnd - lineStart);
        if (!line.empty() && line.back() == '\r') {
            line.pop_back();
        }
        std::vector<std::string>& cells = rows.emplace_back();
        for (std::size_t pieceStart = 0; pieceStart <= line.size();) {
            const std::size_t pieceEnd = std::min(line.find_first_of("\t,", pieceStart), line.size());
            cells.push_back(Trimmed(line.substr(pieceStart, pieceEnd - pieceStart)));
            pieceStart = pieceEnd + 1;
        }
        lineStart = lineEnd + 1;
    }
    return rows;
}

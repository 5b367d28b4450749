// A window with one grid as the program uses it: a fixed header row and a fixed first column,
// check, combo and button-like cells, row colours and whole-row selection. Not installed; run
// it to look at the grid (scripts/grid-screenshot saves a picture of it).

#include <QApplication>
#include <QTimer>

#include <string>
#include <vector>

#include "grid/gridcellcheck.h"
#include "grid/gridcellcombo.h"
#include "grid/gridctrl.h"

namespace {

const std::vector<std::string> kRatings = {"0 - Not Rated", "1 - Hate", "2 - Dislike", "3 - Neutral",
                                           "4 - Fair",      "5 - Good", "6 - Great",   "7 - Favorite"};
const std::vector<std::uint32_t> kRowColours = {kUseDefaultColour, 0x808080, 0xA0A0A0, 0xE0E0E0,
                                                0xFFC0C0,          0xC0FFC0, 0xC0C0FF, 0xFFC0FF};

struct DemoSong {
    const char* title;
    const char* artist;
    const char* album;
    int rating;
    int plays;
};

const DemoSong kSongs[] = {
    {"Come Together", "The Beatles", "Abbey Road", 7, 41},
    {"Something", "The Beatles", "Abbey Road", 6, 23},
    {"So What", "Miles Davis", "Kind of Blue", 5, 12},
    {"Blue in Green", "Miles Davis", "Kind of Blue", 0, 3},
    {"Кукушка", "Кино", "Чёрный альбом", 4, 8},
    {"丸の内サディスティック", "椎名林檎", "無罪モラトリアム", 6, 17},
    {"Sinéad's Song", "Sinéad O'Connor", "The Lion", 3, 1},
    {"Nothing Compares 2 U", "Sinéad O'Connor", "I Do Not", 2, 0},
    {"Caf\xE9 au lait (a name that is not UTF-8)", "Les Fr\xE8res", "Vieux disque", 5, 4},
    {"A Very Long Title That Does Not Fit Into Its Column At All", "Somebody", "Something", 1, 2},
};

}  // namespace

int main(int argc, char** argv) {
    QApplication application(argc, argv);
    CGridCtrl grid;
    grid.setWindowTitle(QStringLiteral("Cadenzo grid"));
    grid.resize(1000, 360);
    grid.SetColumnTotal(7);
    grid.SetFixedRowTotal(1);
    grid.SetFixedColumnTotal(1);
    grid.SetWholeRowSelection(true);
    grid.SetSingleRowSelection(true);
    grid.SetRowResize(false);
    const std::vector<std::string> headers = {"", "Play", "Title", "Artist", "Album", "User Rating", "Plays"};
    const std::vector<int> widths = {24, 44, 220, 140, 160, 120, 60};
    for (int column = 0; column < 7; ++column) {
        grid.SetCellText(0, column, headers[static_cast<std::size_t>(column)]);
        grid.SetColumnWidthAt(column, grid.FromDesignWidth(widths[static_cast<std::size_t>(column)]));
    }
    for (const DemoSong& song : kSongs) {
        const int row = grid.AppendRow("");
        grid.SetCellClass<CGridCellCheck>(row, 0);
        static_cast<CGridCellCheck*>(grid.GetCellObject(row, 0))->SetCheck(song.rating >= 5);
        grid.SetCellText(row, 1, "\u25B6");
        grid.SetCellFormat(row, 1, kFormatCentre);
        grid.SetCellText(row, 2, song.title);
        grid.SetCellText(row, 3, song.artist);
        grid.SetCellText(row, 4, song.album);
        grid.SetCellClass<CGridCellCombo>(row, 5);
        static_cast<CGridCellCombo*>(grid.GetCellObject(row, 5))->SetOptions(kRatings);
        grid.SetCellText(row, 5, kRatings[static_cast<std::size_t>(song.rating)]);
        grid.SetCellText(row, 6, std::to_string(song.plays));
        grid.SetCellFormat(row, 6, kFormatRight);
        for (int column = 1; column < 7; ++column) {
            grid.SetCellBackColour(row, column, kRowColours[static_cast<std::size_t>(song.rating)]);
        }
    }
    grid.SortRows(CGridCtrl::CompareNumbers, 6, false, 0);
    grid.SetSortColumnIndex(6);
    grid.SetSelectedRange(3, 1, 3, 6);
    grid.show();
    // With an argument: save a picture of the window under that name and quit.
    if (argc > 1) {
        const QString target = QString::fromLocal8Bit(argv[1]);
        QTimer::singleShot(500, &grid, [&grid, target] {
            grid.grab().save(target);
            QApplication::quit();
        });
    }
    return QApplication::exec();
}

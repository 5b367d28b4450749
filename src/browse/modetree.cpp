#include "browse/modetree.h"

#include "browse/viewhistory.h"
#include "db/librarydb.h"

int TreeEntryOfView(const DisplayMode& view) {
    for (std::size_t entry = 1; entry < ModeTree.size(); ++entry) {
        if (ModeTree[entry].mode == view.mode && ModeTree[entry].submode == view.submode) {
            return static_cast<int>(entry);
        }
    }
    return 0;
}

std::string GetViewTitle(const CViewHistory& history, CLibraryDb& db) {
    if (history.Count() < 2) {
        return "Unknown";
    }
    const DisplayMode top = history.Top();
    return db.GetItemName(ItemKindOfView(history.BelowTop()), top.itemId != 0 ? top.itemId : top.artistId);
}

#pragma once

#include <string>
#include <vector>

#include "db/importcounts.h"

// What an import tells the user when it ends, also after Cancel.
struct ImportReport {
    ImportCounts counts;
    int foldersSkipped = 0;  // every song file already in the library, skipped as the user chose
    bool stopped = false;
    std::vector<std::string> unread;   // song files whose tags could not be read
    std::vector<std::string> tooLong;  // song files and folders whose paths the system refuses
    std::vector<std::string> lostFolders;
    std::string lostReason;
};

// One line of what the import did, for the window's status bar.
std::string ImportSummary(const ImportReport& report);
// What went wrong, for a message box; empty when nothing did.
std::string ImportProblems(const ImportReport& report);
// Every path behind the problems, for the message box's details.
std::string ImportDetails(const ImportReport& report);

#include "import/importreport.h"

#include <fmt/printf.h>

#include "platform/usertext.h"

namespace {

// The first few of `paths`, quoted: the message names a few and its details hold them all.
std::string FirstPaths(const std::vector<std::string>& paths) {
    constexpr std::size_t kShown = 3;
    std::string text;
    for (std::size_t i = 0; i < paths.size() && i < kShown; ++i) {
        text += (i == 0 ? "'" : ", '") + paths[i] + "'";
    }
    return paths.size() > kShown ? text + ", ..." : text;
}

std::string Counted(int count, const char* one, const char* many) {
    return count == 1 ? std::string(one) : fmt::sprintf(many, count);
}

void AddSentence(std::string& text, const std::string& sentence) {
    text += (text.empty() ? "" : "\n") + sentence;
}

void AddPaths(std::string& text, const char* heading, const std::vector<std::string>& paths) {
    if (paths.empty()) {
        return;
    }
    AddSentence(text, heading);
    for (const std::string& path : paths) {
        text += "\n" + path;
    }
    text += "\n";
}

}  // namespace

std::string ImportSummary(const ImportReport& report) {
    const ImportCounts& counts = report.counts;
    std::string text = report.stopped ? CUserText::tr("Import stopped: ") : CUserText::tr("Import finished: ");
    text += Counted(counts.songsAdded, CUserText::tr("1 song added"), CUserText::tr("%d songs added"));
    if (counts.ratedByTags > 0) {
        text += fmt::sprintf(CUserText::tr(" (%d with ratings from their tags)"), counts.ratedByTags);
    }
    if (report.foldersSkipped > 0) {
        text += ", " + Counted(report.foldersSkipped, CUserText::tr("1 folder skipped as already in the library"),
                               CUserText::tr("%d folders skipped as already in the library"));
    }
    if (counts.foldersNotAdded > 0) {
        text += ", " + Counted(counts.foldersNotAdded, CUserText::tr("1 folder not added"),
                               CUserText::tr("%d folders not added"));
    }
    text += ".";
    if (counts.songsMoved > 0) {
        text += " " + fmt::sprintf(CUserText::tr("%d songs were found at a new place and kept their ratings."),
                                   counts.songsMoved);
    }
    return text;
}

std::string ImportProblems(const ImportReport& report) {
    std::string text;
    if (!report.lostFolders.empty()) {
        AddSentence(text, fmt::sprintf(CUserText::tr("Error: Couldn't import the songs in '%s'.\n%s"),
                                       report.lostFolders.front(), report.lostReason));
        if (report.lostFolders.size() > 1) {
            AddSentence(text, fmt::sprintf(CUserText::tr("The songs of %d more folders were not stored either."),
                                           static_cast<int>(report.lostFolders.size()) - 1));
        }
    }
    if (!report.tooLong.empty()) {
        AddSentence(text, fmt::sprintf(CUserText::tr("Error: %d song files or folders were not imported: their paths "
                                                     "are longer than the system allows (the first: '%s')."),
                                       static_cast<int>(report.tooLong.size()), report.tooLong.front()));
    }
    if (!report.unread.empty()) {
        AddSentence(text, fmt::sprintf(CUserText::tr("Error: The tags of %d songs could not be read: reading them "
                                                     "took too much processor time or memory, or the tag reader "
                                                     "failed. They count as untagged songs: %s."),
                                       static_cast<int>(report.unread.size()), FirstPaths(report.unread)));
    }
    return text;
}

std::string ImportDetails(const ImportReport& report) {
    std::string text;
    AddPaths(text, CUserText::tr("Folders not stored:"), report.lostFolders);
    AddPaths(text, CUserText::tr("Paths too long:"), report.tooLong);
    AddPaths(text, CUserText::tr("Songs whose tags could not be read:"), report.unread);
    return text;
}

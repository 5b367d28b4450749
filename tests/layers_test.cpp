// The layers of the program, checked on its sources: each folder includes only its own files
// and those of the folders below it, and nothing the core library is built from reaches Qt,
// TagLib or a file of the window program.

#include <filesystem>
#include <fstream>
#include <map>
#include <regex>
#include <set>
#include <sstream>
#include <string>
#include <vector>

#include <gtest/gtest.h>

namespace {

namespace fs = std::filesystem;

const fs::path kSourceDir = CADENZO_SOURCE_DIR;

// Lower ranks are lower layers; a folder may include its own files and those of lower ranks.
// Editing reads and writes song files, so it stands on the import.
const std::map<std::string, int> kRanks = {
    {"platform", 0}, {"engine", 1}, {"widgets", 1}, {"db", 2},  {"grid", 2},         {"import", 3},
    {"browse", 3},   {"play", 3},   {"edit", 4},    {"app", 5}, {"folderpicker", 3},
};

struct Includes {
    std::vector<std::string> quoted;  // relative to src/
    std::vector<std::string> angled;
};

Includes IncludesOf(const fs::path& file) {
    static const std::regex include(R"re(^\s*#\s*include\s*([<"])([^>"]+)[>"])re");
    Includes includes;
    std::ifstream in(file);
    std::string line;
    while (std::getline(in, line)) {
        std::smatch match;
        if (std::regex_search(line, match, include)) {
            (match[1] == "\"" ? includes.quoted : includes.angled).push_back(match[2]);
        }
    }
    return includes;
}

std::string FolderOf(const std::string& relative) {
    return relative.substr(0, relative.find('/'));
}

// The sources of a target that lie in src/ (not the generated ones), relative to src/.
std::vector<std::string> SplitList(const std::string& list) {
    std::vector<std::string> items;
    std::stringstream stream(list);
    for (std::string item; std::getline(stream, item, '|');) {
        const fs::path path(item);
        if (path.is_relative() || !path.lexically_relative(kSourceDir).string().starts_with("..")) {
            items.push_back(path.is_relative() ? item : path.lexically_relative(kSourceDir).string());
        }
    }
    return items;
}

TEST(LayersTest, FoldersIncludeOnlyTheirOwnAndLowerLayers) {
    for (const auto& entry : fs::recursive_directory_iterator(kSourceDir)) {
        const std::string extension = entry.path().extension().string();
        if (extension != ".h" && extension != ".cpp") {
            continue;
        }
        const std::string file = entry.path().lexically_relative(kSourceDir).string();
        const std::string folder = FolderOf(file);
        ASSERT_TRUE(kRanks.contains(folder)) << "a folder without a layer: " << folder;
        for (const std::string& included : IncludesOf(entry.path()).quoted) {
            const std::string target = FolderOf(included);
            ASSERT_TRUE(kRanks.contains(target)) << file << " includes " << included;
            EXPECT_TRUE(target == folder || kRanks.at(target) < kRanks.at(folder)) << file << " includes " << included;
        }
    }
}

TEST(LayersTest, TheCoreReachesNoQtTagLibOrWindowFile) {
    std::set<std::string> windowFiles;
    for (const std::string& source : SplitList(CADENZO_GUI_SOURCES)) {
        windowFiles.insert(source);
        windowFiles.insert(fs::path(source).replace_extension(".h").string());
    }
    std::vector<std::string> toVisit = SplitList(CADENZO_CORE_SOURCES);
    std::set<std::string> visited;
    while (!toVisit.empty()) {
        const std::string file = toVisit.back();
        toVisit.pop_back();
        if (!visited.insert(file).second) {
            continue;
        }
        EXPECT_FALSE(windowFiles.contains(file)) << "the core reaches " << file;
        const Includes includes = IncludesOf(kSourceDir / file);
        for (const std::string& angled : includes.angled) {
            const bool foreign = angled.starts_with("Q") || angled.starts_with("qt") || angled.starts_with("taglib/");
            EXPECT_FALSE(foreign) << file << " includes <" << angled << ">";
        }
        for (const std::string& quoted : includes.quoted) {
            toVisit.push_back(quoted);
        }
    }
    EXPECT_GT(visited.size(), 40u) << "the core's sources were found";
}

}  // namespace

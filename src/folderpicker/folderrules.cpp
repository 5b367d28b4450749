#include "folderpicker/folderrules.h"

#include <dirent.h>
#include <sys/stat.h>

#include <algorithm>
#include <cerrno>
#include <cstdlib>
#include <cstring>
#include <filesystem>
#include <memory>

#include "platform/asciitext.h"
#include "platform/usertext.h"

namespace {

bool IsFolder(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0 && S_ISDIR(info.st_mode);
}

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

std::string WithoutTrailingSlash(std::string path) {
    if (path.size() > 1 && path.ends_with('/')) {
        path.pop_back();
    }
    return path;
}

std::string WithTrailingSlash(std::string path) {
    if (!path.ends_with('/')) {
        path += '/';
    }
    return path;
}

bool StartsWithIgnoringCase(const std::string& text, const std::string& start) {
    return text.size() >= start.size() && std::equal(start.begin(), start.end(), text.begin(),
                                                     [](char a, char b) { return AsciiToLower(a) == AsciiToLower(b); });
}

std::string NotFoundQuestion(const std::string& text) {
    return text + CUserText::tr("\nThis folder does not exist.\n\nDo you want to create it?");
}

template <typename Visit>
void ForEachEntry(const std::string& folder, Visit visit) {
    const std::unique_ptr<DIR, int (*)(DIR*)> directory(opendir(folder.c_str()), closedir);
    if (!directory) {
        return;
    }
    while (const dirent* entry = readdir(directory.get())) {
        const std::string name = entry->d_name;
        if (name != "." && name != "..") {
            visit(name);
        }
    }
}

}  // namespace

CFolderRules::CFolderRules(const std::string& folder) : m_folderPath(WithTrailingSlash(folder)) {}

std::string CFolderRules::Resolve(const std::string& text) const {
    std::string path;
    const char* home = std::getenv("HOME");
    if ((text == "~" || text.starts_with("~/")) && home != nullptr && *home != '\0') {
        path = std::string(home) + text.substr(1);
    } else if (text.starts_with('/')) {
        path = text;
    } else {
        path = m_folderPath + text;
    }
    return WithoutTrailingSlash(std::filesystem::path(path).lexically_normal().string());
}

bool CFolderRules::NavigateTo(const std::string& text) {
    const std::string path = Resolve(text);
    if (!IsFolder(path)) {
        return false;
    }
    m_folderPath = WithTrailingSlash(path);
    return true;
}

std::vector<std::string> CFolderRules::Subfolders() const {
    std::vector<std::string> names;
    ForEachEntry(m_folderPath, [&](const std::string& name) {
        if (IsFolder(m_folderPath + name)) {
            names.push_back(name);
        }
    });
    // Hidden folders after the others, each kind by name with letter case ignored.
    std::sort(names.begin(), names.end(), [](const std::string& a, const std::string& b) {
        if (a.starts_with('.') != b.starts_with('.')) {
            return b.starts_with('.');
        }
        return std::lexicographical_compare(a.begin(), a.end(), b.begin(), b.end(),
                                            [](char x, char y) { return AsciiToLower(x) < AsciiToLower(y); });
    });
    return names;
}

bool CFolderRules::OpensWhileTyping(const std::string& text) const {
    return text == "/" || (text.ends_with('/') && IsFolder(Resolve(text)));
}

std::optional<FolderCompletion> CFolderRules::Complete(const std::string& text) const {
    if (text.empty() || text.ends_with('/')) {
        return std::nullopt;
    }
    const std::string path = Resolve(text);
    const std::size_t slash = path.rfind('/');
    const std::string typed = text.substr(text.rfind('/') + 1);
    if (typed != path.substr(slash + 1)) {
        return std::nullopt;  // "~", "." or ".." at the end: nothing typed to complete
    }
    const std::string folder = path.substr(0, slash + 1);
    int matches = 0;
    std::string match;
    ForEachEntry(folder, [&](const std::string& name) {
        if (StartsWithIgnoringCase(name, typed) && IsFolder(folder + name)) {
            ++matches;
            match = name;
        }
    });
    if (matches != 1) {
        return std::nullopt;
    }
    const std::string cased = CompletionCase(match, typed);
    const std::size_t k = typed.size();
    if (IsFolder(folder + typed + cased.substr(k))) {
        return FolderCompletion{text + cased.substr(k), text.size()};
    }
    // Letter case counts on this file system: the typed part takes the folder's own name.
    return FolderCompletion{text.substr(0, text.size() - k) + match, text.size()};
}

OpenCheck CFolderRules::CheckOpen(const std::string& text) const {
    if (text.empty()) {
        return {OpenCheck::kAccept, "", "", WithoutTrailingSlash(m_folderPath)};
    }
    const std::string typed = WithoutTrailingSlash(text);
    const std::string path = Resolve(typed);
    if (!Exists(path)) {
        return {OpenCheck::kAskCreate, typed, NotFoundQuestion(typed), path};
    }
    if (!IsFolder(path)) {
        return {OpenCheck::kRefuse, typed, typed + CUserText::tr("\nThis is a file not a directory."), path};
    }
    return {OpenCheck::kAccept, typed, "", path};
}

OpenCheck CFolderRules::CheckEnter(const std::string& text) const {
    const std::string typed = WithoutTrailingSlash(text);
    const std::string path = Resolve(typed);
    if (typed.empty() || typed == "/" || Exists(path)) {
        return {OpenCheck::kAccept, typed, "", path};
    }
    return {OpenCheck::kAskCreate, typed, NotFoundQuestion(typed), path};
}

std::string CompletionCase(const std::string& name, const std::string& typed) {
    std::string cased = name;
    const bool capitals = !cased.empty() && cased.find(' ') == std::string::npos &&
                          std::none_of(cased.begin(), cased.end(), [](char c) { return c >= 'a' && c <= 'z'; });
    if (capitals) {
        std::transform(cased.begin() + 1, cased.end(), cased.begin() + 1, AsciiToLower);
    }
    const std::size_t k = typed.size();
    if (k > 0 && k <= cased.size() && typed[k - 1] != cased[k - 1]) {
        const bool upper = typed[k - 1] >= 'A' && typed[k - 1] <= 'Z';
        std::transform(cased.begin(), cased.end(), cased.begin(), upper ? AsciiToUpper : AsciiToLower);
    }
    return cased;
}

bool CreateFolderPath(const std::string& path, std::string& reason) {
    int failure = 0;
    for (std::size_t i = 1; i < path.size(); ++i) {
        if (path[i] == '/' && mkdir(path.substr(0, i).c_str(), 0777) != 0 && errno != EEXIST) {
            failure = errno;
        }
    }
    if (IsFolder(WithoutTrailingSlash(path))) {
        return true;
    }
    reason = std::strerror(failure != 0 ? failure : ENOENT);
    return false;
}

std::string CreateFailedMessage(const std::string& text, const std::string& reason) {
    return text + CUserText::tr("\nThis folder could not be created: ") + reason + ".";
}

std::vector<FolderPlace> UsualPlaces(const std::string& home, const std::string& music) {
    namespace fs = std::filesystem;
    std::error_code error;
    std::vector<FolderPlace> places;
    const auto add = [&](const std::string& name, const std::string& folder) {
        if (!folder.empty() && fs::is_directory(folder, error)) {
            places.push_back({name, folder});
        }
    };
    add(CUserText::tr("Home"), home);
    add(CUserText::tr("Music"), music);
    const std::string user = fs::path(home).filename().string();
    for (const std::string& mounts : {"/media/" + user, "/run/media/" + user, std::string("/mnt")}) {
        std::vector<std::string> media;
        for (fs::directory_iterator entry(mounts, error), end; !error && entry != end; entry.increment(error)) {
            if (entry->is_directory(error)) {
                media.push_back(entry->path().string());
            }
        }
        std::sort(media.begin(), media.end());
        for (const std::string& medium : media) {
            add(fs::path(medium).filename().string(), medium);
        }
    }
    return places;
}

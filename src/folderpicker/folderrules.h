#pragma once

#include <cstddef>
#include <optional>
#include <string>
#include <vector>

// A completion of the Folder field: its new text, and where the added part (to be selected)
// begins.
struct FolderCompletion {
    std::string text;
    std::size_t addedFrom = 0;
};

// What the Open button does with the Folder field's text.
struct OpenCheck {
    enum Outcome { kAccept, kRefuse, kAskCreate } outcome = kAccept;
    std::string typed;    // the text, without one trailing "/"
    std::string message;  // the refusal, or the question to create the folder
    std::string folder;   // the folder to open or create
};

// A place the picker offers beside its list: its name and its folder.
struct FolderPlace {
    std::string name;
    std::string folder;
};

// The usual places that exist: the home folder, the music folder (`music`, "" for none) and
// the media mounted under /media/USER, /run/media/USER and /mnt.
std::vector<FolderPlace> UsualPlaces(const std::string& home, const std::string& music);

// The rules of the folder picker, on the real file system: which folder is shown, how typed
// text is read, completed, checked and created. Paths are bytes; a typed path is read
// relative to the folder shown, and "~" at its start stands for the home folder.
class CFolderRules {
public:
    explicit CFolderRules(const std::string& folder);

    // The folder shown, ending in "/".
    const std::string& FolderPath() const { return m_folderPath; }
    // The absolute path the text names.
    std::string Resolve(const std::string& text) const;
    // Shows the folder the text names; false (nothing changes) when it is no folder.
    bool NavigateTo(const std::string& text);
    // The names of the folders in the folder shown, sorted without regard to letter case.
    std::vector<std::string> Subfolders() const;

    // Whether typing or deleting that left `text` in the field opens a folder at once: "/", or
    // a text ending in "/" that names an existing folder.
    bool OpensWhileTyping(const std::string& text) const;
    // The completion of a typed folder name when exactly one folder starts with it (letter case
    // ignored, as the name is typed); none with two or more, or only files.
    std::optional<FolderCompletion> Complete(const std::string& text) const;
    // Open with the text: accepted (a folder, or empty for the one shown), refused (a file), or
    // a question whether to create a folder that does not exist.
    OpenCheck CheckOpen(const std::string& text) const;
    // Enter with the text: the folder to create first, when it does not exist ("" otherwise),
    // and the question to ask.
    OpenCheck CheckEnter(const std::string& text) const;

private:
    std::string m_folderPath;
};

// The name as a completion writes it: a name in capitals without blanks becomes a capital and
// the rest in lower case; then, when the last typed letter (of the `typed` part) differs from
// the name's letter at that place, the whole name takes that letter's case.
std::string CompletionCase(const std::string& name, const std::string& typed);

// Creates every missing folder along `path` (which ends in "/"). True when the folder exists
// afterwards; else `reason` is the system's description of what failed.
bool CreateFolderPath(const std::string& path, std::string& reason);

// The message that a folder could not be created.
std::string CreateFailedMessage(const std::string& text, const std::string& reason);

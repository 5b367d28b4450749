#pragma once

#include <string>
#include <vector>

class CSongFile;

// The answer to the untagged question. It comes in with the defaults the dialog opens with
// and goes out with the user's choice. Options: 0 One Album, 1 One Collection, 2 Unsorted
// Files, 3 Do Not Add.
struct UntaggedAnswer {
    int option = 1;
    std::string artistName;
    std::string albumName;
    std::string collectionName;
    bool updateTags = false;
};

// The answer to the few-songs and several-albums questions, in and out likewise. Options:
// 0 Multiple Albums, 1 One Album, 2 One Collection, 3 Unsorted Files, 4 Do Not Add; `name` is
// the album name (option 1) or the collection name (option 2).
struct UnknownAnswer {
    int option = 3;
    std::string name;
    bool updateTags = false;
};

// What the import asks the user and tells them while it walks. The window program answers
// with its dialogs; tests answer from a script.
class CImportQuestions {
public:
    virtual ~CImportQuestions() = default;

    // False when the user closed the question without OK.
    virtual bool AskUntagged(const std::string& folderPath, const std::vector<CSongFile>& songs,
                             const std::string& message, UntaggedAnswer& answer) = 0;
    virtual bool AskUnknown(const std::string& firstArtist, const std::string& folderPath,
                            const std::vector<CSongFile>& songs, const std::string& message, UnknownAnswer& answer) = 0;

    // Shows the progress line (the folder being imported).
    virtual void ShowProgress(const std::string& text) = 0;
};

#pragma once

#include <cstddef>
#include <string>
#include <vector>

class CSongFile;

// The options of the untagged question, numbered as its dialog numbers them.
enum UntaggedOption : int {
    kUntaggedOneAlbum = 0,
    kUntaggedOneCollection = 1,
    kUntaggedUnsortedFiles = 2,
    kUntaggedDoNotAdd = 3,
};

// The options of the few-songs and several-albums questions, numbered as their dialog does.
enum UnknownOption : int {
    kUnknownMultipleAlbums = 0,
    kUnknownOneAlbum = 1,
    kUnknownOneCollection = 2,
    kUnknownUnsortedFiles = 3,
    kUnknownDoNotAdd = 4,
};

// The answer to the untagged question. It comes in with the defaults the dialog opens with
// and goes out with the user's choice.
struct UntaggedAnswer {
    int option = kUntaggedOneCollection;
    std::string artistName;
    std::string albumName;
    std::string collectionName;
    bool updateTags = false;
};

// The answer to the few-songs and several-albums questions, in and out likewise; `name` is
// the album name (One Album) or the collection name (One Collection).
struct UnknownAnswer {
    int option = kUnknownUnsortedFiles;
    std::string name;
    bool updateTags = false;
};

// The fields of a question that its option uses: only they are enabled, and only they are read
// on OK.
struct QuestionFields {
    bool artistName = false;
    bool albumName = false;
    bool collectionName = false;
    bool updateTags = false;
};
QuestionFields FieldsOfUntagged(int option);
QuestionFields FieldsOfUnknown(int option);

// The answer a question gives on OK: `fields` holds what its controls hold, `answer` what the
// question came in with; the fields that the option does not use keep the incoming values,
// and tags are updated only when the option uses the box and it is ticked. An Unknown
// question's album and collection edits are the album and collection names.
UntaggedAnswer UntaggedAnswerOnOk(int option, const UntaggedAnswer& fields, const UntaggedAnswer& answer);
UnknownAnswer UnknownAnswerOnOk(int option, const std::string& albumName, const std::string& collectionName,
                                bool updateTicked, const UnknownAnswer& answer);

// What the import asks the user and tells them while it walks. The window program answers
// with its dialogs; tests answer from a script.
struct ImportReport;

enum class ReimportChoice { OnlyNewFolders, AllFolders, Cancel };

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
    // The walk will handle about this many folders with songs.
    virtual void FolderTotal(std::size_t /*folders*/) {}
    // A folder of `songs` song files has been handled.
    virtual void FolderDone(std::size_t /*songs*/) {}
    // True when the user asked the walk to stop: it stops before the next folder.
    virtual bool StopRequested() const { return false; }
    // `known` of the `total` song files below the chosen folder are in the library already:
    // import every folder as always, only the folders with new song files, or nothing.
    virtual ReimportChoice AskReimport(std::size_t /*known*/, std::size_t /*total*/) {
        return ReimportChoice::AllFolders;
    }
    // The import has ended (also after Cancel) and did what `report` says.
    virtual void Finished(const ImportReport& /*report*/) {}
};

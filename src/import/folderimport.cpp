// The import of CLibraryDb: the folder walk, the decision per folder and the storing.

#include <algorithm>
#include <chrono>
#include <deque>
#include <map>
#include <optional>
#include <type_traits>
#include <unordered_set>
#include <utility>

#include <fmt/printf.h>

#include "db/dbtable.h"
#include "db/librarydb.h"
#include "db/librarysettings.h"
#include "engine/collation.h"
#include "engine/engineerror.h"
#include "engine/transaction.h"
#include "import/codepage.h"
#include "import/folderlisting.h"
#include "import/importmode.h"
#include "import/importquestions.h"
#include "import/importreport.h"
#include "import/songfile.h"
#include "import/tagworkers.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"

namespace {

constexpr const char* kVariousArtists = "Various Artists";
constexpr auto kCommitInterval = std::chrono::seconds(1);

// Commits of the import group several folders (each of which is undone alone on failure), so
// that a crash loses at most about a second of work; nothing waits uncommitted for a question.
// The first commit a second after the last sync syncs again (see CLoggedCommits), so that a power
// failure loses little more. A full disk can make SQLite undo the whole batch: the batch then
// knows which folders it lost.
class CImportBatch {
public:
    explicit CImportBatch(CLibraryDb& db) : m_db(db), m_synced(std::chrono::steady_clock::now()) {}

    void Open() {
        if (!m_transaction) {
            m_transaction.emplace(m_db);
            m_started = std::chrono::steady_clock::now();
        }
    }

    // The folder is stored in the open batch, with what it added.
    void Stored(const std::string& folder, const ImportCounts& added) {
        m_folders.push_back(folder);
        m_added += added;
    }

    // Raises CEngineError when the commit fails; the batch is then lost.
    void Commit() {
        if (!m_transaction) {
            return;
        }
        try {
            m_transaction->Commit();
        } catch (const CEngineError&) {
            m_failed = true;
            throw;
        }
        m_transaction.reset();
        m_folders.clear();
        m_added = {};
        if (const auto now = std::chrono::steady_clock::now(); now - m_synced >= kCommitInterval) {
            m_db.Checkpoint();
            m_synced = now;
        }
    }

    void CommitWhenDue() {
        if (m_transaction && std::chrono::steady_clock::now() - m_started > kCommitInterval) {
            Commit();
        }
    }

    // True when the open batch is gone: its commit failed, or SQLite undid it whole.
    bool Lost() const { return m_failed || (m_transaction && !m_db.InTransaction()); }

    // Gives up a lost batch; the folders that were stored in it. `counts` loses what they added.
    std::vector<std::string> Abandon(ImportCounts& counts) {
        m_transaction.reset();
        m_failed = false;
        counts = counts - std::exchange(m_added, {});
        return std::exchange(m_folders, {});
    }

private:
    CLibraryDb& m_db;
    std::optional<CTransaction> m_transaction;
    std::chrono::steady_clock::time_point m_started;
    std::chrono::steady_clock::time_point m_synced;
    std::vector<std::string> m_folders;
    ImportCounts m_added;
    bool m_failed = false;
};

// An import commits through a write-ahead log: its many small commits (one for each question
// at least) then wait for no sync; the log is synced at its checkpoints (every 1,000 pages
// written, and a second after the last, see CImportBatch) and at the end. So the end of the
// program loses nothing committed, and a power failure about the last second's work, which
// importing the folder again adds; the library stays whole either way. The library is one
// file again when the import ends, and at the next open after a crash. Its many lookups by
// index get a larger cache.
class CLoggedCommits {
public:
    explicit CLoggedCommits(CLibraryDb& db) : m_db(db), m_logged(!db.InTransaction() && db.SetJournalMode("wal")) {
        m_db.SetLargeCache(true);
        if (m_logged) {
            m_synchronous = m_db.SetSynchronous(kSyncAtCheckpoints);
        }
    }
    ~CLoggedCommits() {
        m_db.SetLargeCache(false);
        if (m_logged) {
            m_db.SetSynchronous(m_synchronous);
            m_db.SetJournalMode("delete");
        }
    }
    CLoggedCommits(const CLoggedCommits&) = delete;
    CLoggedCommits& operator=(const CLoggedCommits&) = delete;

private:
    static constexpr int kSyncAtCheckpoints = 1;  // SQLite's NORMAL

    CLibraryDb& m_db;
    bool m_logged;
    int m_synchronous = kSyncAtCheckpoints;
};

// Passes the questions on, after committing what the import has done so far; the answered
// folder then opens the next batch.
class CCommittingQuestions : public CImportQuestions {
public:
    CCommittingQuestions(CImportQuestions& questions, CImportBatch& batch) : m_questions(questions), m_batch(batch) {}

    bool AskUntagged(const std::string& folderPath, const std::vector<CSongFile>& songs, const std::string& message,
                     UntaggedAnswer& answer) override {
        m_batch.Commit();
        const bool answered = m_questions.AskUntagged(folderPath, songs, message, answer);
        m_batch.Open();  // the folder is stored in the next batch, not committed on its own
        return answered;
    }
    bool AskUnknown(const std::string& firstArtist, const std::string& folderPath, const std::vector<CSongFile>& songs,
                    const std::string& message, UnknownAnswer& answer) override {
        m_batch.Commit();
        const bool answered = m_questions.AskUnknown(firstArtist, folderPath, songs, message, answer);
        m_batch.Open();
        return answered;
    }
    void ShowProgress(const std::string& text) override { m_questions.ShowProgress(text); }
    void FolderDone(std::size_t songs) override { m_questions.FolderDone(songs); }
    bool StopRequested() const override { return m_questions.StopRequested(); }

private:
    CImportQuestions& m_questions;
    CImportBatch& m_batch;
};

// The ID remembered for the key, or the one `find` gives, remembered then.
template <typename Key, typename Find>
std::int32_t KnownId(std::map<Key, std::int32_t>& known, const std::type_identity_t<Key>& key, Find find) {
    if (const auto found = known.find(key); found != known.end()) {
        return found->second;
    }
    const std::int32_t id = find();
    known.emplace(key, id);
    return id;
}

// What an import finds below its folder (itself too) before it reads a tag: the folders that
// hold song files, as the walk will visit them, and which of their song files the library holds.
// A folder reached twice through links counts once.
struct FolderSurvey {
    std::size_t songFolders = 0;
    std::size_t songFiles = 0;
    std::unordered_set<std::string> knownFiles;
    bool songsBelow = false;  // the library holds songs below the folder
    bool anySongs = false;    // the library holds songs
};

FolderSurvey SurveyFolder(CLibraryDb& db, const std::string& root) {
    FolderSurvey survey;
    const std::unordered_set<std::string> stored = db.SongPathsBelow(root);
    survey.songsBelow = !stored.empty();
    survey.anySongs = survey.songsBelow || db.HasSongs();
    ForEachFolderBelow(root, [&](const FolderListing& listing) {
        survey.songFolders += listing.songFiles.empty() ? 0 : 1;
        survey.songFiles += listing.songFiles.size();
        for (const auto& file : listing.songFiles) {
            if (stored.count(file.first) != 0) {
                survey.knownFiles.insert(file.first);
            }
        }
    });
    return survey;
}

// Walks a tree in pre-order. The tags of the next folders are read by the workers while the
// current folder is stored, and those of the first ones while the tree is surveyed.
class CFolderWalk {
public:
    CFolderWalk(CLibraryDb& db, CImportQuestions& questions, CTagWorkers& workers, int askThreshold,
                std::string codePage)
        : m_db(db),
          m_batch(db),
          m_questions(questions, m_batch),
          m_workers(workers),
          m_askThreshold(askThreshold),
          m_codePage(std::move(codePage)) {}

    // The song files and folders left out because their paths are too long for the system.
    const std::vector<std::string>& TooLong() const { return m_tooLong; }
    // The song files whose tags the worker was stopped on (see CTagWorkers).
    const std::vector<std::string>& Unread() const { return m_unread; }
    // What the walk found and gave songs.
    const ImportIds& Known() const { return m_known; }
    int FoldersSkipped() const { return m_foldersSkipped; }

    // The folders a full disk (or another failure that undid a whole batch) cost, the first
    // one first, and the engine's description; empty when there were none.
    const std::vector<std::string>& LostFolders() const { return m_lostFolders; }
    const std::string& LostReason() const { return m_lostReason; }

    // Lists the first folders of the tree and starts reading their tags.
    void Begin(const PathStack& paths) {
        m_tree = CFolderTree(paths);
        ReadAhead();
    }

    // Walks the tree from where Begin started (the survey must outlive Run); a lost batch
    // stops the walk (each further folder would fail alike). With OnlyNewFolders, a folder whose
    // song files are all known to the survey is skipped: unread unless it was among the first.
    void Run(const FolderSurvey& survey, ReimportChoice choice) {
        m_skipKnown = choice == ReimportChoice::OnlyNewFolders ? &survey.knownFiles : nullptr;
        m_known.songsBelowBefore = survey.songsBelow;
        m_known.songsBefore = survey.anySongs;
        while (!m_ahead.empty() && m_lostFolders.empty() && !m_questions.StopRequested()) {
            Visit current = TakeNextVisit();
            if (AllKnown(current.songPaths)) {
                m_workers.Collect(current.ticket);
                Skip();
                continue;
            }
            Guarded(current.paths.back(), [&] { Store(current); });
        }
        Guarded("", [&] { m_batch.Commit(); });
    }

    // The workers outlive the walk: it leaves no read behind, also when an error ends it.
    ~CFolderWalk() {
        for (const Visit& unread : m_ahead) {
            m_workers.Collect(unread.ticket);
        }
    }
    CFolderWalk(const CFolderWalk&) = delete;
    CFolderWalk& operator=(const CFolderWalk&) = delete;

private:
    struct Visit {
        PathStack paths;
        std::vector<std::string> songPaths;
        CTagWorkers::Ticket ticket;
    };

    // The folders whose tags the workers read while the current one is stored: enough that
    // neither waits for the other (a commit stalls the storing for a while), few enough that
    // their tags, waiting in the workers' answer pipes, take little memory.
    static constexpr std::size_t kFoldersAhead = 64;
    static constexpr std::size_t kSongsAhead = 1024;

    void ReadAhead() {
        while (m_ahead.size() < kFoldersAhead && m_songsAhead < kSongsAhead) {
            std::optional<Visit> next = NextVisit();
            if (!next) {
                return;
            }
            m_songsAhead += next->songPaths.size();
            m_ahead.push_back(std::move(*next));
        }
    }

    Visit TakeNextVisit() {
        Visit next = std::move(m_ahead.front());
        m_ahead.pop_front();
        m_songsAhead -= next.songPaths.size();
        ReadAhead();
        return next;
    }

    // Lists the next folder of the walk and starts reading its tags.
    std::optional<Visit> NextVisit() {
        while (std::optional<ListedFolder> folder = m_tree.Next()) {
            FolderListing& listing = folder->listing;
            m_tooLong.insert(m_tooLong.end(), listing.tooLong.begin(), listing.tooLong.end());
            Visit visit{std::move(folder->paths), {}, 0};
            for (const auto& file : listing.songFiles) {
                visit.songPaths.push_back(file.first);
            }
            if (AllKnown(visit.songPaths)) {
                Skip();
                continue;
            }
            visit.ticket = m_workers.Request(std::move(listing.songFiles));
            return visit;
        }
        return std::nullopt;
    }

    bool AllKnown(const std::vector<std::string>& songPaths) const {
        return m_skipKnown != nullptr && !songPaths.empty() &&
               std::all_of(songPaths.begin(), songPaths.end(),
                           [&](const std::string& path) { return m_skipKnown->count(path) != 0; });
    }

    void Skip() {
        ++m_foldersSkipped;
        m_questions.FolderDone(0);
    }

    void Store(Visit& visit) {
        m_questions.ShowProgress(CUserText::tr("Importing ") + visit.paths.back());
        std::vector<SongTags> tags = m_workers.Collect(visit.ticket);
        RecodeLegacyTexts(tags, m_codePage);
        FolderSongList songs(visit.songPaths.size());
        for (std::size_t i = 0; i < songs.size(); ++i) {
            songs[i].Assign(visit.songPaths[i], tags[i]);
            if (tags[i].stopped) {
                m_unread.push_back(visit.songPaths[i]);
            }
        }
        if (!songs.empty()) {
            m_batch.Open();
            const ImportCounts before = m_known.counts;
            m_db.ImportFolderSongs(songs, visit.paths, m_questions, m_workers, m_askThreshold, m_known);
            m_batch.Stored(visit.paths.back(), m_known.counts - before);
            m_batch.CommitWhenDue();
            m_questions.FolderDone(songs.size());
        }
    }

    // Runs a step of the walk; an engine error that lost the open batch is kept, not raised.
    template <typename Step>
    void Guarded(const std::string& folder, Step step) {
        try {
            step();
        } catch (const CEngineError& error) {
            if (!m_batch.Lost()) {
                throw;
            }
            m_lostFolders = m_batch.Abandon(m_known.counts);
            if (!folder.empty() &&
                std::find(m_lostFolders.begin(), m_lostFolders.end(), folder) == m_lostFolders.end()) {
                m_lostFolders.push_back(folder);
            }
            m_lostReason = error.what();
        }
    }

    CLibraryDb& m_db;
    CImportBatch m_batch;
    CCommittingQuestions m_questions;
    CTagWorkers& m_workers;
    CFolderTree m_tree;
    std::deque<Visit> m_ahead;  // listed, their tags being read, in walk order
    std::size_t m_songsAhead = 0;
    int m_askThreshold;      // read once: a walk reads thousands of folders
    std::string m_codePage;  // of old tags (see RecodeLegacyTexts), read once too
    const std::unordered_set<std::string>* m_skipKnown = nullptr;
    int m_foldersSkipped = 0;
    ImportIds m_known;
    std::vector<std::string> m_tooLong;
    std::vector<std::string> m_unread;
    std::vector<std::string> m_lostFolders;
    std::string m_lostReason;
};

// What a folder's answer decides.
struct FolderPlan {
    ImportMode mode = ImportMode::DoNotAdd;
    std::string artistName;
    std::string groupName;
    bool updateTags = false;
};

ImportMode ModeOfUnknownOption(int option) {
    switch (option) {
        case kUnknownMultipleAlbums:
            return ImportMode::MultipleAlbums;
        case kUnknownOneAlbum:
            return ImportMode::OneAlbum;
        case kUnknownOneCollection:
            return ImportMode::OneCollection;
        case kUnknownUnsortedFiles:
            return ImportMode::LooseSongs;
        default:
            return ImportMode::DoNotAdd;
    }
}

ImportMode ModeOfUntaggedOption(int option) {
    switch (option) {
        case kUntaggedOneAlbum:
            return ImportMode::OneAlbum;
        case kUntaggedOneCollection:
            return ImportMode::OneCollection;
        case kUntaggedUnsortedFiles:
            return ImportMode::LooseSongs;
        default:
            return ImportMode::DoNotAdd;
    }
}

// Asks what the tags leave open; false when the user closed the question without OK.
bool PlanFolder(const FolderSongList& songs, const std::string& folder, CImportQuestions& questions, int askThreshold,
                FolderPlan& plan) {
    plan.groupName = FileNamePart(folder);
    plan.artistName = FileNamePart(DirectoryPart(folder));
    const ImportDecision decision = DecideImportMode(songs, askThreshold);
    switch (decision.question) {
        case ImportQuestion::None:
            plan.mode = decision.mode;
            return true;
        case ImportQuestion::Untagged: {
            UntaggedAnswer answer{kUntaggedOneCollection, plan.artistName, plan.groupName, plan.groupName, false};
            if (!questions.AskUntagged(folder, songs, CUserText::tr("Cadenzo found untagged songs"), answer)) {
                return false;
            }
            plan.mode = ModeOfUntaggedOption(answer.option);
            plan.artistName = answer.artistName;
            plan.groupName = plan.mode == ImportMode::OneAlbum ? answer.albumName : answer.collectionName;
            plan.updateTags = answer.updateTags;
            return true;
        }
        case ImportQuestion::FewSongs:
        case ImportQuestion::SeveralAlbums: {
            const bool few = decision.question == ImportQuestion::FewSongs;
            UnknownAnswer answer{few ? kUnknownUnsortedFiles : kUnknownOneAlbum, plan.groupName, false};
            const char* message =
                few ? CUserText::tr("Cadenzo found only a few songs in this directory")
                    : CUserText::tr("Cadenzo found multiple albums from a single artist in a single directory");
            if (!questions.AskUnknown(songs.front().GetArtist(), folder, songs, message, answer)) {
                return false;
            }
            plan.mode = ModeOfUnknownOption(answer.option);
            plan.groupName = answer.name;
            plan.updateTags = answer.updateTags;
            return true;
        }
    }
    return false;
}

// The song row of a file to be added.
SongRecord SongRecordOf(const CSongFile& song, std::int32_t artistId, std::int32_t albumId, ImportMode mode) {
    SongRecord record;
    record.name = song.GetTitle();
    record.artistId = artistId;
    record.albumId = albumId;
    record.length = song.GetLength();
    record.year = song.GetYear();
    record.track = song.GetTrack();
    record.genre = song.GetGenre();
    record.filePath = song.GetPath();
    record.fileType = static_cast<std::int16_t>(song.GetFileType());
    record.unsorted = mode == ImportMode::LooseSongs || mode == ImportMode::OneCollection;
    return record;
}

// Adds the row of a song not in the library; with `ratingsFromTags`, with the rating and plays
// other players wrote.
std::int32_t AddImportedSong(CLibraryDb& db, const CSongFile& song, SongRecord record, bool ratingsFromTags) {
    if (ratingsFromTags) {
        record.userRating = static_cast<std::int16_t>(song.GetTags().rating);
    }
    const std::int32_t id = db.AddSong(record);
    if (ratingsFromTags && song.GetTags().playCount > 0) {
        CDbTable(&db, "Songs").UpdateLong("PlayCount", "ID", id, song.GetTags().playCount);
    }
    return id;
}

// Writes the folder's tags; the files that could not be written are reported once.
void WriteFolderTags(const FolderSongList& songs, const std::string& folder, CTagWorkers& workers,
                     CMessageBox& messages) {
    std::vector<std::string> failed;
    for (const CSongFile& song : songs) {
        if (!song.WriteTags(workers)) {
            failed.push_back(FileNamePart(song.GetPath()));
        }
    }
    if (!failed.empty()) {
        messages.Show(fmt::sprintf(
            CUserText::tr("Error: Couldn't write the tags into %d of the songs in '%s' (the first: '%s')."),
            static_cast<int>(failed.size()), folder, failed.front()));
    }
}

}  // namespace

std::int32_t CLibraryDb::FindOrAddNamedArtist(const std::string& name) {
    const std::int32_t id = FindArtistId(name);
    return id != 0 || name.empty() ? id : FindOrAddArtist({0, name, 0, 0.0});
}

int CLibraryDb::ImportFolder(PathStack& paths, CImportQuestions& questions, CTagWorkers& workers) {
    if (!IsOpen() || paths.empty()) {
        return 0;
    }
    const CLoggedCommits logged(*this);
    CFolderWalk walk(*this, questions, workers, m_settings.GetMinSongAskThreshold(), m_settings.LegacyCodePage());
    walk.Begin(paths);
    const FolderSurvey survey = SurveyFolder(*this, paths.back());
    ReimportChoice choice = ReimportChoice::AllFolders;
    if (!survey.knownFiles.empty()) {
        choice = questions.AskReimport(survey.knownFiles.size(), survey.songFiles);
        if (choice == ReimportChoice::Cancel) {
            return 1;
        }
    }
    questions.FolderTotal(survey.songFolders);
    walk.Run(survey, choice);
    // New songs change the ratings of their artists, albums and collections, also after Cancel.
    try {
        RecalcRatingsOf(walk.Known().touchedArtists, walk.Known().touchedCollections);
    } catch (const CEngineError& error) {
        m_messages.Show(fmt::sprintf(CUserText::tr("Error: Couldn't compute the ratings of the imported songs.\n%s"),
                                     error.what()));
    }
    const ImportReport report{walk.Known().counts, walk.FoldersSkipped(), questions.StopRequested(), walk.Unread(),
                              walk.TooLong(),      walk.LostFolders(),    walk.LostReason()};
    if (const std::string problems = ImportProblems(report); !problems.empty()) {
        m_messages.ShowWithDetails(problems, ImportDetails(report));
    }
    questions.Finished(report);
    return 1;
}

int CLibraryDb::ImportFolderSongs(FolderSongList& songs, const PathStack& paths, CImportQuestions& questions,
                                  CTagWorkers& workers) {
    ImportIds known;
    return ImportFolderSongs(songs, paths, questions, workers, m_settings.GetMinSongAskThreshold(), known);
}

int CLibraryDb::ImportFolderSongs(FolderSongList& songs, const PathStack& paths, CImportQuestions& questions,
                                  CTagWorkers& workers, int askThreshold, ImportIds& known) {
    if (songs.empty() || paths.empty()) {
        return 1;
    }
    const std::string& folder = paths.back();
    FolderPlan plan;
    if (!PlanFolder(songs, folder, questions, askThreshold, plan)) {
        ++known.counts.foldersNotAdded;
        return 0;
    }
    if (plan.mode == ImportMode::DoNotAdd) {
        ++known.counts.foldersNotAdded;
        return 1;
    }
    const bool albumsDiffer = std::any_of(
        songs.begin(), songs.end(), [&](const CSongFile& song) { return song.GetAlbum() != songs.front().GetAlbum(); });
    const bool inBatch = InTransaction();
    ImportCounts added;                                             // counted when the folder is stored
    const bool ratingsFromTags = m_settings.ReadRatingsFromTags();  // the settings file is read once a folder
    try {
        CTransaction transaction(*this);
        std::optional<std::int32_t> variousArtists;
        std::optional<std::int32_t> collection;
        for (CSongFile& song : songs) {
            if (IsUntagged(song)) {
                song.SetTitle(FileNamePart(song.GetPath()));
                if (plan.mode == ImportMode::OneAlbum) {
                    song.SetArtist(plan.artistName);
                    song.SetAlbum(plan.groupName);
                }
            }
            const std::int32_t artistId =
                KnownId(known.artists, song.GetArtist(), [&] { return FindOrAddNamedArtist(song.GetArtist()); });
            if (plan.mode == ImportMode::VariousArtists && !variousArtists) {
                variousArtists = KnownId(known.artists, std::string(kVariousArtists),
                                         [&] { return FindOrAddNamedArtist(kVariousArtists); });
            }
            const std::int32_t owner = variousArtists.value_or(artistId);
            if (!song.GetGenre().empty() && known.genres.insert(song.GetGenre()).second &&
                FindGenreId(song.GetGenre()) == 0) {
                FindOrAddGenre({0, song.GetGenre(), 0});
            }
            if (plan.mode == ImportMode::OneAlbum && albumsDiffer) {
                song.SetAlbum(plan.groupName);
            }
            const std::int32_t albumId = KnownId(known.albums, {song.GetAlbum(), owner}, [&] {
                const std::int32_t found = FindAlbumId(song.GetAlbum(), owner);
                return found != 0 || song.GetAlbum().empty()
                           ? found
                           : FindOrAddAlbum({0, owner, song.GetAlbum(), 0, 0.0, folder});
            });
            std::int32_t songId = known.songsBelowBefore ? FindSongIdByPath(song.GetPath()) : 0;
            const bool inLibrary = songId != 0;
            if (!inLibrary) {
                // A song moved or renamed outside Cadenzo keeps its row: its rating, plays and all.
                songId = known.songsBefore ? FindMovedSong(song.GetTags().audioKey) : 0;
                if (songId != 0) {
                    MoveSong(songId, song.GetPath(), static_cast<std::int16_t>(song.GetFileType()));
                    ++added.songsMoved;
                } else {
                    songId =
                        AddImportedSong(*this, song, SongRecordOf(song, artistId, albumId, plan.mode), ratingsFromTags);
                    ++added.songsAdded;
                    added.ratedByTags += ratingsFromTags && song.GetTags().rating > 0 ? 1 : 0;
                    known.touchedArtists.insert(artistId);
                    known.touchedArtists.insert(owner);
                }
            }
            StoreSongKey(songId, song.GetTags().audioKey);
            if (plan.mode == ImportMode::OneCollection) {
                if (!collection) {
                    collection = FindCollectionId(plan.groupName);
                    if (*collection == 0) {
                        collection = FindOrAddCollection({0, plan.groupName, 0, 0.0});
                    }
                }
                AddSongToCollection(songId, *collection);
                known.touchedCollections.insert(*collection);
            }
        }
        transaction.Commit();
        known.counts += added;
    } catch (const CEngineError& error) {
        known.ForgetNames();  // what the folder added is undone
        if (inBatch && !InTransaction()) {
            throw;  // SQLite undid the whole batch: the walk reports what it lost
        }
        m_messages.Show(
            fmt::sprintf(CUserText::tr("Error: Couldn't import the songs in '%s'.\n%s"), folder, error.what()));
        return 1;
    }
    // Tags are written once the folder is stored, so that a folder undone leaves its files alone.
    if (plan.updateTags) {
        WriteFolderTags(songs, folder, workers, m_messages);
    }
    return 1;
}

#pragma once

#include <QDialog>

#include <array>
#include <map>
#include <optional>
#include <string>
#include <vector>

#include "import/importquestions.h"
#include "platform/dialogrunner.h"
#include "widgets/processingdlg.h"

class CSongFile;
class QCheckBox;
class QLabel;
class QLineEdit;
class QPushButton;
class QRadioButton;

// "Import Unknown Files": how to add a folder of few songs, or of several albums by one artist.
class CImportUnknownDlg : public QDialog {
    Q_OBJECT

public:
    CImportUnknownDlg(const std::string& firstArtist, const std::string& folderPath,
                      const std::vector<CSongFile>& songs, const std::string& message, const UnknownAnswer& answer,
                      QWidget* parent = nullptr);
    // After OK.
    const UnknownAnswer& Answer() const { return m_answer; }
    // The user asked for this answer to stand for the rest of the import.
    bool ForRest() const;
    void SelectOption(int option);

    void accept() override;

private:
    UnknownAnswer m_answer;
    int m_option = 0;
    std::array<QRadioButton*, 5> m_options{};
    QLineEdit* m_albumName;
    QLineEdit* m_collectionName;
    QCheckBox* m_updateTags;
    QCheckBox* m_forRest = nullptr;
};

// "Import Untagged Files": how to add a folder of songs without tags.
class CImportUntaggedDlg : public QDialog {
    Q_OBJECT

public:
    CImportUntaggedDlg(const std::string& folderPath, const std::vector<CSongFile>& songs, const std::string& message,
                       const UntaggedAnswer& answer, QWidget* parent = nullptr);
    const UntaggedAnswer& Answer() const { return m_answer; }
    // The user asked for this answer to stand for the rest of the import.
    bool ForRest() const;
    void SelectOption(int option);

    void accept() override;

private:
    UntaggedAnswer m_answer;
    int m_option = 0;
    std::array<QRadioButton*, 4> m_options{};
    QLineEdit* m_artistName;
    QLineEdit* m_albumName;
    QLineEdit* m_collectionName;
    QCheckBox* m_updateTags;
    QCheckBox* m_forRest = nullptr;
};

// The import's questions asked with the two dialogs, and its progress in the progress window,
// which is repainted at most about 20 times a second while the walk runs.
class CImportDialogs : public CImportQuestions {
public:
    CImportDialogs(DialogRunner runDialog, QWidget* parent);

    bool AskUntagged(const std::string& folderPath, const std::vector<CSongFile>& songs, const std::string& message,
                     UntaggedAnswer& answer) override;
    bool AskUnknown(const std::string& firstArtist, const std::string& folderPath, const std::vector<CSongFile>& songs,
                    const std::string& message, UnknownAnswer& answer) override;
    void ShowProgress(const std::string& text) override;
    void FolderTotal(std::size_t folders) override;
    void FolderDone(std::size_t songs) override;
    bool StopRequested() const override { return m_stop || m_progress.Cancelled(); }
    ReimportChoice AskReimport(std::size_t known, std::size_t total) override;
    void Finished(const ImportReport& report) override;
    // What the import did, in one line, once it has ended.
    const std::string& Summary() const { return m_summary; }

    // Asks the walk to stop, as Cancel does.
    void RequestStop() { m_stop = true; }
    CProcessingDlg& Progress() { return m_progress; }

private:
    // Runs a question over the progress window, which first shows where the import is.
    int Ask(QDialog& question);

    DialogRunner m_runDialog;
    QWidget* m_parent;
    CProcessingDlg m_progress;
    int m_folders = 0;
    int m_songs = 0;
    bool m_stop = false;
    std::string m_summary;
    // The answers given for the rest of the import: the untagged one, and the unknown ones by
    // their question.
    std::optional<UntaggedAnswer> m_untaggedForRest;
    std::map<std::string, UnknownAnswer> m_unknownForRest;
};

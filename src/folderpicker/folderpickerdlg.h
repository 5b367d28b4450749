#pragma once

#include <QDialog>
#include <QLineEdit>

#include <string>

#include "folderpicker/folderrules.h"

class CMessageBox;
class QComboBox;
class QLabel;
class QListWidget;
class QPushButton;

// The Folder field: Enter goes to the typed folder (never closing the dialog), and every typed
// or deleted character is handed on for completion and opening.
class CFolderEdit : public QLineEdit {
    Q_OBJECT

public:
    using QLineEdit::QLineEdit;

Q_SIGNALS:
    void EnterPressed();
    // After the edit took a key: `mayComplete` when it typed a character with the caret then
    // at the end.
    void Typed(bool mayComplete);

protected:
    void keyPressEvent(QKeyEvent* event) override;
    // The dialog opens with the caret after the folder shown, nothing selected.
    void focusInEvent(QFocusEvent* event) override;

private:
    bool m_hadFocus = false;
};

// Chooses a folder: browsed in the list, or typed into the Folder field, which completes
// folder names and offers to create a folder that does not exist. Accepted only through Open.
class CFolderPickerDlg : public QDialog {
    Q_OBJECT

public:
    CFolderPickerDlg(const std::string& folder, CMessageBox& messages, QWidget* parent = nullptr);

    // After OK: the chosen folder, ending in "/".
    const std::string& FolderPath() const { return m_rules.FolderPath(); }

    // Where a search for music starts: the user's music folder, else the home folder.
    static std::string MusicFolder();

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void OnOpen();
    void OnEnter();
    void OnTyped(bool mayComplete);
    // Shows the folder (the list, the place and the Folder field); false when it is none.
    bool ShowFolder(const std::string& path);
    void FillList();
    // The usual places, to jump to.
    QComboBox* MakePlaces();
    void SetField(const std::string& bytes, std::size_t selectFrom);
    // The bytes of the Folder field: what the program put there, followed by what was typed.
    std::string FieldBytes() const;
    // Creates the folder after asking; false (the user told why) when it was not made.
    bool AskAndCreate(const OpenCheck& check);

    CMessageBox& m_messages;
    CFolderRules m_rules;
    std::string m_fieldBytes;
    QLabel* m_place;
    QListWidget* m_list;
    CFolderEdit* m_field;
    QPushButton* m_open;
};

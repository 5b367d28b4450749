#include "import/importdlgs.h"

#include <QButtonGroup>
#include <QCheckBox>
#include <QDialogButtonBox>
#include <QGridLayout>
#include <QGroupBox>
#include <QLabel>
#include <QLineEdit>
#include <QListWidget>
#include <QMessageBox>
#include <QPushButton>
#include <QRadioButton>
#include <QVBoxLayout>

#include <fmt/printf.h>

#include "import/importreport.h"
#include "import/songfile.h"
#include "platform/usertext.h"
#include "widgets/displaytext.h"
#include "widgets/widgetparts.h"

namespace {

QLabel* WrappedLabel(const std::string& text, const char* name, QWidget* parent) {
    QLabel* label = PlainLabel(text, name, parent);
    label->setWordWrap(true);
    return label;
}

// The folder's file names, sorted alphabetically; nothing in it is selected.
QListWidget* SongList(const std::vector<CSongFile>& songs, QWidget* parent) {
    std::vector<std::string> names;
    names.reserve(songs.size());
    for (const CSongFile& song : songs) {
        names.push_back(FileNamePart(song.GetPath()));
    }
    auto* list = new QListWidget(parent);
    list->setObjectName(QStringLiteral("songList"));
    list->setSelectionMode(QAbstractItemView::NoSelection);
    for (const std::size_t i : OrderIgnoringCase(names)) {
        list->addItem(DisplayText(names[i]));
    }
    return list;
}

// A name field; `spoken` is what a screen reader calls it.
QLineEdit* NameEdit(const std::string& text, const char* name, const char* spoken, QWidget* parent) {
    auto* edit = new QLineEdit(DisplayText(text), parent);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setAccessibleName(QString::fromUtf8(spoken));
    return edit;
}

QRadioButton* Option(const char* text, const char* name, QWidget* parent) {
    auto* option = new QRadioButton(QString::fromUtf8(text), parent);
    option->setObjectName(QString::fromLatin1(name));
    option->setAutoExclusive(false);  // the dialog ticks one itself
    return option;
}

QDialogButtonBox* OkButton(QDialog* dialog) {
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok, dialog);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    QObject::connect(buttons, &QDialogButtonBox::accepted, dialog, &QDialog::accept);
    return buttons;
}

// The message, the captions with their values, and the song list above the options.
void AddHeader(QVBoxLayout* layout, QDialog* dialog, const std::string& message,
               const std::vector<std::pair<const char*, QLabel*>>& captions, const std::vector<CSongFile>& songs) {
    layout->addWidget(WrappedLabel(message, "messageLabel", dialog));
    auto* grid = new QGridLayout;
    int row = 0;
    for (const auto& [caption, value] : captions) {
        grid->addWidget(new QLabel(QString::fromUtf8(caption), dialog), row, 0);
        grid->addWidget(value, row++, 1);
    }
    grid->setColumnStretch(1, 1);
    layout->addLayout(grid);
    layout->addWidget(SongList(songs, dialog), 1);
}

template <std::size_t N>
void TickOnly(const std::array<QRadioButton*, N>& options, int option) {
    for (std::size_t i = 0; i < N; ++i) {
        options[i]->setChecked(static_cast<int>(i) == option);
    }
}

// The options under the header, then OK; each option selects itself, and the question opens on
// its initial option.
template <typename Question, std::size_t N>
QCheckBox* FinishQuestion(Question* question, QVBoxLayout* layout, QGroupBox* group,
                          const std::array<QRadioButton*, N>& options, int initial) {
    // One choice: a screen reader presents the options as one group of radio buttons.
    auto* choice = new QButtonGroup(question);
    for (QRadioButton* option : options) {
        choice->addButton(option);
    }
    auto* forRest =
        new QCheckBox(QString::fromUtf8(CUserText::tr("Use this answer for the rest of this import")), question);
    forRest->setObjectName(QStringLiteral("sameAnswerCheck"));
    layout->addWidget(group);
    layout->addWidget(forRest);
    layout->addWidget(OkButton(question));
    for (std::size_t i = 0; i < N; ++i) {
        QObject::connect(options[i], &QRadioButton::clicked, question,
                         [question, i] { question->SelectOption(static_cast<int>(i)); });
    }
    question->SelectOption(initial);
    question->resize(560, 420);
    return forRest;
}

}  // namespace

CImportUnknownDlg::CImportUnknownDlg(const std::string& firstArtist, const std::string& folderPath,
                                     const std::vector<CSongFile>& songs, const std::string& message,
                                     const UnknownAnswer& answer, QWidget* parent)
    : QDialog(parent),
      m_answer(answer),
      m_albumName(NameEdit(answer.name, "albumNameEdit", CUserText::tr("Album name"), this)),
      m_collectionName(NameEdit(answer.name, "collectionNameEdit", CUserText::tr("Collection name"), this)),
      m_updateTags(new QCheckBox(QString::fromUtf8(CUserText::tr("UpdateTags")), this)) {
    setObjectName(QStringLiteral("importUnknownDialog"));
    setWindowTitle(QString::fromUtf8(CUserText::tr("Import Unknown Files")));
    m_updateTags->setObjectName(QStringLiteral("updateTagsCheck"));
    auto* layout = new QVBoxLayout(this);
    AddHeader(layout, this, message,
              {{CUserText::tr("Artist:"), WrappedLabel(firstArtist, "artistLabel", this)},
               {CUserText::tr("Directory:"), WrappedLabel(folderPath, "directoryLabel", this)}},
              songs);
    auto* group = new QGroupBox(QString::fromUtf8(CUserText::tr("Add As:")), this);
    auto* options = new QGridLayout(group);
    m_options = {Option(CUserText::tr("Multiple Albums"), "multipleAlbumsOption", group),
                 Option(CUserText::tr("One Album:"), "oneAlbumOption", group),
                 Option(CUserText::tr("One Collection:"), "oneCollectionOption", group),
                 Option(CUserText::tr("Unsorted Files"), "unsortedOption", group),
                 Option(CUserText::tr("Do Not Add"), "doNotAddOption", group)};
    options->addWidget(m_options[0], 0, 0);
    options->addWidget(m_options[1], 1, 0);
    options->addWidget(m_albumName, 1, 1);
    options->addWidget(m_updateTags, 1, 2);
    options->addWidget(m_options[2], 2, 0);
    options->addWidget(m_collectionName, 2, 1);
    options->addWidget(m_options[3], 3, 0);
    options->addWidget(m_options[4], 4, 0);
    options->setColumnStretch(1, 1);
    m_forRest = FinishQuestion(this, layout, group, m_options, answer.option);
}

bool CImportUnknownDlg::ForRest() const {
    return m_forRest->isChecked();
}

void CImportUnknownDlg::SelectOption(int option) {
    m_option = option;
    TickOnly(m_options, option);
    const QuestionFields fields = FieldsOfUnknown(option);
    m_albumName->setEnabled(fields.albumName);
    m_collectionName->setEnabled(fields.collectionName);
    m_updateTags->setEnabled(fields.updateTags);
}

void CImportUnknownDlg::accept() {
    m_answer = UnknownAnswerOnOk(m_option, LineEditBytes(m_albumName, m_answer.name),
                                 LineEditBytes(m_collectionName, m_answer.name), m_updateTags->isChecked(), m_answer);
    QDialog::accept();
}

CImportUntaggedDlg::CImportUntaggedDlg(const std::string& folderPath, const std::vector<CSongFile>& songs,
                                       const std::string& message, const UntaggedAnswer& answer, QWidget* parent)
    : QDialog(parent),
      m_answer(answer),
      m_artistName(NameEdit(answer.artistName, "artistNameEdit", CUserText::tr("Artist name"), this)),
      m_albumName(NameEdit(answer.albumName, "albumNameEdit", CUserText::tr("Album name"), this)),
      m_collectionName(NameEdit(answer.collectionName, "collectionNameEdit", CUserText::tr("Collection name"), this)),
      m_updateTags(new QCheckBox(QString::fromUtf8(CUserText::tr("Update Tags")), this)) {
    setObjectName(QStringLiteral("importUntaggedDialog"));
    setWindowTitle(QString::fromUtf8(CUserText::tr("Import Untagged Files")));
    m_updateTags->setObjectName(QStringLiteral("updateTagsCheck"));
    auto* layout = new QVBoxLayout(this);
    AddHeader(layout, this, message, {{CUserText::tr("Directory:"), WrappedLabel(folderPath, "directoryLabel", this)}},
              songs);
    auto* group = new QGroupBox(QString::fromUtf8(CUserText::tr("Add As:")), this);
    auto* options = new QGridLayout(group);
    m_options = {Option(CUserText::tr("One Album:"), "oneAlbumOption", group),
                 Option(CUserText::tr("One Collection:"), "oneCollectionOption", group),
                 Option(CUserText::tr("Unsorted Files"), "unsortedOption", group),
                 Option(CUserText::tr("Do Not Add"), "doNotAddOption", group)};
    const auto caption = [group](const char* text, QWidget* buddy) {
        auto* label = new QLabel(QString::fromUtf8(text), group);
        label->setBuddy(buddy);
        return label;
    };
    options->addWidget(m_options[0], 0, 0);
    options->addWidget(caption(CUserText::tr("Artist Name:"), m_artistName), 0, 1);
    options->addWidget(m_artistName, 0, 2);
    options->addWidget(m_updateTags, 0, 3);
    options->addWidget(caption(CUserText::tr("Album Name:"), m_albumName), 1, 1);
    options->addWidget(m_albumName, 1, 2);
    options->addWidget(m_options[1], 2, 0);
    options->addWidget(caption(CUserText::tr("Collection Name:"), m_collectionName), 2, 1);
    options->addWidget(m_collectionName, 2, 2);
    options->addWidget(m_options[2], 3, 0);
    options->addWidget(m_options[3], 4, 0);
    options->setColumnStretch(2, 1);
    m_forRest = FinishQuestion(this, layout, group, m_options, answer.option);
}

bool CImportUntaggedDlg::ForRest() const {
    return m_forRest->isChecked();
}

void CImportUntaggedDlg::SelectOption(int option) {
    m_option = option;
    TickOnly(m_options, option);
    const QuestionFields fields = FieldsOfUntagged(option);
    m_artistName->setEnabled(fields.artistName);
    m_albumName->setEnabled(fields.albumName);
    m_collectionName->setEnabled(fields.collectionName);
    m_updateTags->setEnabled(fields.updateTags);
    for (QLabel* caption : findChildren<QLabel*>()) {
        if (caption->buddy() != nullptr) {
            caption->setEnabled(caption->buddy()->isEnabled());  // a caption greys with its field
        }
    }
}

void CImportUntaggedDlg::accept() {
    UntaggedAnswer fields;
    fields.artistName = LineEditBytes(m_artistName, m_answer.artistName);
    fields.albumName = LineEditBytes(m_albumName, m_answer.albumName);
    fields.collectionName = LineEditBytes(m_collectionName, m_answer.collectionName);
    fields.updateTags = m_updateTags->isChecked();
    m_answer = UntaggedAnswerOnOk(m_option, fields, m_answer);
    QDialog::accept();
}

CImportDialogs::CImportDialogs(DialogRunner runDialog, QWidget* parent)
    : m_runDialog(std::move(runDialog)), m_parent(parent), m_progress(CUserText::tr("Importing Files"), parent) {
    m_progress.SetCounts(0, 0);
    m_progress.show();
    m_progress.KeepPainted(true);
}

ReimportChoice CImportDialogs::AskReimport(std::size_t known, std::size_t total) {
    QMessageBox box(QMessageBox::Question, QStringLiteral("Cadenzo"),
                    QString::fromStdString(fmt::sprintf(
                        CUserText::tr("%d of the %d song files in this folder are already in the library."),
                        static_cast<int>(known), static_cast<int>(total))),
                    QMessageBox::NoButton, m_parent);
    box.setObjectName(QStringLiteral("reimportQuestion"));
    QPushButton* onlyNew =
        box.addButton(QString::fromUtf8(CUserText::tr("Only Folders With New Songs")), QMessageBox::AcceptRole);
    onlyNew->setObjectName(QStringLiteral("onlyNewFoldersButton"));
    QPushButton* all = box.addButton(QString::fromUtf8(CUserText::tr("All Folders")), QMessageBox::AcceptRole);
    all->setObjectName(QStringLiteral("allFoldersButton"));
    QPushButton* cancel = box.addButton(QMessageBox::Cancel);
    box.setDefaultButton(onlyNew);
    box.setEscapeButton(cancel);
    Ask(box);
    if (box.clickedButton() == cancel) {
        return ReimportChoice::Cancel;
    }
    return box.clickedButton() == all ? ReimportChoice::AllFolders : ReimportChoice::OnlyNewFolders;
}

bool CImportDialogs::AskUntagged(const std::string& folderPath, const std::vector<CSongFile>& songs,
                                 const std::string& message, UntaggedAnswer& answer) {
    if (m_untaggedForRest) {
        // The folder keeps its own names; the choice is the one given for the rest.
        answer.option = m_untaggedForRest->option;
        answer.updateTags = m_untaggedForRest->updateTags;
        return true;
    }
    CImportUntaggedDlg dialog(folderPath, songs, message, answer, m_parent);
    if (Ask(dialog) != QDialog::Accepted) {
        return false;
    }
    answer = dialog.Answer();
    if (dialog.ForRest()) {
        m_untaggedForRest = answer;
    }
    return true;
}

bool CImportDialogs::AskUnknown(const std::string& firstArtist, const std::string& folderPath,
                                const std::vector<CSongFile>& songs, const std::string& message,
                                UnknownAnswer& answer) {
    if (const auto kept = m_unknownForRest.find(message); kept != m_unknownForRest.end()) {
        answer.option = kept->second.option;
        answer.updateTags = kept->second.updateTags;
        return true;
    }
    CImportUnknownDlg dialog(firstArtist, folderPath, songs, message, answer, m_parent);
    if (Ask(dialog) != QDialog::Accepted) {
        return false;
    }
    answer = dialog.Answer();
    if (dialog.ForRest()) {
        m_unknownForRest.emplace(message, answer);
    }
    return true;
}

int CImportDialogs::Ask(QDialog& question) {
    m_progress.KeepPainted(true);
    return m_runDialog(question);
}

void CImportDialogs::ShowProgress(const std::string& text) {
    m_progress.SetProgressText(text);
    m_progress.KeepPainted();
}

void CImportDialogs::FolderTotal(std::size_t folders) {
    m_progress.SetTotal(static_cast<int>(folders));
    m_progress.KeepPainted(true);
}

void CImportDialogs::FolderDone(std::size_t songs) {
    ++m_folders;
    m_songs += static_cast<int>(songs);
    m_progress.SetCounts(m_folders, m_songs);
    m_progress.KeepPainted();
}

void CImportDialogs::Finished(const ImportReport& report) {
    m_summary = ImportSummary(report);
}

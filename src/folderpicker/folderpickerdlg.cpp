#include "folderpicker/folderpickerdlg.h"

#include <QComboBox>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGridLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QListWidget>
#include <QPushButton>
#include <QStandardPaths>
#include <QStyle>

#include "platform/messagebox.h"
#include "platform/usertext.h"
#include "widgets/displaytext.h"
#include "widgets/widgetparts.h"

void CFolderEdit::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Return || event->key() == Qt::Key_Enter) {
        event->accept();
        Q_EMIT EnterPressed();
        return;
    }
    const QString before = text();
    QLineEdit::keyPressEvent(event);
    if (text() == before) {
        return;
    }
    const bool typedCharacter = event->key() != Qt::Key_Backspace && event->key() != Qt::Key_Delete &&
                                !event->text().isEmpty() && event->text().front().isPrint();
    Q_EMIT Typed(typedCharacter && cursorPosition() == text().size());
}

void CFolderEdit::focusInEvent(QFocusEvent* event) {
    QLineEdit::focusInEvent(event);
    if (!m_hadFocus) {
        m_hadFocus = true;
        end(false);
    }
}

CFolderPickerDlg::CFolderPickerDlg(const std::string& folder, CMessageBox& messages, QWidget* parent)
    : QDialog(parent),
      m_messages(messages),
      m_rules(folder),
      m_place(new QLabel(this)),
      m_list(new QListWidget(this)),
      m_field(new CFolderEdit(this)),
      m_open(new QPushButton(QString::fromUtf8(CUserText::tr("Open")), this)) {
    setObjectName(QStringLiteral("folderPicker"));
    setWindowTitle(QString::fromUtf8(CUserText::tr("Select Folder")));
    m_place->setObjectName(QStringLiteral("folderPlace"));
    m_place->setTextFormat(Qt::PlainText);
    m_list->setObjectName(QStringLiteral("folderList"));
    m_list->setAccessibleName(QString::fromUtf8(CUserText::tr("Folders")));
    m_list->installEventFilter(this);
    m_field->setObjectName(QStringLiteral("folderEdit"));
    m_open->setObjectName(QStringLiteral("openButton"));
    m_open->setDefault(true);
    auto* cancel = new QPushButton(QString::fromUtf8(CUserText::tr("Cancel")), this);
    cancel->setObjectName(QStringLiteral("cancelButton"));
    cancel->setAutoDefault(false);
    auto* lookIn = new QLabel(QString::fromUtf8(CUserText::tr("Look in:")), this);
    auto* folderLabel = new QLabel(QString::fromUtf8(CUserText::tr("Folder:")), this);
    folderLabel->setBuddy(m_field);
    m_field->setAccessibleName(QString::fromUtf8(CUserText::tr("Folder")));

    auto* layout = new QGridLayout(this);
    layout->addWidget(lookIn, 0, 0);
    layout->addWidget(m_place, 0, 1, 1, 2);
    layout->addWidget(m_list, 1, 0, 1, 3);
    layout->addWidget(folderLabel, 2, 0);
    layout->addWidget(m_field, 2, 1);
    layout->addWidget(m_open, 2, 2);
    layout->addWidget(cancel, 3, 2);
    auto* placesLabel = new QLabel(QString::fromUtf8(CUserText::tr("Places:")), this);
    QComboBox* places = MakePlaces();
    placesLabel->setBuddy(places);
    layout->addWidget(placesLabel, 3, 0);
    layout->addWidget(places, 3, 1, Qt::AlignLeft);
    layout->setColumnStretch(1, 1);
    setTabOrder(m_list, m_field);
    setTabOrder(m_field, m_open);
    setTabOrder(m_open, cancel);

    connect(m_open, &QPushButton::clicked, this, &CFolderPickerDlg::OnOpen);
    connect(cancel, &QPushButton::clicked, this, &CFolderPickerDlg::reject);
    connect(m_field, &CFolderEdit::EnterPressed, this, &CFolderPickerDlg::OnEnter);
    connect(m_field, &CFolderEdit::Typed, this, &CFolderPickerDlg::OnTyped);
    connect(m_list, &QListWidget::itemActivated, this, [this](QListWidgetItem* item) {
        ShowFolder(m_rules.FolderPath() + item->data(kBytesRole).toByteArray().toStdString());
    });
    ShowFolder(m_rules.FolderPath());
    resize(520, 380);
}

std::string CFolderPickerDlg::MusicFolder() {
    const QString music = QStandardPaths::writableLocation(QStandardPaths::MusicLocation);
    return QFileInfo(music).isDir() ? QFile::encodeName(music).toStdString()
                                    : QFile::encodeName(QDir::homePath()).toStdString();
}

QComboBox* CFolderPickerDlg::MakePlaces() {
    auto* places = new QComboBox(this);
    places->setObjectName(QStringLiteral("placesCombo"));
    places->setAccessibleName(QString::fromUtf8(CUserText::tr("Places")));
    places->addItem(QString::fromUtf8(CUserText::tr("Go to...")));
    const std::string music =
        QFile::encodeName(QStandardPaths::writableLocation(QStandardPaths::MusicLocation)).toStdString();
    for (const FolderPlace& place : UsualPlaces(QFile::encodeName(QDir::homePath()).toStdString(), music)) {
        places->addItem(DisplayText(place.name), ByteArray(place.folder));
    }
    connect(places, &QComboBox::activated, this, [this, places](int index) {
        if (index > 0) {
            ShowFolder(places->itemData(index).toByteArray().toStdString());
            places->setCurrentIndex(0);
        }
    });
    return places;
}

bool CFolderPickerDlg::eventFilter(QObject* watched, QEvent* event) {
    // Enter in the list opens the folder, as a double-click does; it does not press Open.
    if (watched == m_list && event->type() == QEvent::KeyPress) {
        const int key = static_cast<QKeyEvent*>(event)->key();
        if ((key == Qt::Key_Return || key == Qt::Key_Enter) && m_list->currentItem() != nullptr) {
            Q_EMIT m_list->itemActivated(m_list->currentItem());
            return true;
        }
    }
    return QDialog::eventFilter(watched, event);
}

bool CFolderPickerDlg::ShowFolder(const std::string& path) {
    if (!m_rules.NavigateTo(path)) {
        return false;
    }
    FillList();
    m_place->setText(DisplayText(m_rules.FolderPath()));
    SetField(m_rules.FolderPath(), m_rules.FolderPath().size());
    m_field->setFocus();
    return true;
}

void CFolderPickerDlg::FillList() {
    m_list->clear();
    const QIcon folder = style()->standardIcon(QStyle::SP_DirIcon);
    if (m_rules.FolderPath() != "/") {
        auto* up =
            new QListWidgetItem(style()->standardIcon(QStyle::SP_FileDialogToParent), QStringLiteral(".."), m_list);
        up->setData(kBytesRole, QByteArray(".."));
    }
    for (const std::string& name : m_rules.Subfolders()) {
        auto* item = new QListWidgetItem(folder, DisplayText(name), m_list);
        item->setData(kBytesRole, ByteArray(name));
    }
}

void CFolderPickerDlg::SetField(const std::string& bytes, std::size_t selectFrom) {
    m_fieldBytes = bytes;
    const QString text = DisplayText(bytes);
    m_field->setText(text);
    if (selectFrom < bytes.size()) {
        const auto start = static_cast<int>(DisplayText(bytes.substr(0, selectFrom)).size());
        m_field->setSelection(static_cast<int>(text.size()), start - static_cast<int>(text.size()));
    } else {
        m_field->setCursorPosition(static_cast<int>(text.size()));
    }
}

std::string CFolderPickerDlg::FieldBytes() const {
    const QString text = m_field->text();
    const QString known = DisplayText(m_fieldBytes);
    if (text.startsWith(known)) {
        return m_fieldBytes + text.mid(known.size()).toStdString();
    }
    return text.toStdString();
}

bool CFolderPickerDlg::AskAndCreate(const OpenCheck& check) {
    if (!m_messages.AskYesNo(check.message)) {
        return false;
    }
    std::string reason;
    if (!CreateFolderPath(check.folder + "/", reason)) {
        m_messages.Show(CreateFailedMessage(check.typed, reason));
        return false;
    }
    return true;
}

void CFolderPickerDlg::OnOpen() {
    const OpenCheck check = m_rules.CheckOpen(FieldBytes());
    if (check.outcome == OpenCheck::kRefuse) {
        m_messages.Show(check.message);
    } else if (check.outcome == OpenCheck::kAccept || AskAndCreate(check)) {
        ShowFolder(check.folder);
        accept();
        return;
    }
    m_field->setFocus();
}

void CFolderPickerDlg::OnEnter() {
    const OpenCheck check = m_rules.CheckEnter(FieldBytes());
    if (check.outcome == OpenCheck::kAskCreate && !AskAndCreate(check)) {
        m_field->setFocus();
        return;
    }
    ShowFolder(check.folder);
}

void CFolderPickerDlg::OnTyped(bool mayComplete) {
    const std::string text = FieldBytes();
    m_fieldBytes = text;
    if (m_rules.OpensWhileTyping(text)) {
        ShowFolder(text);
    } else if (mayComplete) {
        if (const std::optional<FolderCompletion> completion = m_rules.Complete(text)) {
            SetField(completion->text, completion->addedFrom);
        }
    }
}

#include "edit/edititemdlg.h"

#include <QDialogButtonBox>
#include <QGridLayout>
#include <QLabel>
#include <QLineEdit>
#include <QPushButton>

#include <fmt/format.h>

#include "import/importdlgs.h"
#include "platform/messagebox.h"
#include "platform/usertext.h"
#include "widgets/displaytext.h"

CEditItemDlg::CEditItemDlg(CItemEdit& edit, const CCommandContext& context, QWidget* parent)
    : QDialog(parent), m_edit(edit), m_context(context), m_texts(edit.Loaded()) {
    setObjectName(QStringLiteral("editItemDialog"));
    setWindowTitle(QString::fromUtf8(CUserText::tr("Edit Item")));
    auto* layout = new QGridLayout(this);
    const ItemRows rows = RowsOfKind(edit.Kind());
    m_title = AddRow(CUserText::tr("Title:"), "titleEdit", m_texts.title, rows.title, std::nullopt);
    m_artist = AddRow(CUserText::tr("Artist:"), "artistEdit", m_texts.artist, rows.artist, kArtistItem);
    m_album = AddRow(CUserText::tr("Album:"), "albumEdit", m_texts.album, rows.album, kAlbumItem);
    m_genre = AddRow(CUserText::tr("Genre:"), "genreEdit", m_texts.genre, rows.genre, kGenreItem);
    m_comment = AddRow(CUserText::tr("Comment:"), "commentEdit", m_texts.comment, rows.comment, std::nullopt);
    m_year = AddRow(CUserText::tr("Year:"), "yearEdit", m_texts.year, rows.year, std::nullopt);
    m_track = AddRow(CUserText::tr("Track:"), "trackEdit", m_texts.track, rows.track, std::nullopt);
    auto* buttons = new QDialogButtonBox(QDialogButtonBox::Ok | QDialogButtonBox::Cancel, this);
    buttons->button(QDialogButtonBox::Ok)->setObjectName(QStringLiteral("okButton"));
    connect(buttons, &QDialogButtonBox::accepted, this, &CEditItemDlg::accept);
    connect(buttons, &QDialogButtonBox::rejected, this, &CEditItemDlg::reject);
    layout->addWidget(buttons, layout->rowCount(), 0, 1, 3);
    layout->setColumnStretch(1, 1);
    resize(520, sizeHint().height());
}

QLineEdit* CEditItemDlg::AddRow(const char* label, const char* name, const std::string& text, bool shown,
                                std::optional<ItemKind> picked) {
    auto* layout = static_cast<QGridLayout*>(this->layout());
    auto* edit = new QLineEdit(DisplayText(text), this);
    edit->setObjectName(QString::fromLatin1(name));
    edit->setReadOnly(picked.has_value());
    auto* caption = new QLabel(QString::fromUtf8(label), this);
    caption->setBuddy(edit);
    const int row = layout->rowCount();
    layout->addWidget(caption, row, 0);
    layout->addWidget(edit, row, 1);
    caption->setVisible(shown);
    edit->setVisible(shown);
    if (picked) {
        auto* pick = new QPushButton(QStringLiteral("..."), this);
        pick->setObjectName(QString::fromLatin1(name).replace(QStringLiteral("Edit"), QStringLiteral("Pick")));
        pick->setAccessibleName(QString::fromUtf8(CUserText::tr("Pick %1")).arg(caption->text().chopped(1)));
        pick->setAutoDefault(false);
        pick->setVisible(shown);
        layout->addWidget(pick, row, 2);
        connect(pick, &QPushButton::clicked, this,
                [this, kind = *picked] { m_context.guarded([this, kind] { Pick(kind); }); });
    }
    return edit;
}

void CEditItemDlg::Pick(ItemKind kind) {
    NameList names;
    IdList ids;
    std::string* text = &m_texts.artist;
    QLineEdit* edit = m_artist;
    const char* title = CUserText::tr("Pick an Artist");
    if (kind == kAlbumItem) {
        m_edit.FillAlbumChoices(names, ids);
        text = &m_texts.album;
        edit = m_album;
        title = CUserText::tr("Pick an Album");
    } else if (kind == kGenreItem) {
        m_context.db.FillNameList(names, ids, "Genres", "Name", "ID");
        text = &m_texts.genre;
        edit = m_genre;
        title = CUserText::tr("Pick a Genre");
    } else {
        m_context.db.FillNameList(names, ids, "Artists", "Name", "ID");
    }
    CManagerDlg picker(m_context, names, ids, *text, kind, title, kManagerPicker, this);
    if (m_context.runDialog(picker) == QDialog::Accepted && !picker.ChosenName().empty()) {
        *text = picker.ChosenName();
        edit->setText(DisplayText(*text));
    }
}

ItemTexts CEditItemDlg::Texts() const {
    ItemTexts texts = m_texts;
    texts.title = LineEditBytes(m_title, m_texts.title);
    texts.comment = LineEditBytes(m_comment, m_texts.comment);
    texts.year = LineEditBytes(m_year, m_texts.year);
    texts.track = LineEditBytes(m_track, m_texts.track);
    return texts;
}

void CEditItemDlg::accept() {
    // An engine error undoes the library's part and is shown; the dialog ends either way, so the
    // view is refreshed.
    m_context.guarded([this] { Store(); });
    QDialog::accept();
}

void CEditItemDlg::Store() {
    if (!m_context.readOnly) {
        std::unique_ptr<CProcessingDlg> progress;
        if (m_edit.Count() > 1) {
            progress = std::make_unique<CProcessingDlg>(CUserText::tr("Saving Tags"), this, false);
            progress->show();
            progress->KeepPainted(true);
        }
        std::size_t done = 0;
        const std::vector<std::string> unwritten = m_edit.Store(Texts(), [&] {
            if (progress) {
                progress->SetProgressText(
                    fmt::format(fmt::runtime(CUserText::tr("Song {} of {}")), ++done, m_edit.Count()));
                progress->KeepPainted();
            }
        });
        progress.reset();
        if (!unwritten.empty()) {
            m_context.messages.Show(UnwrittenFilesMessage(unwritten));
        }
    }
}

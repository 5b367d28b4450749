#include "app/maindlg.h"

#include <QApplication>
#include <QCheckBox>
#include <QCloseEvent>
#include <QComboBox>
#include <QFileDialog>
#include <QHBoxLayout>
#include <QIcon>
#include <QKeySequence>
#include <QLabel>
#include <QMenuBar>
#include <QPushButton>
#include <QShortcut>
#include <QSplitter>
#include <QStatusBar>
#include <QSystemTrayIcon>
#include <QTimer>
#include <QTreeWidget>
#include <QVBoxLayout>

#include <algorithm>
#include <cstdlib>
#include <filesystem>
#include <optional>

#include <fmt/printf.h>

#include "app/commandguard.h"
#include "app/editcommands.h"
#include "app/settings.h"
#include "browse/librarygrid.h"
#include "browse/modetree.h"
#include "db/librarydb.h"
#include "edit/aboutdlg.h"
#include "edit/pendingtags.h"
#include "edit/ratingsaver.h"
#include "folderpicker/folderpickerdlg.h"
#include "import/importdlgs.h"
#include "import/tagworkers.h"
#include "platform/fileaccess.h"
#include "platform/launcher.h"
#include "platform/messagebox.h"
#include "platform/programinfo.h"
#include "platform/runtimerandom.h"
#include "platform/usertext.h"
#include "play/playlist.h"
#include "widgets/displaytext.h"
#include "widgets/searchfield.h"
#include "widgets/widgetparts.h"
#include "widgets/windowplace.h"

namespace {

constexpr int kEntryRole = Qt::UserRole;
constexpr const char* kCommandProperty = "commandId";
constexpr int kUnsavedCheckMs = 1000;  // how often the window asks whether rating writes failed

QString Text(const std::string& bytes) {
    return DisplayText(bytes);
}

QComboBox* MakeCombo(QWidget* parent, const char* name) {
    auto* combo = new QComboBox(parent);
    combo->setObjectName(QString::fromLatin1(name));
    combo->setSizeAdjustPolicy(QComboBox::AdjustToContents);
    return combo;
}

QLabel* MakeLabel(QWidget* parent, const char* text, QWidget* buddy) {
    auto* label = new QLabel(QString::fromUtf8(text), parent);
    label->setBuddy(buddy);
    buddy->setAccessibleName(QString::fromUtf8(text).remove(QLatin1Char(':')));
    return label;
}

// The combo's entries sorted as its list sorts them: by text, letter case ignored.
void FillSorted(QComboBox* combo, const NameList& names, const IdList& ids) {
    for (const std::size_t i : OrderIgnoringCase(names)) {
        combo->addItem(Text(names[i]), ids[i]);
        combo->setItemData(combo->count() - 1, QByteArray(names[i].data(), static_cast<qsizetype>(names[i].size())),
                           kBytesRole);
    }
}

}  // namespace

CMainDlg::CMainDlg(CSettings& settings, COpenedLibrary library, CMessageBox& messages, CLauncher& launcher,
                   QWidget* parent)
    : QMainWindow(parent),
      m_settings(settings),
      m_library(std::move(library)),
      m_messages(messages),
      m_launcher(launcher),
      m_player(m_library.db ? std::make_unique<CSongPlayer>(*m_library.db, launcher, ProgramRandom(), messages)
                            : nullptr) {
    Q_INIT_RESOURCE(cadenzo);  // the icon, from a static library
    setObjectName(QStringLiteral("mainWindow"));
    // No close button: the window ends through Exit (a close that still comes ends it alike).
    setWindowFlags(Qt::Window | Qt::CustomizeWindowHint | Qt::WindowTitleHint | Qt::WindowSystemMenuHint |
                   Qt::WindowMinimizeButtonHint | Qt::WindowMaximizeButtonHint);
    setWindowIcon(QIcon(QStringLiteral(":/cadenzo.svg")));
}

CMainDlg::~CMainDlg() {
    m_ratingSaver.reset();  // writes what waits
    if (m_library.db) {
        m_library.db->SetSongDataListener(nullptr);
        m_library.db->Close();
    }
    m_tray.reset();
    // The grid, a child, saves the column widths as it goes.
}

bool CMainDlg::Initialise() {
    if (!m_library.IsUsable()) {
        return false;
    }
    const char* format = m_library.readOnly ? "%s (v%s)  (Read-Only)" : "%s (v%s)";
    setWindowTitle(QString::fromStdString(fmt::sprintf(format, kProgramName, kProgramVersion)));
    BuildControls();
    m_edits = std::make_unique<CEditCommands>(
        CCommandContext{*m_library.db, m_library.lock, m_settings, m_messages, m_launcher,
                        [this](QDialog& dialog) { return m_runDialog(dialog); },
                        [this](const std::function<void()>& command) { RunCommand(command); },
                        [this]() -> CTagWorkers& { return TagWorkers(); }, m_library.readOnly, this},
        *m_grid);
    BuildMenus();
    m_library.db->SetSongDataListener([this](const IdList& songs) { SaveSongDataInFiles(songs); });
    // The rows of an edit that was interrupted between its files and its rows follow the files.
    if (CPendingTags pending(m_library.db->GetPath()); pending.Exists()) {
        RunCommand([&] { pending.Recover(*m_library.db, TagWorkers(), m_messages, m_library.readOnly); });
    }
    m_grid->SetupGrid();
    FillRatingCombos(true);
    FillGenreCombo(true);
    FillTree();
    RunCommand([this] { m_grid->SelectTreeItemForMode(); });
    BuildTray();
    RestoreWindowPlace(*this, m_settings.GetWindowPlace(), DesignedSize());
    RestoreSplitter(*m_splitter, m_settings.GetSplitterPlace(), {TreeWidth(), width() - TreeWidth()});
    show();
    if (!m_settings.IgnoreSplash()) {
        ShowAbout();
    }
    return true;
}

int CMainDlg::TreeWidth() const {
    return m_grid->FromDesignWidth(150);
}

// Wide enough for every column of the Songs view beside the tree.
QSize CMainDlg::DesignedSize() const {
    const QMargins margins = centralWidget()->layout()->contentsMargins();
    const int songs =
        TreeWidth() + m_splitter->handleWidth() + m_grid->SongsViewWidth() + margins.left() + margins.right();
    return {std::max(m_grid->FromDesignWidth(900), songs), m_grid->FromDesignWidth(570)};
}

void CMainDlg::BuildControls() {
    auto* central = new QWidget(this);
    m_tree = new QTreeWidget(central);
    m_tree->setObjectName(QStringLiteral("viewTree"));
    m_tree->setAccessibleName(QString::fromUtf8(CUserText::tr("Views")));
    m_tree->setHeaderHidden(true);
    m_tree->setRootIsDecorated(false);
    m_ratingFilter = MakeCombo(central, "ratingFilter");
    m_genreFilter = MakeCombo(central, "genreFilter");
    m_playFilter = MakeCombo(central, "playFilter");
    m_back = MakeButton(central, CUserText::tr("Back"), "backButton");
    m_checkAll = MakeButton(central, CUserText::tr("Check All"), "checkAllButton");
    m_playAll = MakeButton(central, CUserText::tr("Play All"), "playAllButton");
    m_edit = MakeButton(central, CUserText::tr("Edit"), "editButton");
    m_importButton = MakeButton(central, CUserText::tr("Import"), "importButton");
    QPushButton* exit = MakeButton(central, CUserText::tr("Exit"), "exitButton");
    m_randomize = new QCheckBox(QString::fromUtf8(CUserText::tr("Randomize")), central);
    m_randomize->setObjectName(QStringLiteral("randomizeCheck"));
    m_enqueue = new QCheckBox(QString::fromUtf8(CUserText::tr("Enqueue")), central);
    m_enqueue->setObjectName(QStringLiteral("enqueueCheck"));
    m_grid = new CLibraryGrid(*this, *m_library.db, m_settings.GetIniPath(), central);
    m_search = new CSearchField(central);
    m_search->setObjectName(QStringLiteral("searchField"));
    m_search->setPlaceholderText(QString::fromUtf8(CUserText::tr("Artist, album or song")));
    m_search->setToolTip(QString::fromUtf8(CUserText::tr("Search the view (Ctrl+F); Escape clears it")));

    auto* filters = new QHBoxLayout;
    filters->addWidget(MakeLabel(central, CUserText::tr("Rating Filter:"), m_ratingFilter));
    filters->addWidget(m_ratingFilter);
    filters->addSpacing(12);
    filters->addWidget(MakeLabel(central, CUserText::tr("Genre Filter:"), m_genreFilter));
    filters->addWidget(m_genreFilter);
    filters->addStretch();
    filters->addWidget(MakeLabel(central, CUserText::tr("Search:"), m_search));
    filters->addWidget(m_search, 1);
    auto* buttons = new QHBoxLayout;
    for (QPushButton* button : {m_back, m_checkAll, m_playAll, m_edit}) {
        buttons->addWidget(button);
    }
    buttons->addStretch();
    auto* bottom = new QHBoxLayout;
    auto* checks = new QVBoxLayout;
    checks->addWidget(m_randomize);
    checks->addWidget(m_enqueue);
    bottom->addLayout(checks);
    bottom->addWidget(MakeLabel(central, CUserText::tr("Play Filter:"), m_playFilter));
    bottom->addWidget(m_playFilter);
    bottom->addStretch();
    bottom->addWidget(m_importButton);
    bottom->addSpacing(24);
    bottom->addWidget(exit);
    auto* browser = new QWidget(central);
    auto* browsing = new QVBoxLayout(browser);
    browsing->setContentsMargins(0, 0, 0, 0);
    browsing->addLayout(filters);
    browsing->addLayout(buttons);
    browsing->addWidget(m_grid, 1);
    m_splitter = new QSplitter(central);
    m_splitter->setObjectName(QStringLiteral("treeGridSplitter"));
    m_splitter->setChildrenCollapsible(false);
    m_splitter->addWidget(m_tree);
    m_splitter->addWidget(browser);
    m_splitter->setStretchFactor(1, 1);
    auto* layout = new QVBoxLayout(central);
    layout->addWidget(m_splitter, 1);
    layout->addLayout(bottom);
    BuildEmptyHint();
    setCentralWidget(central);
    statusBar()->setObjectName(QStringLiteral("statusBar"));  // what an import did is told there
    for (auto [from, to] : {std::pair<QWidget*, QWidget*>{m_tree, m_ratingFilter},
                            {m_ratingFilter, m_genreFilter},
                            {m_genreFilter, m_search},
                            {m_search, m_back},
                            {m_back, m_checkAll},
                            {m_checkAll, m_playAll},
                            {m_playAll, m_edit},
                            {m_edit, m_grid},
                            {m_grid, m_randomize},
                            {m_randomize, m_enqueue},
                            {m_enqueue, m_playFilter},
                            {m_playFilter, m_importButton},
                            {m_importButton, exit}}) {
        setTabOrder(from, to);
    }

    connect(m_back, &QPushButton::clicked, this, [this] { RunCommand([this] { m_grid->GoBack(); }); });
    connect(m_checkAll, &QPushButton::clicked, this, [this] { RunCommand([this] { m_grid->CheckAll(); }); });
    connect(m_playAll, &QPushButton::clicked, this, [this] { RunCommand([this] { m_grid->PlayAll(); }); });
    connect(m_edit, &QPushButton::clicked, this, [this] { RunMenuCommand(Command::EditItems); });
    connect(m_importButton, &QPushButton::clicked, this, [this] { RunCommand([this] { OnImport(); }); });
    connect(exit, &QPushButton::clicked, this, &CMainDlg::close);
    const auto refresh = [this] { RunCommand([this] { m_grid->RefreshView(); }); };
    connect(m_ratingFilter, &QComboBox::activated, this, refresh);
    connect(m_genreFilter, &QComboBox::activated, this, refresh);
    connect(m_tree, &QTreeWidget::currentItemChanged, this, [this](QTreeWidgetItem* item) { OnTreeSelection(item); });
    connect(m_search, &CSearchField::SearchChanged, this, [this] {
        m_searchedView = m_grid->CurrentView();
        RunCommand([this] { m_grid->RefreshView(); });
    });
    AddShortcuts();
}

void CMainDlg::BuildEmptyHint() {
    // Over the grid's empty rows, like the first start of the desktop's other music programs.
    m_emptyHint = new QWidget(m_grid->viewport());
    m_emptyHint->setObjectName(QStringLiteral("emptyHint"));
    auto* text = PlainLabel(CUserText::tr("Your library is empty. Import a music folder to begin."), "emptyHintText",
                            m_emptyHint);
    QPushButton* import = MakeButton(m_emptyHint, CUserText::tr("Import..."), "emptyHintImportButton");
    connect(import, &QPushButton::clicked, this, [this] { m_importButton->click(); });
    auto* hint = new QVBoxLayout(m_emptyHint);
    hint->addWidget(text, 0, Qt::AlignHCenter);
    hint->addWidget(import, 0, Qt::AlignHCenter);
    auto* place = new QVBoxLayout(m_grid->viewport());
    place->addStretch();
    place->addWidget(m_emptyHint, 0, Qt::AlignHCenter);
    place->addStretch();
    m_emptyHint->hide();
}

void CMainDlg::AddShortcuts() {
    const auto add = [this](const QKeySequence& keys, const std::function<void()>& run) {
        connect(new QShortcut(keys, this), &QShortcut::activated, this, run);
    };
    const auto back = [this] { RunCommand([this] { m_grid->GoBack(); }); };
    add(QKeySequence(Qt::ALT | Qt::Key_Left), back);
    add(QKeySequence(Qt::Key_Backspace), [this, back] {
        if (qobject_cast<QLineEdit*>(QApplication::focusWidget()) == nullptr) {
            back();  // in a text field Backspace deletes
        }
    });
    add(QKeySequence(Qt::CTRL | Qt::Key_F), [this] {
        m_search->setFocus(Qt::ShortcutFocusReason);
        m_search->selectAll();
    });
    add(QKeySequence(Qt::CTRL | Qt::Key_I), [this] { m_importButton->click(); });
    add(QKeySequence(Qt::CTRL | Qt::Key_P), [this] { m_playAll->click(); });
    add(QKeySequence(Qt::Key_F5), [this] { RunCommand([this] { m_grid->RefreshView(); }); });
    m_back->setToolTip(QString::fromUtf8(CUserText::tr("Back (Alt+Left, Backspace)")));
    m_playAll->setToolTip(QString::fromUtf8(CUserText::tr("Play All (Ctrl+P)")));
    m_importButton->setToolTip(QString::fromUtf8(CUserText::tr("Import a music folder (Ctrl+I)")));
}

const std::vector<CMainDlg::CommandRow>& CMainDlg::CommandTable() {
    // Handlers that are not guarded show no library error of their own.
    static const std::vector<CommandRow> table = {
        {Command::ExportM3u, CUserText::tr("Export M&3U"), [](CMainDlg& w) { w.OnExportM3U(); }},
        {Command::FindMissingSongs, CUserText::tr("Find &Missing Songs..."),
         [](CMainDlg& w) { w.m_edits->FindMissingSongs(); }},
        {Command::Exit, CUserText::tr("E&xit"), [](CMainDlg& w) { w.close(); }, false, "Ctrl+Q"},
        {Command::EditItems, CUserText::tr("&Edit Item(s)"), [](CMainDlg& w) { w.m_edits->EditItems(); }, true,
         "Ctrl+E"},
        {Command::Remove, CUserText::tr("&Remove"), [](CMainDlg& w) { w.m_edits->Remove(); }},
        {Command::ManageAlbums, CUserText::tr("A&lbums"),
         [](CMainDlg& w) { w.m_edits->Manage(kAlbumItem, CUserText::tr("Manage Albums")); }},
        {Command::ManageArtists, CUserText::tr("A&rtists"),
         [](CMainDlg& w) { w.m_edits->Manage(kArtistItem, CUserText::tr("Manage Artists")); }},
        {Command::ManageCollections, CUserText::tr("&Collections"),
         [](CMainDlg& w) { w.m_edits->Manage(kCollectionItem, CUserText::tr("Manage Collections")); }},
        {Command::ManageGenres, CUserText::tr("&Genres"),
         [](CMainDlg& w) { w.m_edits->Manage(kGenreItem, CUserText::tr("Manage Genres")); }},
        {Command::ChangeAlbum, CUserText::tr("Change A&lbum"), [](CMainDlg& w) { w.m_edits->ChangeAlbum(); }},
        {Command::ChangeArtist, CUserText::tr("Change &Artist"), [](CMainDlg& w) { w.m_edits->ChangeArtist(); }},
        {Command::AddToCollection, CUserText::tr("Add to &Collection"),
         [](CMainDlg& w) { w.m_edits->AddToCollection(); }},
        {Command::RecalcRatings, CUserText::tr("&Recalc Ratings"),
         [](CMainDlg& w) {
             w.m_library.db->RecalcRatings();
             w.m_grid->RefreshView();
         }},
        {Command::DeleteDatabase, CUserText::tr("&Delete Database"),
         [](CMainDlg& w) {
             w.m_edits->DeleteDatabase();
             w.FillGenreCombo(true);
         }},
        {Command::EditIni, CUserText::tr("&Edit INI"), [](CMainDlg& w) { w.m_edits->EditIni(); }},
        {Command::Documentation, CUserText::tr("&Documentation"), [](CMainDlg& w) { w.OpenDocumentation(); }, false,
         "F1"},
        {Command::About, CUserText::tr("&About / Donate"), [](CMainDlg& w) { w.ShowAbout(); }, false},
        {Command::Restore, CUserText::tr("&Restore"), [](CMainDlg& w) { w.RestoreFromTray(); }, false},
    };
    return table;
}

const CMainDlg::CommandRow& CMainDlg::RowOf(Command command) {
    const std::vector<CommandRow>& table = CommandTable();
    return *std::find_if(table.begin(), table.end(),
                         [command](const CommandRow& row) { return row.command == command; });
}

QAction* CMainDlg::AddCommand(QMenu* menu, Command command, const char* text) {
    QAction* action = menu->addAction(QString::fromUtf8(text != nullptr ? text : RowOf(command).text));
    action->setProperty(kCommandProperty, static_cast<int>(command));
    action->setObjectName(QStringLiteral("command%1").arg(static_cast<int>(command)));
    connect(action, &QAction::triggered, this, [this, command] { RunMenuCommand(command); });
    return action;
}

void CMainDlg::BuildMenus() {
    struct Menu {
        const char* title;
        std::vector<std::optional<Command>> items;  // nullopt: a separator
    };
    const std::vector<Menu> menus = {
        {CUserText::tr("&File"), {Command::ExportM3u, Command::FindMissingSongs, std::nullopt, Command::Exit}},
        {CUserText::tr("&Edit"), {Command::EditItems, Command::Remove}},
        {CUserText::tr("&Manage"),
         {Command::ManageAlbums, Command::ManageArtists, Command::ManageCollections, Command::ManageGenres}},
        {CUserText::tr("&Batch Change"), {Command::ChangeAlbum, Command::ChangeArtist, Command::AddToCollection}},
        {CUserText::tr("&Debug"), {Command::RecalcRatings, Command::DeleteDatabase, Command::EditIni}},
        {CUserText::tr("&Help"), {Command::Documentation, std::nullopt, Command::About}},
    };
    for (const Menu& spec : menus) {
        QMenu* menu = menuBar()->addMenu(QString::fromUtf8(spec.title));
        for (const std::optional<Command>& item : spec.items) {
            if (item) {
                AddCommand(menu, *item)->setShortcut(QKeySequence(QString::fromLatin1(RowOf(*item).keys)));
            } else {
                menu->addSeparator();
            }
        }
        connect(menu, &QMenu::aboutToShow, this, &CMainDlg::UpdateMenuStates);
    }
    UpdateMenuStates();
}

void CMainDlg::BuildTray() {
    m_trayMenu = std::make_unique<QMenu>();
    AddCommand(m_trayMenu.get(), Command::Restore);
    m_trayMenu->addSeparator();
    AddCommand(m_trayMenu.get(), Command::Exit, CUserText::tr("&Exit"));
    m_tray = std::make_unique<QSystemTrayIcon>(windowIcon());
    m_tray->setToolTip(QStringLiteral("Cadenzo"));
    m_tray->setContextMenu(m_trayMenu.get());
    connect(m_tray.get(), &QSystemTrayIcon::activated, this, [this](QSystemTrayIcon::ActivationReason reason) {
        if (reason == QSystemTrayIcon::Trigger) {
            RestoreFromTray();
        }
    });
    m_tray->show();
}

void CMainDlg::FillTree() {
    m_tree->clear();
    for (std::size_t entry = 1; entry < ModeTree.size(); ++entry) {
        auto* item = new QTreeWidgetItem(m_tree, {QString::fromUtf8(CUserText::tr(ModeTree[entry].text))});
        item->setData(0, kEntryRole, static_cast<int>(entry));
    }
}

void CMainDlg::FillRatingCombos(bool reset) {
    const std::vector<std::string> labels = m_library.db->ReadRatingLabels();
    for (QComboBox* combo : {m_ratingFilter, m_playFilter}) {
        combo->clear();
        for (std::size_t i = 0; i < labels.size(); ++i) {
            combo->addItem(Text(labels[i]), static_cast<int>(i));
        }
        if (reset) {
            combo->setCurrentIndex(0);
        }
    }
}

void CMainDlg::FillGenreCombo(bool reset) {
    const QString remembered = m_genreFilter->currentText();
    NameList names;
    IdList ids;
    m_library.db->FillGenreList(names, ids, true);
    m_genreFilter->clear();
    FillSorted(m_genreFilter, names, ids);
    m_genreFilter->setCurrentIndex(reset ? 0 : m_genreFilter->findText(remembered, Qt::MatchExactly));
}

void CMainDlg::OnTreeSelection(QTreeWidgetItem* item) {
    const int entry = item != nullptr ? item->data(0, kEntryRole).toInt() : 0;
    const ModeTreeEntry& mode = ModeTree[static_cast<std::size_t>(entry)];
    if (mode.mode != -1) {
        RunCommand(
            [this, &mode] { m_grid->SwitchMode(mode.mode, mode.submode, 0, 0, CLibraryGrid::SwitchManner::FromTree); });
    }
}

void CMainDlg::SelectTreeEntry(int entry) {
    for (int i = 0; i < m_tree->topLevelItemCount(); ++i) {
        QTreeWidgetItem* item = m_tree->topLevelItem(i);
        if (item->data(0, kEntryRole).toInt() == entry) {
            m_tree->setCurrentItem(item);
            return;
        }
    }
    m_tree->setCurrentItem(nullptr);
    m_tree->clearSelection();
}

ViewFilters CMainDlg::CurrentFilters() const {
    ViewFilters filters;
    filters.genreId = m_genreFilter->currentData().toInt();
    filters.genreName = m_genreFilter->currentData(kBytesRole).toByteArray().toStdString();
    filters.ratingPosition = std::max(m_ratingFilter->currentIndex(), 0);
    filters.playPosition = std::max(m_playFilter->currentIndex(), 0);
    filters.unratedAsRating = m_settings.GetUnratedAsRating();
    filters.search = m_search->text().toStdString();
    return filters;
}

void CMainDlg::UpdateControls(const DisplayMode& view) {
    m_emptyHint->setVisible(!m_library.db->HasSongs() && !m_library.readOnly);
    if (!(view == m_searchedView)) {
        m_search->ClearQuietly();  // a search belongs to the view it was typed in
    }
    m_checkAll->setEnabled(view.mode == kSongsMode);
    // The Collections view lists collections, not songs of one: it has nothing to play as a whole.
    m_playAll->setEnabled(view.mode != kCollectionsMode);
    m_importButton->setEnabled(!m_library.readOnly);
}

CommandState CMainDlg::CurrentCommandState() const {
    return {m_library.readOnly, m_grid->CurrentView().mode == kSongsMode, m_grid->HasSelection(),
            m_grid->CountCheckedRows() > 0};
}

void CMainDlg::UpdateMenuStates() {
    const CommandState state = CurrentCommandState();
    for (QAction* action : menuBar()->findChildren<QAction*>()) {
        const QVariant command = action->property(kCommandProperty);
        if (command.isValid()) {
            action->setEnabled(IsCommandEnabled(static_cast<Command>(command.toInt()), state));
        }
    }
    m_checkAll->setEnabled(state.songsView);
}

void CMainDlg::RunMenuCommand(Command command) {
    const CommandRow& row = RowOf(command);
    if (row.guarded) {
        RunCommand([this, &row] { row.run(*this); });
    } else {
        row.run(*this);
    }
}

void CMainDlg::SaveSongDataInFiles(const IdList& songs) {
    if (!m_settings.SaveRatingsInTags()) {
        return;
    }
    if (!m_ratingSaver) {
        m_ratingSaver = std::make_unique<CRatingSaver>(CTagWorkers::DefaultTagWorkerCommand());
        auto* check = new QTimer(this);
        connect(check, &QTimer::timeout, this, &CMainDlg::ReportUnsavedSongData);
        check->start(kUnsavedCheckMs);
    }
    m_ratingSaver->Save(SongDataOf(*m_library.db, songs));
}

void CMainDlg::ReportUnsavedSongData() {
    if (const std::vector<std::string> failed = m_ratingSaver->TakeFailures(); !failed.empty()) {
        m_messages.Show(fmt::sprintf(
            CUserText::tr("The ratings and play counts of %d songs could not be written into their files (the first: "
                          "'%s'). Their library entries are right."),
            static_cast<int>(failed.size()), failed.front()));
    }
}

CTagWorkers& CMainDlg::TagWorkers() {
    if (!m_tagWorkers) {
        m_tagWorkers = std::make_unique<CTagWorkers>();
    }
    return *m_tagWorkers;
}

void CMainDlg::RunCommand(const std::function<void()>& command) {
    RunGuarded(m_messages, command);
}

PlayChoices CMainDlg::CurrentPlayChoices() const {
    PlayChoices choices;
    choices.randomize = m_randomize->isChecked();
    choices.enqueue = m_enqueue->isChecked();
    choices.readOnly = m_library.readOnly;
    choices.player = m_settings.GetPlayerPath();
    choices.enqueueFlag = m_settings.GetEnqueueFlag();
    choices.translate = m_settings.UseNetworkTranslation();
    choices.from = m_settings.GetTranslationFrom();
    choices.to = m_settings.GetTranslationTo();
    return choices;
}

bool CMainDlg::PlayQuery(const std::string& sql) {
    return m_player->PlayQuery(sql, CurrentPlayChoices());
}

bool CMainDlg::PlaySong(std::int32_t id) {
    return m_player->PlaySong(id, CurrentPlayChoices());
}

bool CMainDlg::PlayListedSongs() {
    SongFiles songs;
    m_grid->GetListedSongs(songs.paths, songs.ids);
    return m_player->PlayListed(std::move(songs), CurrentPlayChoices());
}

void CMainDlg::OnExportM3U() {
    const QString name = Text(ExportFileName(GetViewTitle(m_grid->History(), *m_library.db)));
    QFileDialog dialog(this, QString::fromUtf8(CUserText::tr("Select Folder To Export .M3U To")));
    dialog.setObjectName(QStringLiteral("exportDialog"));
    dialog.setAcceptMode(QFileDialog::AcceptSave);
    dialog.setFileMode(QFileDialog::AnyFile);
    dialog.setNameFilter(QString::fromUtf8(CUserText::tr("All Files (*)")));
    dialog.setDefaultSuffix(QStringLiteral("m3u"));
    dialog.selectFile(name);
    if (m_runDialog(dialog) != QDialog::Accepted || dialog.selectedFiles().isEmpty()) {
        return;
    }
    const QByteArray path = QFile::encodeName(dialog.selectedFiles().front());
    m_player->ExportQuery(path.toStdString(), m_grid->BuildViewQuery(true), CurrentPlayChoices());
}

bool CMainDlg::EditItem(ItemKind kind, std::int32_t id) {
    return m_edits->EditItem(kind, id);
}

void CMainDlg::OnImport() {
    CFolderPickerDlg picker(CFolderPickerDlg::MusicFolder(), m_messages, this);
    picker.setWindowTitle(QString::fromUtf8(CUserText::tr("Select Folder Containing Multiple Artists to Import")));
    if (m_runDialog(picker) != QDialog::Accepted) {
        return;
    }
    // Every folder of the walk is named without a trailing "/", the chosen one too.
    std::string folder = picker.FolderPath();
    if (folder.size() > 1) {
        folder.pop_back();
    }
    PathStack paths{folder};
    m_import = std::make_unique<CImportDialogs>(m_runDialog, this);
    try {
        m_library.db->ImportFolder(paths, *m_import, TagWorkers());
    } catch (...) {
        m_import.reset();
        throw;
    }
    statusBar()->showMessage(DisplayText(m_import->Summary()));
    m_import.reset();
    FillGenreCombo(false);
    m_grid->RefreshView();
    if (m_closeAfterImport) {
        close();
    }
}

void CMainDlg::OpenDocumentation() {
    std::string manual = "Cadenzo.doc";
    if (!FileExists(ProgramDirectory() + manual)) {
        // The manual installed with the program (which lives in libexec/cadenzo), else the one of
        // the source tree it was built from.
        std::error_code error;
        const std::filesystem::path installed =
            std::filesystem::path(ExecutableFolder()) / "../../share/doc/cadenzo/manual.html";
        manual = std::filesystem::exists(installed, error) ? installed.string() : std::string(CADENZO_SOURCE_MANUAL);
    }
    if (const std::string problem = OpenFileWithDesktop(m_launcher, manual); !problem.empty()) {
        m_messages.Show(problem);
    }
}

void CMainDlg::ShowAbout() {
    CAboutDlg about(m_launcher, m_messages, this);
    m_runDialog(about);
}

void CMainDlg::RestoreFromTray() {
    showNormal();
    raise();
    activateWindow();
}

void CMainDlg::changeEvent(QEvent* event) {
    QMainWindow::changeEvent(event);
    // Hidden only where the tray can bring it back.
    if (event->type() == QEvent::WindowStateChange && isMinimized() && m_tray && m_tray->isVisible() &&
        QSystemTrayIcon::isSystemTrayAvailable()) {
        hide();
    }
}

void CMainDlg::closeEvent(QCloseEvent* event) {
    if (m_import != nullptr) {
        // The import stops after the folder it is storing; the window closes then.
        m_import->RequestStop();
        m_closeAfterImport = true;
        event->ignore();
        return;
    }
    m_settings.SetWindowPlace(WindowPlace(*this));
    m_settings.SetSplitterPlace(SplitterPlace(*m_splitter));
    event->accept();
}

#include "widgets/processingdlg.h"

#include <QCloseEvent>
#include <QCoreApplication>
#include <QKeyEvent>
#include <QLabel>
#include <QProgressBar>
#include <QPushButton>
#include <QVBoxLayout>

#include <algorithm>
#include <utility>

#include <fmt/format.h>

#include "platform/usertext.h"
#include "widgets/displaytext.h"
#include "widgets/widgetparts.h"

namespace {

constexpr qint64 kRepaintIntervalMs = 50;

// A centred line of the window, wrapped when long.
QLabel* ProgressLine(const std::string& text, const char* name, QWidget* parent) {
    QLabel* label = PlainLabel(text, name, parent);
    label->setWordWrap(true);
    label->setAlignment(Qt::AlignCenter);
    return label;
}

}  // namespace

CProcessingDlg::CProcessingDlg(const std::string& title, QWidget* parent, bool cancellable)
    : QDialog(parent),
      m_progress(ProgressLine("", "progressLine", this)),
      m_counts(ProgressLine("", "progressCounts", this)),
      m_bar(new QProgressBar(this)),
      m_left(ProgressLine("", "progressLeft", this)),
      m_cancel(new QPushButton(QString::fromUtf8(CUserText::tr("Cancel")), this)) {
    m_bar->setObjectName(QStringLiteral("progressBar"));
    m_bar->setAccessibleName(QString::fromUtf8(CUserText::tr("Folders done")));
    m_bar->hide();
    m_left->hide();
    setObjectName(QStringLiteral("processingDialog"));
    setWindowTitle(QString::fromUtf8(CUserText::tr("Processing...")));
    setWindowFlags(Qt::Dialog | Qt::CustomizeWindowHint | Qt::WindowTitleHint);
    setWindowModality(Qt::ApplicationModal);
    QLabel* titleLine = ProgressLine(title, "progressTitle", this);
    m_progress->setFrameStyle(QFrame::Panel | QFrame::Sunken);
    m_progress->setMinimumHeight(m_progress->fontMetrics().height() * 2 + 8);
    m_cancel->setObjectName(QStringLiteral("cancelImportButton"));
    m_cancel->setVisible(cancellable);
    connect(m_cancel, &QPushButton::clicked, this, &CProcessingDlg::Cancel);
    auto* layout = new QVBoxLayout(this);
    layout->addWidget(titleLine);
    layout->addWidget(m_progress);
    layout->addWidget(m_counts);
    layout->addWidget(m_bar);
    layout->addWidget(m_left);
    layout->addWidget(m_cancel, 0, Qt::AlignCenter);
    resize(520, sizeHint().height());
}

void CProcessingDlg::SetProgressText(const std::string& text) {
    m_reportedText = text;
    m_textReported = true;
}

void CProcessingDlg::SetCounts(int folders, int songs) {
    m_reportedFolders = folders;
    m_reportedSongs = songs;
    m_countsReported = true;
}

void CProcessingDlg::ShowReported() {
    if (std::exchange(m_textReported, false)) {
        m_progress->setText(DisplayText(m_reportedText));
    }
    if (!std::exchange(m_countsReported, false)) {
        return;
    }
    const int folders = m_reportedFolders;
    const int songs = m_reportedSongs;
    const std::string folderCount =
        folders == 1 ? CUserText::tr("1 folder") : fmt::format(fmt::runtime(CUserText::tr("{} folders")), folders);
    const std::string songCount =
        songs == 1 ? CUserText::tr("1 song") : fmt::format(fmt::runtime(CUserText::tr("{} songs")), songs);
    m_counts->setText(QString::fromStdString(
        fmt::format(fmt::runtime(CUserText::tr("{}, {} imported so far")), folderCount, songCount)));
    if (!m_bar->isHidden()) {
        m_bar->setValue(std::min(folders, m_bar->maximum()));
        ShowTimeLeft(folders);
    }
}

void CProcessingDlg::SetTotal(int folders) {
    m_bar->setRange(0, std::max(folders, 1));
    m_bar->setValue(0);
    m_bar->show();
    m_sinceTotal.start();
}

void CProcessingDlg::ShowTimeLeft(int done) {
    // An estimate once a twentieth of the folders and two seconds have passed.
    const qint64 elapsed = m_sinceTotal.elapsed();
    const int total = m_bar->maximum();
    if (done < 1 || done * 20 < total || elapsed < 2000) {
        return;
    }
    const qint64 left = elapsed * std::max(total - done, 0) / done / 1000;
    m_left->setText(QString::fromStdString(
        left >= 60 ? fmt::format(fmt::runtime(CUserText::tr("About {} min {} s left")), left / 60, left % 60)
                   : fmt::format(fmt::runtime(CUserText::tr("About {} s left")), left)));
    m_left->show();
}

void CProcessingDlg::KeepPainted(bool now) {
    if (now || !m_sinceRepaint.isValid() || m_sinceRepaint.elapsed() >= kRepaintIntervalMs) {
        ShowReported();
        // The window is modal: only its own Cancel takes input meanwhile.
        QCoreApplication::processEvents();
        m_sinceRepaint.restart();
    }
}

void CProcessingDlg::Cancel() {
    m_cancelled = true;
    m_cancel->setEnabled(false);
    m_cancel->setText(QString::fromUtf8(CUserText::tr("Stopping...")));
}

void CProcessingDlg::closeEvent(QCloseEvent* event) {
    Cancel();  // the walk ends the window when it has stopped
    event->ignore();
}

void CProcessingDlg::keyPressEvent(QKeyEvent* event) {
    if (event->key() == Qt::Key_Escape) {
        Cancel();
        return;
    }
    QDialog::keyPressEvent(event);
}

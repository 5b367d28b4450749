#include "edit/aboutdlg.h"

#include <QHBoxLayout>
#include <QIcon>
#include <QLabel>
#include <QPushButton>
#include <QVBoxLayout>

#include <fmt/printf.h>

#include "platform/launcher.h"
#include "platform/messagebox.h"
#include "platform/programinfo.h"
#include "platform/usertext.h"
#include "widgets/widgetparts.h"

namespace {

constexpr const char* kCredit = USER_TEXT_NOOP("CUserText", "Written by the Cadenzo developers, 2026.");
constexpr const char* kDonation = USER_TEXT_NOOP(
    "CUserText",
    "Cadenzo is DonateWare: you may use it free of charge for as long as you like. If you find it useful, "
    "please consider a donation of any amount you choose through an online payment service, to support its "
    "development.");

// Arial where it is installed, else the desktop's sans-serif font of the same look.
QFont TitleFont(int pixelSize, bool underline) {
    QFont font;
    font.setFamilies({QStringLiteral("Arial"), QStringLiteral("Liberation Sans"), QStringLiteral("DejaVu Sans")});
    font.setStyleHint(QFont::SansSerif);
    font.setPixelSize(pixelSize);
    font.setBold(true);
    font.setUnderline(underline);
    return font;
}

}  // namespace

CAboutDlg::CAboutDlg(CLauncher& launcher, CMessageBox& messages, QWidget* parent) : QDialog(parent) {
    setObjectName(QStringLiteral("aboutDialog"));
    setWindowTitle(QString::fromUtf8(CUserText::tr("About Cadenzo")));
    auto* icon = new QLabel(this);
    icon->setPixmap(QIcon(QStringLiteral(":/cadenzo.svg")).pixmap(48, 48));
    QLabel* title = PlainLabel(fmt::sprintf("%s v%s", kProgramName, kProgramVersion), "aboutTitle", this);
    title->setFont(TitleFont(20, true));
    title->setAlignment(Qt::AlignCenter);
    QLabel* credit = PlainLabel(CUserText::tr(kCredit), "aboutCredit", this);
    credit->setFont(TitleFont(16, false));
    credit->setAlignment(Qt::AlignCenter);
    QLabel* donation = PlainLabel(CUserText::tr(kDonation), "aboutDonation", this);
    donation->setWordWrap(true);
    QLabel* disclaimer = PlainLabel("", "aboutDisclaimer", this);
    auto* donate = new QPushButton(QString::fromUtf8(CUserText::tr("Donate")), this);
    donate->setObjectName(QStringLiteral("donateButton"));
    connect(donate, &QPushButton::clicked, this, [&launcher, &messages] {
        if (const std::string problem = OpenFileWithDesktop(launcher, "Donate.html"); !problem.empty()) {
            messages.Show(problem);
        }
    });
    auto* ok = new QPushButton(QString::fromUtf8(CUserText::tr("OK")), this);
    ok->setObjectName(QStringLiteral("aboutOk"));
    ok->setDefault(true);
    connect(ok, &QPushButton::clicked, this, &CAboutDlg::accept);

    auto* heading = new QHBoxLayout;
    heading->addWidget(icon);
    heading->addWidget(title, 1);
    auto* buttons = new QHBoxLayout;
    buttons->addWidget(donate);
    buttons->addStretch();
    buttons->addWidget(ok);
    auto* layout = new QVBoxLayout(this);
    layout->addLayout(heading);
    layout->addWidget(credit);
    layout->addSpacing(8);
    layout->addWidget(donation);
    layout->addWidget(disclaimer);
    layout->addStretch();
    layout->addLayout(buttons);
    resize(460, 300);
}

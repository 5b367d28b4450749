#include "app/qtmessagebox.h"

#include <QMessageBox>

#include "widgets/displaytext.h"

namespace {

int RunBox(QWidget* parent, QMessageBox::Icon icon, const std::string& text, QMessageBox::StandardButtons buttons,
           const std::string& details = {}) {
    QMessageBox box(icon, QStringLiteral("Cadenzo"), DisplayText(text), buttons, parent);
    box.setTextFormat(Qt::PlainText);
    box.setDetailedText(DisplayText(details));
    return box.exec();
}

}  // namespace

void CQtMessageBox::Show(const std::string& text) {
    RunBox(m_parent, QMessageBox::Information, text, QMessageBox::Ok);
}

void CQtMessageBox::ShowWithDetails(const std::string& text, const std::string& details) {
    RunBox(m_parent, QMessageBox::Information, text, QMessageBox::Ok, details);
}

bool CQtMessageBox::AskYesNo(const std::string& text) {
    return RunBox(m_parent, QMessageBox::Question, text, QMessageBox::Yes | QMessageBox::No) == QMessageBox::Yes;
}

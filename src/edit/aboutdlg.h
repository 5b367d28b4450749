#pragma once

#include <QDialog>

class CLauncher;
class CMessageBox;

// The program's title and version, a credit line, the donation request, the disclaimer, and a
// Donate button that opens "Donate.html" of the working directory with the desktop.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    CAboutDlg(CLauncher& launcher, CMessageBox& messages, QWidget* parent = nullptr);
};

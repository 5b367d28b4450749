#pragma once

#include <QDialog>

class CLauncher;

// The program's title and version, a credit line, the donation request, the disclaimer, and a
// Donate button that opens "Donate.html" of the working directory with the desktop.
class CAboutDlg : public QDialog {
    Q_OBJECT

public:
    CAboutDlg(CLauncher& launcher, QWidget* parent = nullptr);
};

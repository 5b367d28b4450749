#pragma once

#include <QDialog>

#include <string>

class QLineEdit;

// Asks for one line of text under the caller's prompt ("Rename to:", "Add New Artist Named:"...).
class CNewItemDlg : public QDialog {
    Q_OBJECT

public:
    CNewItemDlg(const std::string& prompt, const std::string& value, QWidget* parent = nullptr);

    // What the field holds (possibly empty); the initial bytes when it was not changed.
    std::string Value() const;

private:
    QLineEdit* m_value;
    std::string m_initial;
};

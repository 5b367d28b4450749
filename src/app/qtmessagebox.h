#pragma once

#include "platform/messagebox.h"

class QWidget;

// Message boxes of the window program, titled "Cadenzo", over `parent`.
class CQtMessageBox : public CMessageBox {
public:
    explicit CQtMessageBox(QWidget* parent = nullptr) : m_parent(parent) {}
    void SetParent(QWidget* parent) { m_parent = parent; }

    void Show(const std::string& text) override;
    void ShowWithDetails(const std::string& text, const std::string& details) override;
    bool AskYesNo(const std::string& text) override;

private:
    QWidget* m_parent;
};

#pragma once

#include <QDialog>

#include <optional>
#include <string>

#include "edit/itemedit.h"
#include "edit/managerdlg.h"

class QLineEdit;

// Edit Item: the name of an artist, collection or genre, the name and artist of an album, or
// the tags of one song or of several songs at once. The artist, album and genre are changed
// only through their pickers. OK writes unless the library is read-only, and tells once which
// song files kept their old tags.
class CEditItemDlg : public QDialog {
    Q_OBJECT

public:
    CEditItemDlg(CItemEdit& edit, const CCommandContext& context, QWidget* parent = nullptr);

    void accept() override;

private:
    // A row of the form; a `picked` one is read-only and gets a button that picks an item of that kind.
    QLineEdit* AddRow(const char* label, const char* name, const std::string& text, bool shown,
                      std::optional<ItemKind> picked);
    void Pick(ItemKind kind);
    void Store();
    ItemTexts Texts() const;

    CItemEdit& m_edit;
    CCommandContext m_context;
    ItemTexts m_texts;  // as loaded, then as picked
    QLineEdit* m_title = nullptr;
    QLineEdit* m_artist = nullptr;
    QLineEdit* m_album = nullptr;
    QLineEdit* m_genre = nullptr;
    QLineEdit* m_comment = nullptr;
    QLineEdit* m_year = nullptr;
    QLineEdit* m_track = nullptr;
};

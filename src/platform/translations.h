#pragma once

#include <QString>

// Loads the translation of Cadenzo's texts for the user's language, cadenzo_<locale>.qm, from
// `folders` (the first that has one), with Qt's own for its dialogs' buttons, and hands it to
// CUserText. Without a translation file the texts stay English.
void LoadTranslations(const QStringList& folders);

// Where an installed program finds its translations, beside where the build leaves the program.
QStringList TranslationFolders(const QString& programFolder);

#include "platform/translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QLocale>
#include <QTranslator>

#include "platform/usertext.h"

void LoadTranslations(const QStringList& folders) {
    // The translators live as long as the program.
    static QTranslator qt;
    static QTranslator cadenzo;
    if (qt.load(QLocale(), QStringLiteral("qtbase"), QStringLiteral("_"),
                QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        QCoreApplication::installTranslator(&qt);
    }
    for (const QString& folder : folders) {
        if (cadenzo.load(QLocale(), QStringLiteral("cadenzo"), QStringLiteral("_"), folder)) {
            QCoreApplication::installTranslator(&cadenzo);
            CUserText::SetTranslation(
                [](const char* english) { return QCoreApplication::translate("CUserText", english).toStdString(); });
            return;
        }
    }
}

QStringList TranslationFolders(const QString& programFolder) {
    return {programFolder + QStringLiteral("/../../share/cadenzo/translations"),
            programFolder + QStringLiteral("/translations")};
}

#include "Translations.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QTranslator>

bool InstallToolkitTranslations(QCoreApplication& application) {
    auto* toolkit = new QTranslator(&application);
    if (!toolkit->load(QStringLiteral("qtbase_ru"),
                       QLibraryInfo::path(QLibraryInfo::TranslationsPath))) {
        delete toolkit;
        return false;
    }
    QCoreApplication::installTranslator(toolkit);
    return true;
}

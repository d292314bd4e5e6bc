#include "Translations.h"

#include "app/SlotDescriptions.h"

#include <QCoreApplication>
#include <QLibraryInfo>
#include <QPointer>
#include <QSettings>
#include <QTranslator>

namespace {

constexpr char LanguageKey[] = "language";

struct Installed {
    Language language = Language::Russian;
    // Owned by the application, so they go with it.
    QPointer<QTranslator> own;
    QPointer<QTranslator> toolkit;
};

Installed& Current() {
    static Installed installed;
    return installed;
}

QPointer<QTranslator> Load(const QString& name, const QString& folder) {
    auto* translator = new QTranslator(QCoreApplication::instance());
    if (translator->load(name, folder))
        return translator;
    delete translator;
    return nullptr;
}

void Remove(QPointer<QTranslator>& translator) {
    if (!translator)
        return;
    QCoreApplication::removeTranslator(translator);
    delete translator;
}

QString Code(Language language) {
    return language == Language::English ? QStringLiteral("en") : QStringLiteral("ru");
}

QSettings Settings() {
    return QSettings(QStringLiteral("Kestrova"), QStringLiteral("Kestrova"));
}

} // namespace

bool SetLanguage(Language language) {
    Installed& installed = Current();
    Remove(installed.own);
    Remove(installed.toolkit);
    installed.language = language;
    // The texts are written in Russian, so only English needs a translation of our own.
    if (language == Language::English)
        installed.own =
            Load(QStringLiteral("kestrova_en"), QStringLiteral(":/kestrova/translations"));
    installed.toolkit = Load(QStringLiteral("qtbase_") + Code(language),
                             QLibraryInfo::path(QLibraryInfo::TranslationsPath));
    for (QTranslator* translator : {installed.own.get(), installed.toolkit.get()})
        if (translator)
            QCoreApplication::installTranslator(translator);
    return installed.toolkit && (language == Language::Russian || installed.own);
}

Language CurrentLanguage() {
    return Current().language;
}

Language RememberedLanguage() {
    return Settings().value(LanguageKey).toString() == Code(Language::English) ? Language::English
                                                                               : Language::Russian;
}

void RememberLanguage(Language language) {
    Settings().setValue(LanguageKey, Code(language));
}

std::string_view SlotDescriptionsFile(Language language) {
    return language == Language::English ? EnglishDescriptionsFileName : DescriptionsFileName;
}

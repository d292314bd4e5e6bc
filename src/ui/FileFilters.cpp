#include "FileFilters.h"

#include "PictureLoader.h"

#include <QCoreApplication>

namespace {

// Every text is marked where it stands, so lupdate files it under this context.
QString Tr(const char* text) {
    return QCoreApplication::translate("FileFilters", text);
}

} // namespace

QList<FileFilter> MelodyFilters() {
    return {
        {Tr(QT_TRANSLATE_NOOP("FileFilters", "Музыкальные файлы")), {"*.mid", "*.aac", "*.mp3"}},
        {Tr(QT_TRANSLATE_NOOP("FileFilters", "Все допустимые форматы")),
         {"*.png", "*.gif", "*.jpg", "*.mid", "*.aac", "*.mp3"}},
    };
}

QList<FileFilter> PictureFilters() {
    QList<FileFilter> formats;
    QStringList all;
    for (const PictureFormat& format : PictureFormats()) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format.extension);
        formats.append({Tr(format.description) + " (" + pattern + ")", {pattern}});
        all.append(pattern);
    }
    if (formats.size() > 1)
        formats.prepend(
            {Tr(QT_TRANSLATE_NOOP("FileFilters", "All")) + " (" + all.join(';') + ")", all});
    return formats;
}

QList<FileFilter> ColourSchemeFilters() {
    return {{Tr(QT_TRANSLATE_NOOP("FileFilters", "Цветовая схема (*.col)")), {"*.col"}}};
}

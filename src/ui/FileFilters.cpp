#include "FileFilters.h"

#include "PictureLoader.h"

QList<FileFilter> MelodyFilters() {
    return {
        {QStringLiteral("Музыкальные файлы"), {"*.mid", "*.aac", "*.mp3"}},
        {QStringLiteral("Все допустимые форматы"),
         {"*.png", "*.gif", "*.jpg", "*.mid", "*.aac", "*.mp3"}},
    };
}

QList<FileFilter> PictureFilters() {
    QList<FileFilter> formats;
    QStringList all;
    for (const PictureFormat& format : PictureFormats()) {
        const QString pattern = QStringLiteral("*.") + QString::fromLatin1(format.extension);
        formats.append({QString::fromLatin1(format.description) + " (" + pattern + ")", {pattern}});
        all.append(pattern);
    }
    if (formats.size() > 1)
        formats.prepend({"All (" + all.join(';') + ")", all});
    return formats;
}

QList<FileFilter> ColourSchemeFilters() {
    return {{QStringLiteral("Цветовая схема (*.col)"), {"*.col"}}};
}

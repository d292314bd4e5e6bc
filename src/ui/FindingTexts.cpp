#include "FindingTexts.h"

#include "ThemeOverview.h"
#include "package/PathNames.h"

#include <QCoreApplication>
#include <QFile>
#include <QLocale>

namespace {

QString Size(int width, int height) {
    return ThemeOverview::tr("%1 × %2").arg(width).arg(height);
}

QString Bytes(std::uint64_t size) {
    return ThemeOverview::tr("%1 Б").arg(QLocale(QLocale::Russian).toString(qulonglong(size)));
}

} // namespace

QString FindingText(const ElementReport& report, const Finding& finding) {
    const ElementFacts& facts = report.facts;
    switch (finding.code) {
    case FindingCode::Unreadable:
        return ThemeOverview::tr("Файл не читается: %1.")
            .arg(QString::fromStdString(finding.detail));
    case FindingCode::NotAFile:
        return ThemeOverview::tr("Это не обычный файл.");
    case FindingCode::EmptyFile:
        return ThemeOverview::tr("Файл пуст.");
    case FindingCode::NotAPicture:
        return ThemeOverview::tr("Файл не читается как картинка.");
    case FindingCode::DamagedPicture:
        return ThemeOverview::tr("Данные картинки повреждены или обрываются.");
    case FindingCode::NotAMelody:
        return ThemeOverview::tr("Это не MIDI, не AAC (ADTS) и не MP3.");
    case FindingCode::ExtensionMismatch: {
        const QString format = QString::fromStdString(facts.format);
        if (finding.detail.empty())
            return ThemeOverview::tr("Содержимое в формате %1, а у имени файла нет расширения.")
                .arg(format);
        return ThemeOverview::tr("Содержимое в формате %1, а имя файла оканчивается на «.%2».")
            .arg(format, QString::fromStdString(finding.detail));
    }
    case FindingCode::BeyondScreen: {
        const QString screen = Size(ScreenWidth, ScreenHeight);
        if (finding.bottom == 0)
            return ThemeOverview::tr("Выходит за экран %1 справа на %2 пикс.; телефон это обрежет.")
                .arg(screen)
                .arg(finding.right);
        if (finding.right == 0)
            return ThemeOverview::tr("Выходит за экран %1 снизу на %2 пикс.; телефон это обрежет.")
                .arg(screen)
                .arg(finding.bottom);
        return ThemeOverview::tr(
                   "Выходит за экран %1 справа на %2 пикс. и снизу на %3 пикс.; телефон это "
                   "обрежет.")
            .arg(screen)
            .arg(finding.right)
            .arg(finding.bottom);
    }
    case FindingCode::SingleFrame:
        return ThemeOverview::tr("В анимации всего один кадр.");
    case FindingCode::WallpaperSize:
        return ThemeOverview::tr(
                   "Обои %1, а не %2: телефон показывает их от левого верхнего угла экрана, "
                   "меньшие оставят поля, большие обрежутся.")
            .arg(Size(facts.width, facts.height), Size(ScreenWidth, ScreenHeight));
    }
    return {};
}

QString FactsText(const ElementReport& report) {
    if (report.Missing())
        return ThemeOverview::tr("Файл не выбран.");
    const ElementFacts& facts = report.facts;
    QStringList parts;
    const std::string_view name = FileNamePart(report.path);
    parts << QFile::decodeName(QByteArray(name.data(), qsizetype(name.size())));
    if (!facts.format.empty())
        parts << QString::fromStdString(facts.format);
    if (facts.width > 0)
        parts << Size(facts.width, facts.height);
    if (facts.frames > 1 || (facts.frames == 1 && SlotLayouts[report.slot].kind == skAnimation))
        parts << ThemeOverview::tr("кадров: %1").arg(facts.frames);
    if (facts.fileSize > 0)
        parts << Bytes(facts.fileSize);
    return parts.join(QStringLiteral(", "));
}

QString TallyText(const CheckTally& tally) {
    return ThemeOverview::tr("Ошибок: %1, предупреждений: %2, замечаний: %3, не выбрано: %4")
        .arg(tally.errors)
        .arg(tally.warnings)
        .arg(tally.notes)
        .arg(tally.missing);
}

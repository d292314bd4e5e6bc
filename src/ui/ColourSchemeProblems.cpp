#include "ColourSchemeProblems.h"

#include <QCoreApplication>
#include <QFileInfo>

namespace {

struct ColourSchemeProblems {
    Q_DECLARE_TR_FUNCTIONS(ColourSchemeProblems)

public:
    static QString Reason(const ColourSchemeReading& reading, const SchemeProblem& problem);
};

QString KeyOfLine(int line) {
    if (line < 2 || line > int(ColourSchemeKeys.size()) + 1)
        return {};
    const std::string_view key = ColourSchemeKeys[std::size_t(line - 2)];
    return QString::fromLatin1(key.data(), qsizetype(key.size()));
}

QString ColourSchemeProblems::Reason(const ColourSchemeReading& reading,
                                     const SchemeProblem& problem) {
    switch (problem.Fault) {
    case sfEmpty:
        return tr("файл пуст");
    case sfTooLarge:
        return tr("файл слишком велик для цветовой схемы");
    case sfCarriageReturn:
        return tr("строки кончаются на CR LF, а не на LF");
    case sfNoFinalLineBreak:
        return tr("после последней строки цветов нет перевода строки");
    case sfNotAScheme:
        return tr("ожидается «ColourScheme» и имя схемы");
    case sfBadName:
        return tr("имя схемы пусто или содержит управляющие символы");
    case sfBadKey:
        return tr("ожидается ключ «%1» в колонке из 8 знаков").arg(KeyOfLine(problem.Line));
    case sfBadValue:
        return tr("неверное значение ключа «%1»").arg(KeyOfLine(problem.Line));
    case sfNoDataLine:
        return tr("ожидается строка «Data»");
    case sfBadRow:
        return tr("ожидаются четыре трёхзначных числа через пробел");
    case sfComponentOver255:
        return tr("составляющая цвета больше 255");
    case sfTooShort:
        return problem.Line <= ColourSchemeHeaderLines
                   ? tr("файл кончается в заголовке")
                   : tr("файл кончается: строк цветов %1 из %2")
                         .arg(problem.Line - ColourSchemeHeaderLines - 1)
                         .arg(ColourSchemeRowCount);
    case sfExtraLines:
        return tr("лишние строки после %1-й строки цветов").arg(ColourSchemeRowCount);
    case sfLengthMismatch:
        return tr("Length %1, а данные занимают %2 байт")
            .arg(QString::fromStdString(reading.Length))
            .arg(reading.DataSize);
    case sfCrcMismatch:
        return tr("CRC %1, а у данных CRC %2")
            .arg(QString::fromStdString(reading.Crc))
            .arg(reading.DataCrc);
    }
    return {};
}

} // namespace

QString ColourSchemeProblemText(const ColourSchemeReading& reading, const SchemeProblem& problem) {
    const QString reason = ColourSchemeProblems::Reason(reading, problem);
    if (problem.Line == 0)
        return reason;
    return ColourSchemeProblems::tr("строка %1: %2").arg(problem.Line).arg(reason);
}

QString ColourSchemeStatus(const QString& path, const ColourSchemeReading& reading) {
    if (reading.FollowsFormat())
        return {};
    const QString name = QFileInfo(path).fileName();
    const SchemeProblem& first = reading.Problems.front();
    if (first.Fault == sfLengthMismatch || first.Fault == sfCrcMismatch)
        return ColourSchemeProblems::tr(
                   "Схема «%1»: длина или CRC не совпадают с данными — телефон может её отвергнуть")
            .arg(name);
    return ColourSchemeProblems::tr("Схема «%1»: %2")
        .arg(name, ColourSchemeProblemText(reading, first));
}

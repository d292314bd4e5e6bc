#include "CheckReportText.h"

#include "package/PathNames.h"

namespace {

std::string Count(int count, const char* one, const char* many) {
    return std::to_string(count) + " " + (count == 1 ? one : many);
}

std::string Size(int width, int height) {
    return std::to_string(width) + "x" + std::to_string(height);
}

std::string Screen() {
    return Size(ScreenWidth, ScreenHeight);
}

std::string FindingWords(const ElementReport& report, const Finding& finding) {
    const ElementFacts& facts = report.facts;
    switch (finding.code) {
    case FindingCode::Unreadable:
        return "cannot read the file: " + finding.detail;
    case FindingCode::NotAFile:
        return "not a regular file";
    case FindingCode::EmptyFile:
        return "the file is empty";
    case FindingCode::NotAPicture:
        return "cannot be decoded as a picture";
    case FindingCode::DamagedPicture:
        return "the picture data is damaged or cut short";
    case FindingCode::NotAMelody:
        return "the content is none of MIDI, AAC (ADTS) or MP3";
    case FindingCode::ExtensionMismatch:
        return "the content is " + facts.format + ", but the name ends in " +
               (finding.detail.empty() ? std::string("no extension") : "." + finding.detail);
    case FindingCode::BeyondScreen: {
        std::string where;
        if (finding.right > 0)
            where = Count(finding.right, "pixel", "pixels") + " on the right";
        if (finding.bottom > 0)
            where += (where.empty() ? "" : " and ") + Count(finding.bottom, "pixel", "pixels") +
                     " at the bottom";
        return "reaches beyond the " + Screen() + " screen by " + where + "; the phone cuts it off";
    }
    case FindingCode::SingleFrame:
        return "an animation of a single frame";
    case FindingCode::WallpaperSize:
        return Size(facts.width, facts.height) + ", not " + Screen() +
               ": the phone shows it from the screen's top-left corner, so a smaller one leaves "
               "a border and a larger one is cut";
    }
    return {};
}

} // namespace

std::string FindingLine(const ElementReport& report, const Finding& finding) {
    return std::string(GradeName(GradeOf(finding.code))) + ": " + FindingWords(report, finding);
}

std::string ElementLine(const ElementReport& report) {
    std::string line =
        std::string(SlotNames[report.slot]) + " (" + std::to_string(report.slot) + "): ";
    if (report.Missing())
        return line + "missing";
    line += std::string(FileNamePart(report.path));
    const ElementFacts& facts = report.facts;
    if (!facts.format.empty())
        line += ", " + facts.format;
    if (facts.width > 0)
        line += " " + Size(facts.width, facts.height);
    if (facts.frames > 1 || (facts.frames == 1 && SlotLayouts[report.slot].kind == skAnimation))
        line += ", " + Count(facts.frames, "frame", "frames");
    if (facts.fileSize > 0)
        line += ", " + std::to_string(facts.fileSize) + (facts.fileSize == 1 ? " byte" : " bytes");
    for (const Finding& finding : report.findings)
        line += "; " + FindingLine(report, finding);
    return line;
}

std::string TallyLine(const CheckTally& tally) {
    return Count(tally.errors, "error", "errors") + ", " +
           Count(tally.warnings, "warning", "warnings") + ", " +
           Count(tally.notes, "note", "notes") + ", " + std::to_string(tally.missing) + " missing";
}

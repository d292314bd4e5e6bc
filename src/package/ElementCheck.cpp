#include "ElementCheck.h"

#include "Errors.h"
#include "MediaSniffing.h"
#include "PathNames.h"

#include <algorithm>

const char* GradeName(CheckGrade grade) {
    switch (grade) {
    case CheckGrade::Error:
        return "error";
    case CheckGrade::Warning:
        return "warning";
    case CheckGrade::Note:
        return "note";
    }
    return "";
}

CheckGrade GradeOf(FindingCode code) {
    switch (code) {
    case FindingCode::BeyondScreen:
    case FindingCode::SingleFrame:
        return CheckGrade::Warning;
    case FindingCode::WallpaperSize:
        return CheckGrade::Note;
    default:
        return CheckGrade::Error;
    }
}

bool ElementReport::HasError() const {
    return std::any_of(findings.begin(), findings.end(), [](const Finding& finding) {
        return GradeOf(finding.code) == CheckGrade::Error;
    });
}

CheckTally Tally(const ThemeReport& report) {
    CheckTally tally;
    for (const ElementReport& element : report.elements) {
        if (element.Missing())
            ++tally.missing;
        for (const Finding& finding : element.findings)
            switch (GradeOf(finding.code)) {
            case CheckGrade::Error:
                ++tally.errors;
                break;
            case CheckGrade::Warning:
                ++tally.warnings;
                break;
            case CheckGrade::Note:
                ++tally.notes;
                break;
            }
    }
    return tally;
}

bool ThemeUnfit(const ThemeReport& report) {
    const CheckTally tally = Tally(report);
    return tally.errors > 0 || tally.missing > 0;
}

std::optional<MappedFile> OpenElementFile(ElementReport& report) {
    MappedFile file = MappedFile::Open(report.path);
    switch (file.State()) {
    case MappedFile::Status::Failed:
        report.findings.emplace_back(FindingCode::Unreadable, SystemReason(file.Error()));
        return std::nullopt;
    case MappedFile::Status::NotRegular:
        report.findings.emplace_back(FindingCode::NotAFile);
        return std::nullopt;
    case MappedFile::Status::Opened:
        break;
    }
    report.facts.fileSize = file.Bytes().size();
    if (file.Bytes().empty()) {
        report.findings.emplace_back(FindingCode::EmptyFile);
        return std::nullopt;
    }
    return file;
}

void JudgeMelody(ElementReport& report, std::string_view bytes) {
    report.facts.format = std::string(SniffMelodyFormat(bytes));
    if (report.facts.format.empty())
        report.findings.emplace_back(FindingCode::NotAMelody);
    else
        JudgeExtension(report);
}

void JudgeExtension(ElementReport& report) {
    std::string_view extension = FileExtension(report.path);
    if (!extension.empty())
        extension.remove_prefix(1);
    if (!ExtensionFitsFormat(report.facts.format, extension))
        report.findings.emplace_back(FindingCode::ExtensionMismatch, std::string(extension));
}

void JudgePlacement(ElementReport& report) {
    const ElementFacts& facts = report.facts;
    const SlotLayout& layout = SlotLayouts[report.slot];
    if (facts.width <= 0 || facts.height <= 0)
        return;
    if (layout.kind == skPicture) {
        const int right = layout.x + facts.width - ScreenWidth;
        const int bottom = layout.y + facts.height - ScreenHeight;
        if (right > 0 || bottom > 0)
            report.findings.emplace_back(FindingCode::BeyondScreen, std::max(right, 0),
                                         std::max(bottom, 0));
    }
    if (layout.kind == skAnimation && facts.frames == 1)
        report.findings.emplace_back(FindingCode::SingleFrame);
    if (report.slot == IdleWallpaperSlot &&
        (facts.width != ScreenWidth || facts.height != ScreenHeight))
        report.findings.emplace_back(FindingCode::WallpaperSize);
}

void SortFindings(ElementReport& report) {
    std::stable_sort(
        report.findings.begin(), report.findings.end(), [](const Finding& a, const Finding& b) {
            return static_cast<int>(GradeOf(a.code)) < static_cast<int>(GradeOf(b.code));
        });
}

ElementReport CheckMelodyFile(int slot, const std::string& path) {
    ElementReport report;
    report.slot = slot;
    report.path = path;
    if (path.empty())
        return report;
    if (std::optional<MappedFile> file = OpenElementFile(report))
        JudgeMelody(report, file->Bytes());
    SortFindings(report);
    return report;
}

ElementReport CheckElementFile(int slot, const std::string& path, const PictureReader& read) {
    if (SlotLayouts[slot].kind == skMelody)
        return CheckMelodyFile(slot, path);
    ElementReport report;
    report.slot = slot;
    report.path = path;
    if (path.empty())
        return report;
    std::optional<MappedFile> file = OpenElementFile(report);
    if (!file)
        return report;
    const std::string_view bytes = file->Bytes();
    const bool damaged = read(bytes, report.facts);
    if (report.facts.format.empty()) {
        // A sound chosen by mistake is worth naming.
        report.facts.format = std::string(SniffMelodyFormat(bytes));
        report.findings.emplace_back(FindingCode::NotAPicture);
        return report;
    }
    if (damaged)
        report.findings.emplace_back(FindingCode::DamagedPicture);
    JudgeExtension(report);
    JudgePlacement(report);
    SortFindings(report);
    return report;
}

ThemeReport CheckThemeFiles(const ThemeFiles& files, const PictureReader& read) {
    ThemeReport report;
    for (int slot = 0; slot < SlotCount; ++slot)
        report.elements[slot] = CheckElementFile(slot, files[slot].value_or(std::string()), read);
    return report;
}

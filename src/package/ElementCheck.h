#pragma once
// What a check of the theme's files finds: for each element the facts read from its file and
// findings in three grades. Findings carry a code and numbers, never wording, so the window and
// kestrova-build can each say them in their own language.

#include "MappedFile.h"
#include "model/WorkUnit.h"

#include <array>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <string_view>
#include <utility>
#include <vector>

/// The phone's screen, in pixels.
inline constexpr int ScreenWidth = 240;
inline constexpr int ScreenHeight = 320;
/// The idle wallpaper, which the phone draws from the screen's top-left corner.
inline constexpr int IdleWallpaperSlot = 7;

enum class CheckGrade {
    Error,   // the phone cannot use the file
    Warning, // the phone uses it, but not as it looks in the editor
    Note,    // worth a look
};

enum class FindingCode {
    Unreadable,        // error: the file cannot be opened or read; detail: the system's reason
    NotAFile,          // error: a folder, a pipe or a device
    EmptyFile,         // error
    NotAPicture,       // error: no picture decoder knows the content
    DamagedPicture,    // error: the decoder stops in the data, or the file ends before its end mark
    NotAMelody,        // error: the content is none of MIDI, AAC (ADTS) or MP3
    ExtensionMismatch, // error: detail: the extension, without its ".", as the name has it
    BeyondScreen,      // warning: right and bottom: pixels that lie beyond the screen
    SingleFrame,       // warning: an animation slot given a picture of one frame
    WallpaperSize,     // note: an idle wallpaper not of the screen's size
};

CheckGrade GradeOf(FindingCode code);

/// "error", "warning" or "note": the grade as the command line prints it and styles name it.
const char* GradeName(CheckGrade grade);

struct Finding {
    explicit Finding(FindingCode code, int right = 0, int bottom = 0, std::string detail = {})
        : code(code), right(right), bottom(bottom), detail(std::move(detail)) {}
    Finding(FindingCode code, std::string detail) : Finding(code, 0, 0, std::move(detail)) {}

    FindingCode code;
    int right = 0;  // BeyondScreen: columns beyond the screen's right edge
    int bottom = 0; // BeyondScreen: rows beyond its bottom edge
    std::string detail;
};

struct ElementFacts {
    /// The format the content shows, whatever the name says: "PNG", "JPEG", "GIF", "BMP",
    /// "MIDI", "AAC", "MP3"...; empty when none is recognised.
    std::string format;
    int width = 0; // pictures and animations; 0 when unknown
    int height = 0;
    int frames = 0;
    std::uint64_t fileSize = 0;
};

struct ElementReport {
    int slot = 0;
    /// The chosen file; empty when none is (the element is missing).
    std::string path;
    ElementFacts facts;
    /// Errors first, then warnings, then notes.
    std::vector<Finding> findings;

    bool Missing() const { return path.empty(); }
    bool HasError() const;
};

/// The chosen file of each slot, if any.
using ThemeFiles = std::array<std::optional<std::string>, SlotCount>;

struct ThemeReport {
    std::array<ElementReport, SlotCount> elements;
};

struct CheckTally {
    int errors = 0;
    int warnings = 0;
    int notes = 0;
    int missing = 0;
};

CheckTally Tally(const ThemeReport& report);

/// True when the check found an error or a missing element: a theme not fit for the phone.
bool ThemeUnfit(const ThemeReport& report);

// The parts of an element's check that need no picture decoder.

/// Reads the file's size and maps it; nothing when a finding (unreadable, not a file, empty) ends
/// the check there.
std::optional<MappedFile> OpenElementFile(ElementReport& report);

/// The melody's format from its content, and whether its extension names that format.
void JudgeMelody(ElementReport& report, std::string_view bytes);

/// An error when the extension does not name facts.format.
void JudgeExtension(ElementReport& report);

/// From the picture's size and frames: beyond the screen, one frame for an animation, the
/// wallpaper's size.
void JudgePlacement(ElementReport& report);

/// Puts the findings in grade order.
void SortFindings(ElementReport& report);

/// The whole check of a melody slot's file.
ElementReport CheckMelodyFile(int slot, const std::string& path);

/// Reads a picture's format, size and frames from its bytes into facts, leaving the format empty
/// when it knows no such content; returns true when it finds the picture damaged. A check is as
/// deep as its reader: headers and end marks, or every frame decoded.
using PictureReader = std::function<bool(std::string_view bytes, ElementFacts& facts)>;

/// The whole check of the file chosen for a slot, an empty path being a missing element; a
/// picture's facts come from read.
ElementReport CheckElementFile(int slot, const std::string& path, const PictureReader& read);

/// Every slot's element, one after another on the calling thread.
ThemeReport CheckThemeFiles(const ThemeFiles& files, const PictureReader& read);

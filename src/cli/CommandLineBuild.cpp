#include "CommandLineBuild.h"

#include "app/BuildManifest.h"
#include "app/PrivateStagingFolder.h"
#include "app/ThemeEditor.h"
#include "app/ThemeUnpack.h"
#include "model/WorkUnit.h"
#include "package/Errors.h"

#include <cerrno>
#include <charconv>
#include <cstdlib>
#include <filesystem>
#include <stdexcept>

namespace {

constexpr std::string_view HelpText =
    "Builds a theme for the BenQ-Siemens EL71 from a manifest into OUTPUT_DIR/<title>.sdt\n"
    "(OUTPUT_DIR defaults to the current directory), deflating on THREADS threads (default:\n"
    "$KESTROVA_THREADS, else one per core, at most 8; the archive is the same either way).\n"
    "\n"
    "The manifest is a UTF-8 ini file:\n"
    "  [theme]   title, author, published (default: today), version (default 1.0),\n"
    "            vendor, price (default 0), url\n"
    "  [slots]   one line per chosen file, in choice order: SLOT=PATH, where SLOT is a\n"
    "            resource name such as idle_wallpaper or a slot number 0-37, and PATH is\n"
    "            relative to the manifest's folder; every one of the 38 slots needs a file\n"
    "  [scheme]  file=PATH for a colour scheme of your own; without it the default\n"
    "            DeepBlue scheme is packed\n"
    "\n"
    "--unpack takes THEME.sdt apart into DIR: its media under their entry names and a\n"
    "theme.ini from which kestrova-build builds the theme again.\n"
    "\n"
    "Exit status: 0 when the theme was built, 1 when it was not, 2 for a wrong command line.\n";

// The build's progress in the words the window's status bar uses.
std::string_view StatusText(BuildStatus status) {
    switch (status) {
    case BuildStatus::NotEnoughElements:
        return "Не хватает элементов темы!";
    case BuildStatus::NotAllSettings:
        return "Не все настройки темы установлены!";
    case BuildStatus::InProgress:
        return "В процессе...";
    case BuildStatus::Done:
        return "Сделано!!!";
    }
    return {};
}

class StreamReporter : public BuildReporter {
public:
    explicit StreamReporter(std::ostream& out) : out_(out) {}
    void SetStatus(BuildStatus status) override {
        out_ << StatusText(status) << '\n' << std::flush;
    }
    void SetProgress(int) override {}

private:
    std::ostream& out_;
};

std::string MissingSlots(const ThemeDocument& document) {
    std::string names;
    for (int slot = 0; slot < SlotCount; ++slot)
        if (!document.SlotChosen[slot]) {
            if (!names.empty())
                names += ", ";
            names += std::to_string(slot) + " " + std::string(SlotNames[slot]);
        }
    return names;
}

int Build(const std::string& manifestPath, const std::string& outputDir, int packThreads,
          std::ostream& out, std::ostream& err) {
    BuildManifest manifest = ReadBuildManifest(manifestPath, ReadUtcClock());
    PrivateStagingFolder staging;
    ThemeEditor editor(staging.Path());
    for (const MetadataFieldInfo& field : MetadataFields)
        editor.SetText(field.field, manifest.Metadata.*field.text);
    BuildOptions options;
    options.outputDir = std::filesystem::absolute(outputDir).lexically_normal().string();
    options.packThreads = packThreads;

    auto onLine = [&](int line, auto stage) {
        try {
            stage();
        } catch (const KestrovaError& error) {
            throw KestrovaError(manifestPath + ":" + std::to_string(line) + ": " + error.what());
        }
    };
    for (const SlotChoice& choice : manifest.Choices)
        onLine(choice.line, [&] { editor.ChooseSlotFile(choice.slot, choice.path); });
    if (!manifest.SchemeFile.empty()) {
        onLine(manifest.SchemeLine, [&] { editor.ChooseColourScheme(manifest.SchemeFile); });
        editor.SetUseDefaultScheme(false);
    }

    StreamReporter reporter(out);
    if (!editor.Build(options, reporter)) {
        err << "kestrova-build: the theme is incomplete; no file is chosen for slot "
            << MissingSlots(editor.Document()) << '\n';
        return 1;
    }
    out << "Theme archive: "
        << ThemeArchivePath(options.outputDir, editor.Document().Metadata.Title) << '\n';
    return 0;
}

bool ParseThreads(const std::string& text, int& threads) {
    auto [end, error] = std::from_chars(text.data(), text.data() + text.size(), threads);
    return error == std::errc() && end == text.data() + text.size() && threads >= 1;
}

} // namespace

int RunCommandLineBuild(const std::vector<std::string>& args, std::ostream& out,
                        std::ostream& err) {
    if (!args.empty() && args[0] == "--unpack")
        return RunThemeUnpack({args.begin() + 1, args.end()}, out, err);
    std::string outputDir = ".";
    int packThreads = 0;
    std::string manifest;
    for (std::size_t i = 0; i < args.size(); ++i) {
        const std::string& arg = args[i];
        if (arg == "--help" || arg == "-h") {
            out << CommandLineUsage << '\n' << HelpText;
            return 0;
        }
        std::string problem;
        if (arg == "-o") {
            if (i + 1 < args.size())
                outputDir = args[++i];
            else
                problem = "-o needs an output folder";
        } else if (arg == "-j") {
            if (i + 1 < args.size() && ParseThreads(args[i + 1], packThreads))
                ++i;
            else
                problem = "-j needs a number of threads from 1 up";
        } else if (!arg.empty() && arg[0] == '-') {
            problem = "unknown option " + arg;
        } else if (manifest.empty()) {
            manifest = arg;
        } else {
            problem = "only one manifest, please";
        }
        if (!problem.empty()) {
            err << "kestrova-build: " << problem << '\n' << CommandLineUsage;
            return 2;
        }
    }
    if (manifest.empty()) {
        err << "kestrova-build: no manifest given\n" << CommandLineUsage;
        return 2;
    }
    try {
        return Build(manifest, outputDir, packThreads, out, err);
    } catch (const std::exception& error) {
        err << "kestrova-build: " << error.what() << '\n';
        return 1;
    }
}

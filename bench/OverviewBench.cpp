// Times the theme check and the theme overview on the demo theme (all 38 elements), under Qt's
// offscreen platform, and prints medians against the targets:
//   the check of the whole theme under 50 ms;
//   the overview's first paint (made, filled, shown and painted with every thumbnail) under
//   200 ms;
//   redrawing after one new choice (checked, its row and the standby screen drawn) under 16 ms.
// The first check and the first overview of the process, which load the decoders and fonts, are
// printed for information.
// Usage: kestrova_overview_bench [DEMO_FOLDER]; tools/dev bench runs it after bench/run.

#include "app/BuildManifest.h"
#include "app/SlotDescriptions.h"
#include "app/StartTime.h"
#include "cli/ThemeCheckCommand.h"
#include "picture/ThemeCheck.h"
#include "ui/ThemeOverview.h"

#include <QApplication>
#include <QElapsedTimer>
#include <QFile>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <functional>
#include <vector>

namespace {

double Milliseconds(const QElapsedTimer& timer) {
    return double(timer.nsecsElapsed()) / 1e6;
}

double Median(std::vector<double> values) {
    std::sort(values.begin(), values.end());
    const std::size_t middle = values.size() / 2;
    return values.size() % 2 ? values[middle] : (values[middle - 1] + values[middle]) / 2;
}

std::vector<double> Times(int repeats, const std::function<double()>& run) {
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i)
        times.push_back(run());
    return times;
}

bool Report(const char* what, double first, const std::vector<double>& times, double target) {
    const double median = Median(times);
    const bool met = median < target;
    std::printf("%s: median of %zu %.2f ms (target < %.0f ms: %s); first in the process %.2f ms\n",
                what, times.size(), median, target, met ? "ok" : "MISSED", first);
    return met;
}

// Notes a paint of the window or of any widget in it.
class PaintWatch : public QObject {
public:
    bool painted = false;
    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() == QEvent::Paint)
            painted = true;
        return false;
    }
};

void WaitForPaint(PaintWatch& watch) {
    watch.painted = false;
    QElapsedTimer limit;
    limit.start();
    while (!watch.painted && limit.elapsed() < 5000)
        QCoreApplication::processEvents();
}

} // namespace

int main(int argc, char** argv) {
    if (!qEnvironmentVariableIsSet("QT_QPA_PLATFORM"))
        qputenv("QT_QPA_PLATFORM", "offscreen");
    // The offscreen platform says at every window shown that it cannot resize to fit.
    qInstallMessageHandler([](QtMsgType, const QMessageLogContext&, const QString& message) {
        if (!message.contains("propagateSizeHints"))
            std::fprintf(stderr, "%s\n", qPrintable(message));
    });
    QApplication app(argc, argv);
    const std::string source = KESTROVA_SOURCE_DIR;
    const std::string demo = argc > 1 ? argv[1] : source + "/demo";
    const ThemeFiles files = ManifestFiles(ReadBuildManifest(demo + "/theme.ini", ReadUtcClock()));
    const auto descriptions = ReadSlotDescriptions(source + "/resources/descr.ini");
    OverviewSlots theme;
    for (int slot = 0; slot < SlotCount; ++slot) {
        theme[slot].description = QString::fromStdString(descriptions[slot]);
        theme[slot].resourceName = QString::fromStdString(std::string(SlotNames[slot]));
        theme[slot].path = QString::fromStdString(files[slot].value_or(""));
    }
    std::printf("demo theme: %s\n", demo.c_str());
    PaintWatch watch;
    app.installEventFilter(&watch);

    bool met = true;
    auto check = [&] {
        QElapsedTimer timer;
        timer.start();
        const ThemeReport report = CheckTheme(files);
        const double took = Milliseconds(timer);
        if (ThemeUnfit(report))
            std::printf("the demo theme has errors or missing elements\n");
        return took;
    };
    const double firstCheck = check();
    met &= Report("check of the whole theme", firstCheck, Times(31, check), 50);

    auto firstPaint = [&] {
        QElapsedTimer timer;
        timer.start();
        ThemeOverview overview;
        overview.SetTheme(theme);
        overview.show();
        WaitForPaint(watch);
        return Milliseconds(timer);
    };
    const double firstOverview = firstPaint();
    met &= Report("overview's first paint", firstOverview, Times(15, firstPaint), 200);

    // One new choice at a time, alternating between two files, with the window shown.
    QTemporaryDir copies;
    ThemeOverview overview;
    overview.SetTheme(theme);
    overview.show();
    WaitForPaint(watch);
    for (int slot : {7, 36}) {
        const QString original = theme[slot].path;
        const QString copy = copies.path() + "/copy-" + QString::number(slot);
        QFile::copy(original, copy);
        int round = 0;
        auto redraw = [&] {
            theme[slot].path = round++ % 2 ? original : copy;
            QElapsedTimer timer;
            timer.start();
            overview.SetTheme(theme);
            // The window paints what changed when the event loop comes round.
            WaitForPaint(watch);
            return Milliseconds(timer);
        };
        const double first = redraw();
        const char* what = slot == 7 ? "redraw after choosing the idle wallpaper"
                                     : "redraw after choosing the screensaver animation";
        met &= Report(what, first, Times(41, redraw), 16);
        theme[slot].path = original;
        overview.SetTheme(theme);
    }
    std::printf(met ? "all targets met\n" : "some targets MISSED\n");
    return met ? 0 : 1;
}

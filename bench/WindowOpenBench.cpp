// Times opening a theme in the editor's window: from the request until every slot field shows
// its file and the window has painted, as a user who opens a theme waits for it.
//
// usage: kestrova_window_open_bench THEME.sdt REPEATS
// Prints "window_open_ms=<median> first_ms=<first>" (offscreen, no dialogs).

#include "ui/MainForm.h"
#include "ui/UserDialogs.h"

#include <QApplication>
#include <QColor>
#include <QElapsedTimer>
#include <QLineEdit>
#include <QTemporaryDir>
#include <algorithm>
#include <cstdio>
#include <vector>

namespace {

// No one answers: the bench opens the theme directly and nothing asks.
class SilentDialogs : public UserDialogs {
public:
    QString ChooseFile(QWidget*, const FileRequest&) override { return {}; }
    QString ChooseSaveFile(QWidget*, const FileRequest&) override { return {}; }
    QColor ChooseColour(QWidget*, const QColor&, const QString&) override { return {}; }
    void ShowError(QWidget*, const QString&, const QString& text) override {
        std::fprintf(stderr, "error: %s\n", qPrintable(text));
    }
    void ShowMessage(QWidget*, const QString&, const QString&) override {}
    bool Ask(QWidget*, const QString&, const QString&) override { return true; }
    void RunModal(QDialog&) override {}
    void OpenUrl(const QUrl&) override {}
};

bool EveryFieldFilled(TForm1& form, const QString& archive) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        auto* field = form.findChild<QLineEdit*>(QString::fromStdString(SlotFieldName(slot)));
        if (!field || !field->text().startsWith(archive))
            return false;
    }
    return true;
}

} // namespace

int main(int argc, char** argv) {
    qputenv("QT_QPA_PLATFORM", "offscreen");
    QApplication application(argc, argv);
    if (argc != 3) {
        std::fprintf(stderr, "usage: kestrova_window_open_bench THEME.sdt REPEATS\n");
        return 2;
    }
    const QString archive = QString::fromLocal8Bit(argv[1]);
    const int repeats = std::max(1, std::atoi(argv[2]));
    SilentDialogs dialogs;
    std::vector<double> times;
    for (int i = 0; i < repeats; ++i) {
        QTemporaryDir program;
        QDir(program.path()).mkdir("temp");
        TForm1 form(dialogs, program.path() + "/");
        form.show();
        QApplication::processEvents();
        QElapsedTimer timer;
        timer.start();
        form.OpenThemeFile(archive);
        form.repaint();
        const double ms = double(timer.nsecsElapsed()) / 1e6;
        if (!EveryFieldFilled(form, archive)) {
            std::fprintf(stderr, "not every field shows the opened theme\n");
            return 1;
        }
        times.push_back(ms);
    }
    const double first = times.front();
    std::sort(times.begin(), times.end());
    std::printf("window_open_ms=%.2f first_ms=%.2f\n", times[times.size() / 2], first);
    return 0;
}

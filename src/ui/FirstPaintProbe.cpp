#include "FirstPaintProbe.h"

#include <QCoreApplication>
#include <QEvent>
#include <QFile>
#include <QPixmap>
#include <QTimer>
#include <QWidget>
#include <cstdio>
#include <ctime>
#include <unistd.h>

namespace {

long ResidentKilobytes() {
    QFile status("/proc/self/status");
    if (!status.open(QIODevice::ReadOnly))
        return -1;
    for (const QByteArray& line : status.readAll().split('\n'))
        if (line.startsWith("VmRSS:"))
            return line.mid(6).trimmed().split(' ').first().toLong();
    return -1;
}

// Milliseconds since the kernel started this process, at the kernel's tick resolution.
long long MillisecondsSinceProcessStart() {
    QFile stat("/proc/self/stat");
    if (!stat.open(QIODevice::ReadOnly))
        return -1;
    const QByteArray line = stat.readAll();
    // Fields after the command name, which is in parentheses and may hold blanks.
    const QList<QByteArray> fields = line.mid(line.lastIndexOf(')') + 2).split(' ');
    if (fields.size() < 20)
        return -1;
    const long long startTicks = fields[19].toLongLong();
    timespec boot{};
    clock_gettime(CLOCK_BOOTTIME, &boot);
    const long long ticksPerSecond = sysconf(_SC_CLK_TCK);
    return boot.tv_sec * 1000LL + boot.tv_nsec / 1000000 - startTicks * 1000 / ticksPerSecond;
}

class Probe : public QObject {
public:
    Probe(QWidget& window, QString path) : QObject(&window), window_(window), path_(path) {}

    bool eventFilter(QObject*, QEvent* event) override {
        if (event->type() != QEvent::Paint || seen_)
            return false;
        seen_ = true;
        timespec now{};
        clock_gettime(CLOCK_MONOTONIC, &now);
        const long long paintedNs = now.tv_sec * 1000000000LL + now.tv_nsec;
        const long long sinceStartMs = MillisecondsSinceProcessStart();
        QTimer::singleShot(0, this, [this, paintedNs, sinceStartMs] {
            const bool saved = window_.grab().save(path_, "PNG");
            std::fprintf(stderr,
                         "first-paint-monotonic-ns=%lld since-start-ms=%lld rss-kb=%ld "
                         "window=%dx%d saved=%d\n",
                         paintedNs, sinceStartMs, ResidentKilobytes(), window_.width(),
                         window_.height(), saved ? 1 : 0);
            window_.close();
        });
        return false;
    }

private:
    QWidget& window_;
    QString path_;
    bool seen_ = false;
};

} // namespace

void WatchFirstPaint(QWidget& window) {
    const QString path = qEnvironmentVariable("KESTROVA_SCREENSHOT");
    if (path.isEmpty())
        return;
    window.installEventFilter(new Probe(window, path));
}

#pragma once
// What the window's tests share: a scratch program folder, finding controls by name, and
// double-clicking slot fields.

#include "FakeDialogs.h"
#include "model/WorkUnit.h"
#include "ui/MainForm.h"

#include <QAbstractButton>
#include <QDir>
#include <QFile>
#include <QFileInfo>
#include <QGroupBox>
#include <QImage>
#include <QLabel>
#include <QLineEdit>
#include <QTemporaryDir>
#include <QTest>

/// A program folder with its staging folder, a separate current folder for the log and the
/// help file, and a folder of media to choose from.
class Workspace {
public:
    Workspace() {
        QDir root(dir_.path());
        root.mkpath("program/temp");
        root.mkpath("cwd");
        root.mkpath("media");
        saved_ = QDir::currentPath();
        QDir::setCurrent(Cwd());
    }
    ~Workspace() { QDir::setCurrent(saved_); }

    QString Program() const { return dir_.path() + "/program/"; }
    QString Temp() const { return dir_.path() + "/program/temp"; }
    QString Cwd() const { return dir_.path() + "/cwd"; }
    QString Media(const QString& name) const { return dir_.path() + "/media/" + name; }

    QString Picture(const QString& name, int width = 32, int height = 16) const {
        if (name.endsWith(".gif")) // Qt reads GIF but cannot write it: a 1 x 1 picture
            return File(name, QByteArray("GIF89a\x01\x00\x01\x00\x80\x00\x00\x00\x00\x00\xff"
                                         "\xff\xff,\x00\x00\x00\x00\x01\x00\x01\x00\x00\x02"
                                         "\x02D\x01\x00;",
                                         35));
        QImage image(width, height, QImage::Format_RGB32);
        image.fill(Qt::darkCyan);
        const QString format = QFileInfo(name).suffix().toUpper();
        image.save(Media(name), format == "JPG" ? "JPEG" : format.toLatin1().constData());
        return Media(name);
    }
    QString File(const QString& name, const QByteArray& bytes) const {
        QFile file(Media(name));
        file.open(QIODevice::WriteOnly);
        file.write(bytes);
        return Media(name);
    }
    QString Log() const {
        QFile file(Cwd() + "/trelvask.log");
        file.open(QIODevice::ReadOnly);
        return QString::fromUtf8(file.readAll());
    }

private:
    QTemporaryDir dir_;
    QString saved_;
};

template <class T = QWidget> inline T* Find(QWidget& form, const QString& name) {
    T* widget = form.findChild<T*>(name);
    if (!widget)
        qWarning("no control %s", qPrintable(name));
    return widget;
}

inline QString Text(QWidget* widget) {
    if (auto* edit = qobject_cast<QLineEdit*>(widget))
        return edit->text();
    if (auto* label = qobject_cast<QLabel*>(widget))
        return label->text();
    if (auto* button = qobject_cast<QAbstractButton*>(widget))
        return button->text();
    if (auto* group = qobject_cast<QGroupBox*>(widget))
        return group->title();
    return {};
}

inline void DoubleClick(QWidget* field) {
    QTest::mouseDClick(field, Qt::LeftButton);
}

/// Answers one dialog per slot with a file that suits it, in slot order.
inline void ChooseEverySlot(Workspace& workspace, FakeDialogs& dialogs, TForm1& form) {
    for (int slot = 0; slot < SlotCount; ++slot) {
        const QString name = QString("slot%1").arg(slot);
        dialogs.answers << (SlotLayouts[slot].kind == skMelody
                                ? workspace.File(name + ".mid", QByteArray(300, char(slot)))
                                : workspace.Picture(name + ".png", 40 + slot, 20));
        DoubleClick(Find(form, QString::fromStdString(SlotFieldName(slot))));
    }
}

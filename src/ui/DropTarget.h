#pragma once
// Lets a widget take a file dropped on it from a file manager: one local file that the widget's
// test accepts. While such a file is dragged over it the widget lights up; anything else is
// left to the widgets around it.

#include <QObject>
#include <QPalette>
#include <QString>
#include <functional>

class QMimeData;
class QWidget;

class DropTarget : public QObject {
    Q_OBJECT
public:
    using Accepts = std::function<bool(const QString& path)>;
    using Dropped = std::function<void(const QString& path)>;

    DropTarget(QWidget* widget, Accepts accepts, Dropped dropped);

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    void Highlight(bool on);

    QWidget* widget_;
    Accepts accepts_;
    Dropped dropped_;
    bool lit_ = false;
    QPalette palette_;
    bool autoFill_ = false;
};

/// The file a drag carries when it carries exactly one local file; empty otherwise.
QString DraggedFile(const QMimeData* data);

/// Whether path ends in the extension (".sdt", ".col"), in any letter case.
bool HasExtension(const QString& path, const char* extension);

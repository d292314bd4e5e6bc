#include "DropTarget.h"

#include <QDragEnterEvent>
#include <QDropEvent>
#include <QMimeData>
#include <QUrl>
#include <QWidget>

QString DraggedFile(const QMimeData* data) {
    if (!data || !data->hasUrls())
        return {};
    const QList<QUrl> urls = data->urls();
    if (urls.size() != 1 || !urls.first().isLocalFile())
        return {};
    return urls.first().toLocalFile();
}

bool HasExtension(const QString& path, const char* extension) {
    return path.endsWith(QLatin1String(extension), Qt::CaseInsensitive);
}

DropTarget::DropTarget(QWidget* widget, Accepts accepts, Dropped dropped)
    : QObject(widget), widget_(widget), accepts_(std::move(accepts)), dropped_(std::move(dropped)) {
    widget->setAcceptDrops(true);
    widget->installEventFilter(this);
}

void DropTarget::Highlight(bool on) {
    if (on == lit_)
        return;
    lit_ = on;
    if (on) {
        palette_ = widget_->palette();
        autoFill_ = widget_->autoFillBackground();
        QPalette lit = palette_;
        const QColor colour = palette_.color(QPalette::Highlight).lighter(170);
        lit.setColor(QPalette::Base, colour);
        lit.setColor(QPalette::Window, colour);
        widget_->setPalette(lit);
        widget_->setAutoFillBackground(true);
    } else {
        widget_->setPalette(palette_);
        widget_->setAutoFillBackground(autoFill_);
    }
}

bool DropTarget::eventFilter(QObject* watched, QEvent* event) {
    if (watched != widget_)
        return false;
    switch (event->type()) {
    case QEvent::DragEnter:
    case QEvent::DragMove: {
        auto* drag = static_cast<QDragMoveEvent*>(event);
        const QString file = DraggedFile(drag->mimeData());
        if (file.isEmpty())
            return false;
        // A file this widget does not take goes on to the widgets around it, and never into
        // an edit field as text.
        const bool taken = accepts_(file);
        drag->setAccepted(taken);
        if (taken)
            drag->acceptProposedAction();
        Highlight(taken);
        return true;
    }
    case QEvent::DragLeave:
        Highlight(false);
        return false;
    case QEvent::Drop: {
        auto* drop = static_cast<QDropEvent*>(event);
        const QString file = DraggedFile(drop->mimeData());
        if (file.isEmpty())
            return false;
        Highlight(false);
        if (!accepts_(file)) {
            drop->ignore();
            return true;
        }
        drop->acceptProposedAction();
        dropped_(file);
        return true;
    }
    default:
        return false;
    }
}

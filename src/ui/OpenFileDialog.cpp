#include "OpenFileDialog.h"

#include <QFileInfo>
#include <QFileSystemModel>
#include <QGridLayout>
#include <QImageReader>
#include <QLabel>
#include <QVBoxLayout>

namespace {
constexpr int PreviewSide = 200;
}

OpenFileDialog::OpenFileDialog(QWidget* parent, const FileRequest& request)
    : QFileDialog(parent), filters_(request.filters) {
    setOption(QFileDialog::DontUseNativeDialog);
    setAcceptMode(QFileDialog::AcceptOpen);
    // A typed name of a missing file is accepted, as the picture and sound dialogs always did.
    setFileMode(request.mustExist ? QFileDialog::ExistingFile : QFileDialog::AnyFile);
    setSizeGripEnabled(true);
    if (!request.title.isEmpty())
        setWindowTitle(request.title);
    // An empty folder would show the list of drives; without one the toolkit's own choice
    // stands, the folder last visited or the current one.
    if (!request.directory.isEmpty())
        setDirectory(request.directory);
    if (!request.lastFile.isEmpty())
        selectFile(request.lastFile);

    // Our type texts join patterns with ";", which the dialog's own parser does not split, so
    // the shown text and the matched patterns are kept apart.
    QStringList texts;
    for (const FileFilter& filter : filters_)
        texts.append(filter.text);
    setNameFilters(texts);
    connect(this, &QFileDialog::filterSelected, this, &OpenFileDialog::ApplyFilter);
    if (!texts.isEmpty()) {
        selectNameFilter(texts.first());
        ApplyFilter(texts.first());
    }

    if (request.previewPane) {
        auto* pane = new QWidget(this);
        pane->setObjectName("PreviewPane");
        auto* column = new QVBoxLayout(pane);
        picture_ = new QLabel(pane);
        picture_->setFixedSize(PreviewSide, PreviewSide);
        picture_->setAlignment(Qt::AlignCenter);
        picture_->setFrameShape(QFrame::StyledPanel);
        size_ = new QLabel(pane);
        size_->setAlignment(Qt::AlignCenter);
        column->addWidget(picture_);
        column->addWidget(size_);
        column->addStretch();
        if (auto* grid = qobject_cast<QGridLayout*>(layout()))
            grid->addWidget(pane, 0, grid->columnCount(), grid->rowCount(), 1);
        // The dialog keeps its usual size otherwise, and the pane would squeeze the file list.
        resize(size().expandedTo(sizeHint()));
        connect(this, &QFileDialog::currentChanged, this, &OpenFileDialog::ShowPreview);
    }
}

void OpenFileDialog::ApplyFilter(const QString& text) {
    for (const FileFilter& filter : filters_) {
        if (filter.text != text)
            continue;
        if (auto* model = findChild<QFileSystemModel*>())
            model->setNameFilters(filter.patterns);
        return;
    }
}

void OpenFileDialog::ShowPreview(const QString& path) {
    QImageReader reader(path);
    const QImage image = QFileInfo(path).isFile() ? reader.read() : QImage();
    if (image.isNull()) {
        picture_->clear();
        size_->clear();
        return;
    }
    const QSize fitted = image.size().boundedTo(QSize(PreviewSide, PreviewSide));
    picture_->setPixmap(
        QPixmap::fromImage(image.scaled(image.size().scaled(fitted, Qt::KeepAspectRatio),
                                        Qt::IgnoreAspectRatio, Qt::SmoothTransformation)));
    size_->setText(QString("%1 x %2").arg(image.width()).arg(image.height()));
}

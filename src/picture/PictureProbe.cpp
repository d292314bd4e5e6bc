#include "PictureProbe.h"

#include "QuietDecoders.h"

#include <QBuffer>
#include <QImage>
#include <QImageReader>
#include <algorithm>

PictureProbe ProbePicture(std::string_view bytes, QImage* firstFrame) {
    PictureProbe probe;
    QuietDecoders quiet;
    QByteArray data = QByteArray::fromRawData(bytes.data(), qsizetype(bytes.size()));
    QBuffer buffer(&data);
    buffer.open(QIODevice::ReadOnly);
    // Without a file name only the content can choose the decoder.
    QImageReader reader(&buffer);
    const QByteArray format = reader.format();
    if (format.isEmpty())
        return probe;
    probe.format = format.toUpper().toStdString();
    const QSize size = reader.size();
    probe.width = size.width();
    probe.height = size.height();
    // The GIF decoder reports no error at the end of its frames, so count them first.
    const int expected = std::max(reader.imageCount(), 1);
    QImage image;
    while (probe.frames < expected && reader.read(&image)) {
        if (probe.frames == 0) {
            if (firstFrame)
                *firstFrame = image;
            if (!size.isValid()) {
                probe.width = image.width();
                probe.height = image.height();
            }
        }
        ++probe.frames;
    }
    probe.outcome =
        probe.frames == expected ? PictureProbe::Outcome::Decoded : PictureProbe::Outcome::Damaged;
    return probe;
}

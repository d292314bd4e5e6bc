#include "PictureLoader.h"

#include "package/PathNames.h"

#include <QFile>
#include <QImageReader>
#include <array>

namespace {

// The descriptions are translated where the dialog's type list is made (FileFilters).
constexpr std::array<PictureFormat, 6> Formats{{
    {QT_TRANSLATE_NOOP("FileFilters", "GIF-Format"), "gif"},
    {QT_TRANSLATE_NOOP("FileFilters", "Portable Network Graphics"), "png"},
    {QT_TRANSLATE_NOOP("FileFilters", "JPEG Image File"), "jpg"},
    {QT_TRANSLATE_NOOP("FileFilters", "JPEG Image File"), "jpeg"},
    {QT_TRANSLATE_NOOP("FileFilters", "Bitmaps"), "bmp"},
    {QT_TRANSLATE_NOOP("FileFilters", "Icons"), "ico"},
}};

} // namespace

std::span<const PictureFormat> PictureFormats() {
    return Formats;
}

QImage LoadPicture(const std::string& path) {
    std::string_view extension = FileExtension(path);
    if (!extension.empty())
        extension.remove_prefix(1);
    const QByteArray format = QByteArray(extension.data(), qsizetype(extension.size())).toLower();
    bool known = false;
    for (const PictureFormat& entry : Formats)
        known = known || format == entry.extension;
    if (!known)
        throw PictureError("Unknown picture file extension (." + std::string(extension) + ")");

    QImageReader reader(QFile::decodeName(QByteArray::fromStdString(path)), format);
    // A PNG renamed to .gif is still refused: the name decides, as the dialog's list promises.
    reader.setDecideFormatFromContent(false);
    reader.setAutoDetectImageFormat(false);
    QImage image = reader.read();
    if (image.isNull())
        throw PictureError("Cannot show picture \"" + path +
                           "\": " + reader.errorString().toStdString());
    return image;
}

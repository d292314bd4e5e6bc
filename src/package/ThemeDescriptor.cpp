#include "ThemeDescriptor.h"

#include "CodePage.h"
#include "Errors.h"
#include "PathNames.h"
#include "StagedFile.h"

namespace {

// Attribute values are user text; escaping keeps the document well-formed whatever the title
// holds. Other characters, '>' and "'" among them, are legal in a double-quoted attribute.
std::string EscapeAttribute(std::string_view text) {
    std::string escaped;
    escaped.reserve(text.size());
    for (char c : text) {
        switch (c) {
        case '&':
            escaped += "&amp;";
            break;
        case '<':
            escaped += "&lt;";
            break;
        case '"':
            escaped += "&quot;";
            break;
        default:
            escaped += c;
        }
    }
    return escaped;
}

std::string EncodeForTheme(std::string_view text, std::string_view what) {
    SingleByteText converted = FromUtf8(text, CodePage::Windows1251);
    if (!converted.unconvertible.empty())
        throw EncodingError(std::string(what) + " holds the character \"" +
                            converted.unconvertible +
                            "\", which the theme's code page Windows-1251 cannot represent");
    return converted.bytes;
}

std::string FieldValue(std::string_view text, std::string_view label) {
    return EscapeAttribute(EncodeForTheme(text, "The field \"" + std::string(label) + "\""));
}

} // namespace

std::string ThemeDescriptorText(const ThemeMetadata& metadata, const PackageList& filesList) {
    std::string text;
    text += "<?xml version=\"1.0\"?>\n";
    text += "<?xml-stylesheet type=\"text/xsl\"?>\n";
    text += "<package>\n";
    text += "\t<summary>\n";
    text += "\t\t<watermark\tcontent=\"Watermark\"/>\n";
    text += "\t\t<headline\tcontent=\"Siemens Downloadable Theme\"/>\n";
    struct Line {
        const char* element;
        const char* name;
        const std::string& value;
        const char* label; // the field's caption in the window, for messages
    };
    const Line lines[] = {
        {"txt", "Title:", metadata.Title, "Название"},
        {"txt", "Author:", metadata.Author, "Автор"},
        {"txt", "Published:", metadata.Published, "Дата создания"},
        {"txt", "Version:", metadata.Version, "Версия темы"},
        {"txt", "Resolution:", metadata.Resolution, "Разрешение"},
        {"txt", "Vendor:", metadata.Vendor, "Продавец"},
        {"txt", "Price:", metadata.Price, "Цена"},
        {"url", "URL:", metadata.Url, "URL"},
    };
    for (const Line& line : lines)
        text += std::string("\t\t<") + line.element + " name=\"" + line.name + "\"\tcontent=\"" +
                FieldValue(line.value, line.label) + "\"/>\n";
    text += "\t\t<description\tcontent=\"240x320\"/>\n";
    text += "\t\t<model\tcontent=\"EL71_2\"/>\n";
    text += "\t\t<model\tcontent=\"CF130_2\"/>\n";
    text += "\t\t<model\tcontent=\"swift_2\"/>\n";
    text += "\t</summary>\n";
    text += "<format type=\"theme\" version=\"1.1\">\n";
    text += "\t<res name=\"text_colors\"\tsrc=\"SkinScheme.col\"/>\n";
    for (const std::string& entry : filesList) {
        std::string_view fileName = FileNamePart(entry);
        std::string encoded =
            EncodeForTheme(fileName, "The file name \"" + std::string(fileName) + "\"");
        text += "\t<res name=\"" + EscapeAttribute(StripExtension(encoded)) + "\"\tsrc=\"" +
                EscapeAttribute(encoded) + "\"/>\n";
    }
    text += "\t<set name=\"screensaver_type\"\tvalue=\"DigitalClock\"/>\n";
    text += "</format>\n";
    text += "<summary>\n";
    text += "\t<copyright\tcontent=\"BenQ Mobile GmbH + Co. OHG\"/>\n";
    text += "</summary>\n";
    text += "</package>\n";
    return text;
}

void WriteThemeDescriptor(const ThemeMetadata& metadata, const PackageList& filesList,
                          const std::string& tempDir) {
    std::string text = ThemeDescriptorText(metadata, filesList);
    std::string path = JoinPath(tempDir, ThemeDescriptorFileName);
    StagedFile file;
    if (int error = file.Create(path))
        throw InOutError::FromErrno(error);
    if (int error = file.File().WriteAll(text.data(), text.size()))
        throw InOutError::FromErrno(error);
    if (int error = file.Finish())
        throw InOutError::FromErrno(error);
    if (int error = file.Commit())
        throw InOutError::FromErrno(error);
}

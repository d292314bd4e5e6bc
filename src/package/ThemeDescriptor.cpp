#include "ThemeDescriptor.h"

#include "CodePage.h"
#include "Errors.h"
#include "PathNames.h"
#include "StagedFile.h"
#include "ThemeText.h"

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

std::string FieldBytes(const ThemeMetadata& metadata, const MetadataFieldInfo& field) {
    return ThemeTextBytes(metadata.*field.text, CodePage::Windows1251,
                          "The field \"" + std::string(field.caption) + "\"");
}

} // namespace

void CheckThemeTexts(const ThemeMetadata& metadata) {
    for (const MetadataFieldInfo& field : MetadataFields)
        FieldBytes(metadata, field);
}

std::string ThemeDescriptorText(const ThemeMetadata& metadata, const PackageList& filesList) {
    std::string text;
    text += "<?xml version=\"1.0\"?>\n";
    text += "<?xml-stylesheet type=\"text/xsl\"?>\n";
    text += "<package>\n";
    text += "\t<summary>\n";
    text += "\t\t<watermark\tcontent=\"Watermark\"/>\n";
    text += "\t\t<headline\tcontent=\"Siemens Downloadable Theme\"/>\n";
    for (const MetadataFieldInfo& field : MetadataFields)
        text += "\t\t<" + std::string(field.element) + " name=\"" + std::string(field.name) +
                "\"\tcontent=\"" + EscapeAttribute(FieldBytes(metadata, field)) + "\"/>\n";
    text += "\t\t<description\tcontent=\"240x320\"/>\n";
    text += "\t\t<model\tcontent=\"EL71_2\"/>\n";
    text += "\t\t<model\tcontent=\"CF130_2\"/>\n";
    text += "\t\t<model\tcontent=\"swift_2\"/>\n";
    text += "\t</summary>\n";
    text += "<format type=\"theme\" version=\"1.1\">\n";
    text += "\t<res name=\"text_colors\"\tsrc=\"SkinScheme.col\"/>\n";
    for (const std::string& entry : filesList) {
        std::string_view fileName = FileNamePart(entry);
        std::string encoded = ThemeTextBytes(fileName, CodePage::Windows1251,
                                             "The file name \"" + ShownText(fileName) + "\"");
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
    // Written anew by every build.
    if (int error = file.Finish(Flush::NotNeeded))
        throw InOutError::FromErrno(error);
    if (int error = file.Commit())
        throw InOutError::FromErrno(error);
}

#include "DescriptorReader.h"

#include "CodePage.h"
#include "ThemeDescriptor.h"

#include <array>
#include <cstring>
#include <expat.h>
#include <limits>
#include <memory>

namespace {

constexpr std::string_view Utf8Bom = "\xEF\xBB\xBF";

struct ParserDeleter {
    void operator()(XML_Parser parser) const { XML_ParserFree(parser); }
};
using Parser = std::unique_ptr<std::remove_pointer_t<XML_Parser>, ParserDeleter>;

struct Reading {
    XML_Parser parser = nullptr;
    DescriptorContents contents;
    std::string root;
    std::string refusal; // why the reading was stopped, when it was
    std::array<bool, MetadataFieldCount> textFound{};
};

const char* Attribute(const XML_Char** attributes, const char* wanted) {
    for (const XML_Char** at = attributes; *at; at += 2)
        if (std::strcmp(at[0], wanted) == 0)
            return at[1];
    return nullptr;
}

void OnStart(void* data, const XML_Char* element, const XML_Char** attributes) {
    auto& reading = *static_cast<Reading*>(data);
    if (reading.root.empty())
        reading.root = element;
    if (std::strcmp(element, "txt") == 0 || std::strcmp(element, "url") == 0) {
        const char* name = Attribute(attributes, "name");
        const char* content = Attribute(attributes, "content");
        if (!name || !content)
            return;
        for (std::size_t i = 0; i < MetadataFields.size(); ++i)
            // The first line of a name counts, be it a txt or a url line.
            if (MetadataFields[i].name == name && !reading.textFound[i]) {
                reading.contents.metadata.*MetadataFields[i].text = content;
                reading.textFound[i] = true;
            }
    } else if (std::strcmp(element, "res") == 0) {
        const char* name = Attribute(attributes, "name");
        const char* src = Attribute(attributes, "src");
        reading.contents.resources.push_back({name ? name : "", src ? src : ""});
    }
}

// Entities are the stuff of "billion laughs"; a descriptor has no use for them.
void OnEntity(void* data, const XML_Char*, int, const XML_Char*, int, const XML_Char*,
              const XML_Char*, const XML_Char*, const XML_Char*) {
    auto& reading = *static_cast<Reading*>(data);
    reading.refusal = "it declares entities";
    XML_StopParser(reading.parser, XML_FALSE);
}

std::string Place(XML_Parser parser) {
    return " at line " + std::to_string(XML_GetCurrentLineNumber(parser)) + ", column " +
           std::to_string(XML_GetCurrentColumnNumber(parser) + 1);
}

DescriptorContents Unreadable(std::string problem) {
    DescriptorContents contents;
    contents.status = DescriptorStatus::Unreadable;
    contents.problem = std::move(problem);
    return contents;
}

} // namespace

DescriptorContents ReadThemeDescriptor(std::string_view bytes) {
    // Our descriptors declare no encoding and are Windows-1251 all the same, so the text is
    // turned into UTF-8 first and expat told to take it as such, whatever it declares.
    std::string utf8 = bytes.starts_with(Utf8Bom) ? std::string(bytes.substr(Utf8Bom.size()))
                                                  : ToUtf8(bytes, CodePage::Windows1251);
    if (utf8.size() > static_cast<std::size_t>(std::numeric_limits<int>::max()))
        return Unreadable("it is too large");

    Parser parser(XML_ParserCreate("UTF-8"));
    if (!parser)
        throw std::bad_alloc();
    Reading reading;
    reading.parser = parser.get();
    reading.contents.status = DescriptorStatus::Read;
    XML_SetUserData(parser.get(), &reading);
    XML_SetStartElementHandler(parser.get(), OnStart);
    XML_SetEntityDeclHandler(parser.get(), OnEntity);
    if (XML_Parse(parser.get(), utf8.data(), static_cast<int>(utf8.size()), XML_TRUE) !=
        XML_STATUS_OK) {
        if (!reading.refusal.empty())
            return Unreadable(reading.refusal + Place(parser.get()));
        return Unreadable(XML_ErrorString(XML_GetErrorCode(parser.get())) + Place(parser.get()));
    }
    if (reading.root != "package")
        return Unreadable("its root element is <" + reading.root + ">, not <package>");
    return std::move(reading.contents);
}

DescriptorContents ReadArchiveDescriptor(const ThemeArchive& archive) {
    const ThemeArchiveEntry* entry = archive.Find(ThemeDescriptorFileName);
    if (!entry)
        return DescriptorContents();
    return ReadThemeDescriptor(entry->data);
}

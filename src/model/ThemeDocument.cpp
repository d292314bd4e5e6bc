#include "ThemeDocument.h"

#include <algorithm>

const std::array<MetadataFieldInfo, MetadataFieldCount> MetadataFields = {{
    {MetadataField::Title, &ThemeMetadata::Title, "txt", "Title:", "The Name of theme change to ",
     "title", "Название"},
    {MetadataField::Author, &ThemeMetadata::Author, "txt", "Author:",
     "The Author of theme change to ", "author", "Автор"},
    {MetadataField::Published, &ThemeMetadata::Published, "txt", "Published:",
     "The Creation date of theme change to ", "published", "Дата создания"},
    {MetadataField::Version, &ThemeMetadata::Version, "txt", "Version:",
     "The Version of theme change to ", "version", "Версия темы"},
    // The resolution is read-only: never logged, never taken from a manifest.
    {MetadataField::Resolution, &ThemeMetadata::Resolution, "txt", "Resolution:", "", "",
     "Разрешение"},
    {MetadataField::Vendor, &ThemeMetadata::Vendor, "txt", "Vendor:",
     "The Vendor of theme change to ", "vendor", "Продавец"},
    {MetadataField::Price, &ThemeMetadata::Price, "txt", "Price:", "The Price of theme change to ",
     "price", "Цена"},
    {MetadataField::Url, &ThemeMetadata::Url, "url", "URL:", "The URL of theme change to ", "url",
     "URL"},
}};

const MetadataFieldInfo& FieldInfo(MetadataField field) {
    return MetadataFields[static_cast<std::size_t>(field)];
}

bool ThemeDocument::AllSlotsChosen() const {
    return std::all_of(SlotChosen.begin(), SlotChosen.end(), [](std::uint8_t f) { return f != 0; });
}

const SlotFile* ThemeDocument::CurrentFile(int slot) const {
    const auto& choices = Choices[static_cast<std::size_t>(slot)];
    return choices.empty() ? nullptr : &choices.back();
}

#include "PathNames.h"

#include <filesystem>

std::string_view FileNamePart(std::string_view path) {
    std::size_t separator = path.find_last_of(PathSeparators);
    return separator == std::string_view::npos ? path : path.substr(separator + 1);
}

std::string_view FileExtension(std::string_view path) {
    std::string_view name = FileNamePart(path);
    std::size_t dot = name.rfind('.');
    return dot == std::string_view::npos ? std::string_view() : name.substr(dot);
}

std::string_view StripExtension(std::string_view fileName) {
    return fileName.substr(0, fileName.find('.'));
}

std::string JoinPath(std::string_view folder, std::string_view name) {
    std::string path(folder);
    path += PathSeparator;
    path += name;
    return path;
}

std::string FullPath(const std::string& path) {
    std::error_code error;
    std::filesystem::path full = std::filesystem::absolute(path, error);
    return error ? path : full.lexically_normal().string();
}

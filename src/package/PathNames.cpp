#include "PathNames.h"

#include <filesystem>
#include <random>

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

std::string RandomNameSuffix() {
    static constexpr char letters[] =
        "ABCDEFGHIJKLMNOPQRSTUVWXYZabcdefghijklmnopqrstuvwxyz0123456789";
    // One generator per thread: packing makes temporary names while workers run.
    thread_local std::mt19937_64 random(std::random_device{}());
    std::string suffix;
    for (int i = 0; i < 6; ++i)
        suffix += letters[random() % (sizeof letters - 1)];
    return suffix;
}

#pragma once
// How the package names its files: the file name of a path, its extension, its base name.

#include <string>
#include <string_view>

#ifdef _WIN32
constexpr char PathSeparator = '\\';
constexpr std::string_view PathSeparators = "\\/:";
#else
constexpr char PathSeparator = '/';
constexpr std::string_view PathSeparators = "/";
#endif

/// The part of a path after its last separator; a path without one is its own file name.
std::string_view FileNamePart(std::string_view path);

/// The path's file name from its last "." on, the "." included; empty when the file name has no
/// ".", so a dot in a folder name never counts. Letter case is kept.
std::string_view FileExtension(std::string_view path);

/// A file name up to, not including, its first ".".
std::string_view StripExtension(std::string_view fileName);

/// A folder and a name joined by one separator.
std::string JoinPath(std::string_view folder, std::string_view name);

/// The path made absolute against the current directory, without resolving links: what error
/// messages show as a file's full path.
std::string FullPath(const std::string& path);

/// Six random letters and digits, for a temporary name beside a file that must not clash with
/// another's.
std::string RandomNameSuffix();

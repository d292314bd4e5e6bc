#pragma once
// user-dirs.dirs, where xdg-user-dirs records the user's Documents folder and its kin under
// the names of the user's language: lines such as XDG_DOCUMENTS_DIR="$HOME/Документы".

#include <string>
#include <string_view>

/// The folder the file names for key (e.g. "XDG_DOCUMENTS_DIR"), with $HOME replaced by home and
/// no trailing separator; empty when the file, the key or a usable value is missing. A value must
/// start with "$HOME" or "/", as xdg-user-dirs writes them; the last line for a key wins.
std::string ReadUserDir(const std::string& userDirsPath, std::string_view key,
                        const std::string& home);

#include "ProgramFolder.h"

#include "package/PathNames.h"

#include <climits>
#include <unistd.h>

std::string ProgramFolder() {
    std::string path(PATH_MAX, '\0');
    ssize_t length = readlink("/proc/self/exe", path.data(), path.size());
    // Without /proc the current directory is the best guess left.
    if (length <= 0 || static_cast<std::size_t>(length) >= path.size())
        return CurrentFolder();
    path.resize(static_cast<std::size_t>(length));
    return path.substr(0, path.size() - FileNamePart(path).size());
}

std::string CurrentFolder() {
    std::string folder(PATH_MAX, '\0');
    if (getcwd(folder.data(), folder.size()) == nullptr)
        return std::string(1, PathSeparator);
    folder.resize(folder.find('\0'));
    if (folder.empty() || folder.back() != PathSeparator)
        folder += PathSeparator;
    return folder;
}

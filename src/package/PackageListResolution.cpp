#include "PackageListResolution.h"

#include "NamePattern.h"
#include "PathNames.h"

#include <algorithm>
#include <dirent.h>
#include <memory>
#include <sys/stat.h>

namespace {

bool Exists(const std::string& path) {
    struct stat info {};
    return stat(path.c_str(), &info) == 0;
}

/// The files of the pattern's folder whose names match its last component, sorted by name.
std::vector<std::string> ExpandPattern(const std::string& pattern, const std::string& rootDir,
                                       const struct stat* archive) {
    std::string_view name = FileNamePart(pattern);
    std::string prefix =
        name.size() == pattern.size() ? rootDir : pattern.substr(0, pattern.size() - name.size());
    std::unique_ptr<DIR, int (*)(DIR*)> folder(opendir(prefix.empty() ? "." : prefix.c_str()),
                                               closedir);
    std::vector<std::string> matches;
    if (!folder)
        return matches;
    while (const dirent* item = readdir(folder.get())) {
        std::string_view itemName = item->d_name;
        if (itemName == "." || itemName == ".." || !MatchesNamePattern(name, itemName))
            continue;
        std::string path = prefix + std::string(itemName);
        struct stat info {};
        if (stat(path.c_str(), &info) != 0 || !S_ISREG(info.st_mode))
            continue;
        if (archive && info.st_dev == archive->st_dev && info.st_ino == archive->st_ino)
            continue;
        matches.push_back(std::move(path));
    }
    std::sort(matches.begin(), matches.end());
    return matches;
}

} // namespace

void ResolvePackageList(PackageList& list, const std::string& rootDir, const std::string& zipName) {
    std::vector<std::string> patterns;
    PackageList resolved;
    resolved.reserve(list.size());
    for (std::string& entry : list) {
        if (IsNamePattern(entry)) {
            patterns.push_back(std::move(entry));
            continue;
        }
        if (FileNamePart(entry).size() == entry.size())
            entry = rootDir + entry;
        if (Exists(entry))
            resolved.push_back(std::move(entry));
    }
    struct stat archiveInfo {};
    bool archiveExists = stat(zipName.c_str(), &archiveInfo) == 0;
    for (const std::string& pattern : patterns)
        for (std::string& match :
             ExpandPattern(pattern, rootDir, archiveExists ? &archiveInfo : nullptr))
            resolved.push_back(std::move(match));
    list = std::move(resolved);
}

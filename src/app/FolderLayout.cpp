#include "FolderLayout.h"

#include "ActivityLog.h"
#include "SlotDescriptions.h"
#include "UserDirs.h"
#include "package/Errors.h"
#include "package/FileHandle.h"
#include "package/SystemCalls.h"

#include <cerrno>
#include <cstdlib>
#include <fcntl.h>
#include <filesystem>
#include <pwd.h>
#include <sys/stat.h>
#include <unistd.h>
#include <vector>

namespace {

constexpr char HelpDocumentName[] = "help.chm";

std::string Normal(const std::string& path) {
    return std::filesystem::path(path).lexically_normal().string();
}

// A folder and a name, the root folder included.
std::string Join(const std::string& folder, std::string_view name) {
    std::string path = folder == "/" ? "" : folder;
    path += '/';
    path += name;
    return path;
}

std::string WithSeparator(std::string folder) {
    if (folder.empty() || folder.back() != '/')
        folder += '/';
    return folder;
}

std::string WithoutSeparator(std::string folder) {
    while (folder.size() > 1 && folder.back() == '/')
        folder.pop_back();
    return folder;
}

/// The XDG rules: a variable that is unset, empty or relative does not count.
bool Absolute(const std::string& path) {
    return !path.empty() && path.front() == '/';
}

std::string XdgFolder(const std::string& variable, const std::string& fallback) {
    return WithoutSeparator(Normal(Absolute(variable) ? variable : fallback));
}

// Writable for the effective user, as the program's own writes will be.
bool FolderWritable(const std::string& folder) {
    return faccessat(AT_FDCWD, folder.c_str(), W_OK | X_OK, AT_EACCESS) == 0;
}

bool IsFile(const std::string& path) {
    struct stat info {};
    return Sys.Stat(path.c_str(), &info) == 0 && S_ISREG(info.st_mode);
}

// HOME may name the folder through a link (/home -> /var/home), while the current folder comes
// from getcwd with every link resolved; the same inode is the same folder.
bool SameFolder(const std::string& a, const std::string& b) {
    struct stat first {
    }, second{};
    if (Sys.Stat(a.c_str(), &first) == 0 && Sys.Stat(b.c_str(), &second) == 0)
        return first.st_dev == second.st_dev && first.st_ino == second.st_ino;
    return WithoutSeparator(Normal(a)) == WithoutSeparator(Normal(b));
}

[[noreturn]] void ThrowCreate(const std::string& path, int error) {
    throw StreamError::Create(path, error);
}

// mkdir -p: every missing folder on the way gets mode (less the umask).
void MakeFolders(const std::string& folder, mode_t mode) {
    std::size_t slash = 0;
    while (slash != std::string::npos) {
        slash = folder.find('/', slash + 1);
        const std::string prefix = folder.substr(0, slash);
        if (prefix.empty() || mkdir(prefix.c_str(), mode) == 0 || errno == EEXIST)
            continue;
        ThrowCreate(prefix, errno);
    }
    struct stat info {};
    if (Sys.Stat(folder.c_str(), &info) != 0)
        ThrowCreate(folder, errno);
    if (!S_ISDIR(info.st_mode))
        ThrowCreate(folder, ENOTDIR);
}

// Staged copies of the user's files are nobody else's business, and a link put in place of the
// folder would send them elsewhere.
void MakePrivateFolder(const std::string& folder) {
    if (mkdir(folder.c_str(), 0700) != 0 && errno != EEXIST)
        ThrowCreate(folder, errno);
    // Not O_DIRECTORY: with it a link gives ENOTDIR, and the message should say it is a link.
    FileHandle handle = FileHandle::Open(folder.c_str(), O_RDONLY | O_NOFOLLOW | O_NONBLOCK);
    if (!handle.IsOpen())
        ThrowCreate(folder, errno);
    struct stat info {};
    if (Sys.Fstat(handle.Fd(), &info) != 0)
        ThrowCreate(folder, errno);
    if (!S_ISDIR(info.st_mode))
        ThrowCreate(folder, ENOTDIR);
    if (info.st_uid != geteuid())
        ThrowCreate(folder, EACCES);
    if ((info.st_mode & 07777) != 0700 && fchmod(handle.Fd(), 0700) != 0)
        ThrowCreate(folder, errno);
}

std::string ParentFolder(const std::string& path) {
    return path.substr(0, path.find_last_of('/'));
}

} // namespace

Environment ReadEnvironment() {
    auto variable = [](const char* name) {
        const char* value = std::getenv(name);
        return std::string(value ? value : "");
    };
    Environment env{variable("HOME"), variable("XDG_DATA_HOME"), variable("XDG_CONFIG_HOME"),
                    variable("XDG_DOCUMENTS_DIR")};
    if (env.home.empty()) {
        std::vector<char> buffer(16384);
        struct passwd entry {};
        struct passwd* found = nullptr;
        if (getpwuid_r(geteuid(), &entry, buffer.data(), buffer.size(), &found) == 0 && found &&
            found->pw_dir)
            env.home = found->pw_dir;
    }
    return env;
}

FolderLayout PortableLayout(const std::string& programFolder) {
    const std::string folder = WithSeparator(programFolder);
    return {.dataFolder = folder,
            .helpPath = HelpDocumentName,
            .tempDir = folder + "temp",
            .themesFolder = folder,
            .logPath = std::string(LogFileName),
            .installed = false};
}

std::string InstalledDataFolder(const std::string& programFolder) {
    return WithSeparator(Normal(WithSeparator(programFolder) + "../share/kestrova/"));
}

FolderLayout ChooseFolderLayout(const std::string& programFolder, const std::string& currentFolder,
                                const Environment& env) {
    const std::string sharedData = InstalledDataFolder(programFolder);
    const bool dataBeside =
        IsFile(WithSeparator(programFolder) + std::string(DescriptionsFileName));
    const bool dataShared = IsFile(sharedData + std::string(DescriptionsFileName));
    const bool installed = !FolderWritable(programFolder) || (!dataBeside && dataShared);
    if (!installed)
        return PortableLayout(programFolder);

    // A read-only copy that carries its data beside it (/opt/kestrova, a CD) still reads it there.
    const std::string dataFolder =
        dataBeside && !dataShared ? WithSeparator(programFolder) : sharedData;

    // Without a usable HOME the root folder stands in.
    const std::string home = Absolute(env.home) ? WithoutSeparator(Normal(env.home)) : "/";
    const std::string userFolder =
        Join(XdgFolder(env.xdgDataHome, Join(home, ".local/share")), "kestrova");
    const std::string configHome = XdgFolder(env.xdgConfigHome, Join(home, ".config"));
    std::string documents =
        Absolute(env.xdgDocumentsDir)
            ? WithoutSeparator(Normal(env.xdgDocumentsDir))
            : ReadUserDir(Join(configHome, "user-dirs.dirs"), "XDG_DOCUMENTS_DIR", home);
    if (!Absolute(documents))
        documents = home;

    // A log dropped into the home folder itself would clutter it, and launchers start us there.
    const bool logHere = FolderWritable(currentFolder) && !SameFolder(currentFolder, home);
    return {.dataFolder = dataFolder,
            .helpPath = dataFolder + HelpDocumentName,
            .tempDir = Join(userFolder, "temp"),
            .themesFolder = WithSeparator(Join(documents, "Kestrova")),
            .logPath = logHere ? std::string(LogFileName) : Join(userFolder, LogFileName),
            .installed = true};
}

void CreateUserFolders(const FolderLayout& layout) {
    if (!layout.installed)
        return;
    const std::string userFolder = ParentFolder(layout.tempDir);
    // The XDG rules ask for 0700 on data folders that have to be made.
    MakeFolders(ParentFolder(userFolder), 0700);
    MakePrivateFolder(userFolder);
    MakePrivateFolder(layout.tempDir);
    MakeFolders(WithoutSeparator(layout.themesFolder), 0777);
}

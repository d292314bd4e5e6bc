#pragma once
// Where the editor keeps its files. Run from a folder it may write to (the build folder, a
// portable copy), everything stays beside the program; an installed copy reads its data from
// <prefix>/share/kestrova and keeps what it writes in the user's own folders.

#include <string>

/// What the user's session says about the user's folders; empty where a variable is unset.
struct Environment {
    std::string home;            // HOME
    std::string xdgDataHome;     // XDG_DATA_HOME
    std::string xdgConfigHome;   // XDG_CONFIG_HOME
    std::string xdgDocumentsDir; // XDG_DOCUMENTS_DIR
};

/// The process's environment; HOME falls back to the password database when unset.
Environment ReadEnvironment();

struct FolderLayout {
    std::string dataFolder;   // descr.ini; ends with a separator
    std::string helpPath;     // help.chm; a bare name is looked up in the current folder
    std::string tempDir;      // the staging folder, TempDir; no final separator
    std::string themesFolder; // where archives are written; ends with a separator
    std::string logPath;      // trelvask.log; a bare name is resolved against the current folder
    bool installed = false;
};

/// Everything beside the program, as a copy run from a folder it may write to keeps it.
FolderLayout PortableLayout(const std::string& programFolder);

/// The data folder of an installed copy whose programs are in programFolder (<prefix>/bin/).
std::string InstalledDataFolder(const std::string& programFolder);

/// Picks the layout. A copy counts as installed when its folder is not writable, or when it has
/// no descr.ini beside it but its data folder has one (an install into a prefix the user owns).
/// An installed copy reads descr.ini and help.chm from its data folder, or from its own folder
/// when only that one holds descr.ini. programFolder and currentFolder are absolute.
FolderLayout ChooseFolderLayout(const std::string& programFolder, const std::string& currentFolder,
                                const Environment& env);

/// Creates what an installed layout writes into: the staging folder and its parent kestrova
/// folder private to the user (0700), refusing either when it is a symbolic link or another
/// user's, and the themes folder, which may be a link the user made to another disk. Missing
/// parents are created too. Does nothing for a portable layout. Throws StreamError.
void CreateUserFolders(const FolderLayout& layout);

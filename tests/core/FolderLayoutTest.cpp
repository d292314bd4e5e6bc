#include "app/FolderLayout.h"

#include "TestSupport.h"
#include "package/Errors.h"

#include <filesystem>
#include <gtest/gtest.h>
#include <pwd.h>
#include <sys/stat.h>
#include <sys/wait.h>
#include <unistd.h>
#include <vector>

namespace fs = std::filesystem;

namespace {

void MakeFolder(const std::string& path, mode_t mode) {
    fs::create_directories(path);
    if (chmod(path.c_str(), mode) != 0)
        throw std::runtime_error("cannot chmod " + path);
}

// Root may write anywhere whatever a folder's mode says, so the layout is chosen the way the
// desktop user would meet it: in a child running as an ordinary user.
FolderLayout ChooseAsOrdinaryUser(const std::string& programFolder,
                                  const std::string& currentFolder, const Environment& env) {
    int pipeFds[2];
    if (pipe(pipeFds) != 0)
        throw std::runtime_error("pipe failed");
    const pid_t child = fork();
    if (child < 0)
        throw std::runtime_error("fork failed");
    if (child == 0) {
        close(pipeFds[0]);
        if (geteuid() == 0) {
            const passwd* nobody = getpwnam("nobody");
            const uid_t uid = nobody ? nobody->pw_uid : 65534;
            const gid_t gid = nobody ? nobody->pw_gid : 65534;
            if (setgid(gid) != 0 || setuid(uid) != 0)
                _exit(3);
        }
        const FolderLayout layout = ChooseFolderLayout(programFolder, currentFolder, env);
        std::string out;
        for (const std::string* field : {&layout.dataFolder, &layout.helpPath, &layout.tempDir,
                                         &layout.themesFolder, &layout.logPath})
            out += *field + '\0';
        out += layout.installed ? '1' : '0';
        _exit(write(pipeFds[1], out.data(), out.size()) == ssize_t(out.size()) ? 0 : 4);
    }
    close(pipeFds[1]);
    std::string in;
    char buffer[4096];
    ssize_t got;
    while ((got = read(pipeFds[0], buffer, sizeof buffer)) > 0)
        in.append(buffer, static_cast<std::size_t>(got));
    close(pipeFds[0]);
    int status = 0;
    waitpid(child, &status, 0);
    if (!WIFEXITED(status) || WEXITSTATUS(status) != 0)
        throw std::runtime_error("the child choosing the layout failed");
    std::vector<std::string> fields;
    std::size_t start = 0, end;
    while ((end = in.find('\0', start)) != std::string::npos) {
        fields.push_back(in.substr(start, end - start));
        start = end + 1;
    }
    if (fields.size() != 5)
        throw std::runtime_error("the child sent a broken layout");
    return {fields[0], fields[1], fields[2], fields[3], fields[4], in.substr(start) == "1"};
}

} // namespace

// A machine in a folder: an installed copy under usr/ (programs folder read-only), a copy
// installed into a prefix the user owns, a build folder, a bare writable folder, and a home.
class FolderLayoutChoice : public ::testing::Test {
protected:
    void SetUp() override {
        if (geteuid() == 0)
            for (fs::path folder = root.Path().parent_path(); folder != folder.root_path();
                 folder = folder.parent_path())
                if ((fs::status(folder).permissions() & fs::perms::others_exec) == fs::perms::none)
                    GTEST_SKIP() << "an ordinary user cannot reach " << folder;
        MakeFolder(root.Path(), 0755);
        for (const char* data : {"usr/share/kestrova", "prefix/share/kestrova"}) {
            MakeFolder(root / data, 0755);
            test::WriteFile(root / (std::string(data) + "/descr.ini"), "[descriptions]\n");
        }
        MakeFolder(root / "usr/bin", 0555);
        MakeFolder(root / "prefix/bin", 0777);
        MakeFolder(root / "build/bin/temp", 0777);
        MakeFolder(root / "build/bin", 0777);
        test::WriteFile(root / "build/bin/descr.ini", "[descriptions]\n");
        MakeFolder(root / "bare", 0777);
        MakeFolder(root / "opt/kestrova", 0755);
        test::WriteFile(root / "opt/kestrova/descr.ini", "[descriptions]\n");
        MakeFolder(root / "opt/kestrova", 0555);
        MakeFolder(root / "home/.config", 0777);
        MakeFolder(root / "home/work", 0777);
        MakeFolder(root / "readonly", 0555);
        fs::create_directory_symlink(root / "home", root / "homelink");
    }

    test::TempFolder root;
};

TEST_F(FolderLayoutChoice, PortableCopiesKeepEverythingBesideTheProgram) {
    const Environment env{root / "home", root / "home/data", "", ""};
    for (const char* folder : {"build/bin/", "bare/"}) {
        const std::string program = root / folder;
        const FolderLayout layout = ChooseAsOrdinaryUser(program, root / "home/", env);
        EXPECT_FALSE(layout.installed) << folder;
        EXPECT_EQ(layout.dataFolder, program) << folder;
        EXPECT_EQ(layout.helpPath, "help.chm") << folder;
        EXPECT_EQ(layout.tempDir, program + "temp") << folder;
        EXPECT_EQ(layout.themesFolder, program) << folder;
        // The home rule is the installed copy's; a portable copy logs where it is started.
        EXPECT_EQ(layout.logPath, "trelvask.log") << folder;
    }
}

TEST_F(FolderLayoutChoice, InstalledCopiesUseTheUsersFolders) {
    const std::string home = root / "home";
    struct Case {
        const char* name;
        std::string program;
        std::string current;
        Environment env;
        std::string userDirs; // $XDG_CONFIG_HOME/user-dirs.dirs, or none when empty
        std::string data, temp, themes, log;
    };
    const std::string usrData = root / "usr/share/kestrova/";
    const Case cases[] = {
        {"all XDG folders set",
         root / "usr/bin/",
         home + "/work/",
         {home, root / "home/data", root / "home/conf", ""},
         "XDG_DOCUMENTS_DIR=\"$HOME/Документы\"\n",
         usrData,
         home + "/data/kestrova/temp",
         home + "/Документы/Kestrova/",
         "trelvask.log"},
        {"defaults, started in the home folder",
         root / "usr/bin/",
         home + "/",
         {home, "", "", ""},
         "",
         usrData,
         home + "/.local/share/kestrova/temp",
         home + "/Kestrova/",
         home + "/.local/share/kestrova/trelvask.log"},
        {"documents folder from the default config folder",
         root / "usr/bin/",
         home + "/work/",
         {home, "", "", ""},
         "XDG_DOCUMENTS_DIR=\"/srv/docs\"\n",
         usrData,
         home + "/.local/share/kestrova/temp",
         "/srv/docs/Kestrova/",
         "trelvask.log"},
        {"XDG_DOCUMENTS_DIR from the environment wins",
         root / "usr/bin/",
         home + "/work/",
         {home, "", "", "/srv/papers/"},
         "XDG_DOCUMENTS_DIR=\"$HOME/Docs\"\n",
         usrData,
         home + "/.local/share/kestrova/temp",
         "/srv/papers/Kestrova/",
         "trelvask.log"},
        {"relative XDG variables do not count",
         root / "usr/bin/",
         home + "/work/",
         {home, "data", "conf", "docs"},
         "",
         usrData,
         home + "/.local/share/kestrova/temp",
         home + "/Kestrova/",
         "trelvask.log"},
        {"started in a folder it cannot write",
         root / "usr/bin/",
         root / "readonly/",
         {home, root / "home/data", "", ""},
         "",
         usrData,
         home + "/data/kestrova/temp",
         home + "/Kestrova/",
         home + "/data/kestrova/trelvask.log"},
        {"HOME through a link, started in the real home",
         root / "usr/bin/",
         home + "/",
         {root / "homelink", "", "", ""},
         "",
         usrData,
         root / "homelink/.local/share/kestrova/temp",
         root / "homelink/Kestrova/",
         root / "homelink/.local/share/kestrova/trelvask.log"},
        {"a read-only copy with its data beside it",
         root / "opt/kestrova/",
         home + "/work/",
         {home, "", "", ""},
         "",
         root / "opt/kestrova/",
         home + "/.local/share/kestrova/temp",
         home + "/Kestrova/",
         "trelvask.log"},
        {"a prefix the user owns",
         root / "prefix/bin/",
         home + "/work/",
         {home, "", "", ""},
         "",
         root / "prefix/share/kestrova/",
         home + "/.local/share/kestrova/temp",
         home + "/Kestrova/",
         "trelvask.log"},
    };
    for (const Case& c : cases) {
        const std::string configHome = c.env.xdgConfigHome.empty() || c.env.xdgConfigHome[0] != '/'
                                           ? home + "/.config"
                                           : c.env.xdgConfigHome;
        fs::create_directories(configHome);
        fs::remove(configHome + "/user-dirs.dirs");
        if (!c.userDirs.empty())
            test::WriteFile(configHome + "/user-dirs.dirs", c.userDirs);

        const FolderLayout layout = ChooseAsOrdinaryUser(c.program, c.current, c.env);
        EXPECT_TRUE(layout.installed) << c.name;
        EXPECT_EQ(layout.dataFolder, c.data) << c.name;
        EXPECT_EQ(layout.helpPath, c.data + "help.chm") << c.name;
        EXPECT_EQ(layout.tempDir, c.temp) << c.name;
        EXPECT_EQ(layout.themesFolder, c.themes) << c.name;
        EXPECT_EQ(layout.logPath, c.log) << c.name;
    }
}

class UserFolders : public ::testing::Test {
protected:
    // An installed layout whose folders do not exist yet, not even the data home.
    FolderLayout Installed() const {
        return {"/usr/share/kestrova/",
                "/usr/share/kestrova/help.chm",
                home + "/.local/share/kestrova/temp",
                home + "/Документы/Kestrova/",
                "trelvask.log",
                true};
    }

    static mode_t Mode(const std::string& path) {
        struct stat info {};
        if (lstat(path.c_str(), &info) != 0)
            return 0;
        return info.st_mode & 07777;
    }

    template <typename F> static std::string StreamErrorOf(F f) {
        try {
            f();
        } catch (const StreamError& e) {
            return e.what();
        }
        return "";
    }

    test::TempFolder root;
    const std::string home = root / "home";
};

TEST_F(UserFolders, MadeWithTheirParentsAndTheStagingFolderPrivate) {
    fs::create_directory(home);
    const FolderLayout layout = Installed();
    CreateUserFolders(layout);
    EXPECT_EQ(Mode(layout.tempDir), 0700u);
    EXPECT_EQ(Mode(home + "/.local/share/kestrova"), 0700u);
    EXPECT_TRUE(fs::is_directory(layout.themesFolder));

    // A staging folder left open by an earlier run is closed again; a second start is quiet.
    chmod(layout.tempDir.c_str(), 0755);
    test::WriteFile(layout.tempDir + "/idle_wallpaper.jpg", "x");
    CreateUserFolders(layout);
    EXPECT_EQ(Mode(layout.tempDir), 0700u);
    EXPECT_TRUE(fs::exists(layout.tempDir + "/idle_wallpaper.jpg"));
}

TEST_F(UserFolders, ThemesFolderMayBeALinkToAnotherDisk) {
    fs::create_directories(home + "/Документы");
    fs::create_directory(root / "disk");
    fs::create_directory_symlink(root / "disk", home + "/Документы/Kestrova");
    CreateUserFolders(Installed());
    EXPECT_TRUE(fs::is_symlink(home + "/Документы/Kestrova"));
}

TEST_F(UserFolders, RefusedWhereSomethingElseStands) {
    const FolderLayout layout = Installed();
    const std::string kestrova = home + "/.local/share/kestrova";
    struct Case {
        const char* name;
        std::string inTheWay; // made as the kind below before the folders are made
        enum { LinkToFolder, File } kind;
        std::string message;
    };
    const Case cases[] = {
        {"staging folder is a link", layout.tempDir, Case::LinkToFolder,
         "Cannot create file \"" + layout.tempDir + "\". Too many levels of symbolic links"},
        {"kestrova folder is a link", kestrova, Case::LinkToFolder,
         "Cannot create file \"" + kestrova + "\". Too many levels of symbolic links"},
        {"staging folder is a file", layout.tempDir, Case::File,
         "Cannot create file \"" + layout.tempDir + "\". Not a directory"},
        {"a parent is a file", home + "/.local", Case::File,
         "Cannot create file \"" + home + "/.local/share\". Not a directory"},
        {"themes folder is a file", home + "/Документы/Kestrova", Case::File,
         "Cannot create file \"" + home + "/Документы/Kestrova\". Not a directory"},
    };
    for (const Case& c : cases) {
        fs::remove_all(home);
        fs::remove_all(root / "elsewhere");
        fs::create_directories(fs::path(c.inTheWay).parent_path());
        if (c.kind == Case::File) {
            test::WriteFile(c.inTheWay, "");
        } else {
            MakeFolder(root / "elsewhere", 0755);
            fs::create_directory_symlink(root / "elsewhere", c.inTheWay);
        }
        EXPECT_EQ(StreamErrorOf([&] { CreateUserFolders(layout); }), c.message) << c.name;
        if (c.kind == Case::LinkToFolder) {
            EXPECT_EQ(Mode(root / "elsewhere"), 0755u) << c.name;
            EXPECT_TRUE(fs::is_empty(root / "elsewhere")) << c.name;
        }
    }
}

TEST_F(UserFolders, StagingFolderOfAnotherUserIsRefused) {
    if (geteuid() != 0)
        GTEST_SKIP() << "only root can give a folder away";
    const FolderLayout layout = Installed();
    fs::create_directories(layout.tempDir);
    ASSERT_EQ(chown(layout.tempDir.c_str(), 65534, 65534), 0);
    EXPECT_EQ(StreamErrorOf([&] { CreateUserFolders(layout); }),
              "Cannot create file \"" + layout.tempDir + "\". Permission denied");
}

TEST_F(UserFolders, PortableLayoutMakesNothing) {
    // Beside the program "temp" must already be there; it is neither made nor tested.
    const std::string program = root / "bin/";
    CreateUserFolders({program, "help.chm", program + "temp", program, "trelvask.log", false});
    EXPECT_FALSE(fs::exists(program));
}

// Feeds arbitrary bytes to an update as the archive that already exists. Whatever the bytes, the
// update must either write an archive that reads back, or fail with a KestrovaError and leave
// the old file exactly as it was, with no temporary file behind.

#include "package/Errors.h"
#include "package/ExistingArchive.h"
#include "package/FileHandle.h"
#include "package/ZipWriter.h"

#include <cstdint>
#include <cstdio>
#include <cstdlib>
#include <ctime>
#include <dirent.h>
#include <fcntl.h>
#include <filesystem>
#include <fstream>
#include <iterator>
#include <string>
#include <sys/stat.h>
#include <unistd.h>
#include <utime.h>

namespace {

std::string folder;

void WriteFile(const std::string& path, const void* data, std::size_t size) {
    std::ofstream out(path, std::ios::binary | std::ios::trunc);
    out.write(static_cast<const char*>(data), static_cast<std::streamsize>(size));
}

std::string ReadFile(const std::string& path) {
    std::ifstream in(path, std::ios::binary);
    return std::string(std::istreambuf_iterator<char>(in), {});
}

void Stage(const std::string& name, const std::string& bytes, std::time_t when) {
    std::string path = folder + "/temp/" + name;
    WriteFile(path, bytes.data(), bytes.size());
    struct utimbuf times = {when, when};
    utime(path.c_str(), &times);
}

int FilesInArchiveFolder() {
    int count = 0;
    DIR* dir = opendir(folder.c_str());
    while (const dirent* item = readdir(dir))
        count += item->d_name[0] != '.' || (item->d_name[1] != '\0' && item->d_name[1] != '.');
    closedir(dir);
    return count;
}

} // namespace

extern "C" int LLVMFuzzerInitialize(int*, char***) {
    setenv("TZ", "UTC", 1);
    tzset();
    char pattern[] = "/tmp/kestrova-fuzz-XXXXXX";
    folder = mkdtemp(pattern);
    atexit([] { std::filesystem::remove_all(folder); });
    mkdir((folder + "/temp").c_str(), 0755);
    // One file older and one newer than the seeds' entries, so both keep and replace run.
    Stage("a.txt", "replacement text, replacement text, replacement text", 315532800 + 86400);
    Stage("config.spc", std::string(3000, 'c'), 4000000000);
    return 0;
}

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    std::string zipName = folder + "/Theme.sdt";
    WriteFile(zipName, data, size);
    PackageList list = {"a.txt", "config.spc", folder + "/temp/a.txt"};
    ZipWriter writer(list);
    writer.SetRootDir(folder + "/temp");
    writer.SetZipName(zipName);
    try {
        writer.PackArchive();
    } catch (const KestrovaError&) {
        if (ReadFile(zipName) != std::string(reinterpret_cast<const char*>(data), size))
            abort(); // a failed update touched the old archive
        if (FilesInArchiveFolder() != 2)
            abort(); // a temporary archive was left behind
        return 0;
    }
    // What we wrote we must be able to read again, entries and all.
    FileHandle written = FileHandle::Open(zipName.c_str(), O_RDONLY);
    struct stat info {};
    fstat(written.Fd(), &info);
    ExistingArchive archive =
        ReadExistingArchive(written, static_cast<std::uint64_t>(info.st_size));
    if (archive.entries.empty() || FilesInArchiveFolder() != 2)
        abort();
    return 0;
}

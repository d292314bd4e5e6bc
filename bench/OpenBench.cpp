// Opens a theme archive as the editor does: reads and inflates every entry into memory, checking
// each CRC-32, then, given a folder, writes each entry there the way staging does (created or
// emptied, written, stamped with its entry's time, closed). Prints what it took:
//   entries=<count> bytes=<inflated bytes> read_seconds=<reading> write_seconds=<writing>

#include "package/DosTime.h"
#include "package/Errors.h"
#include "package/FileHandle.h"
#include "package/PathNames.h"
#include "package/ThemeArchiveReader.h"

#include <chrono>
#include <cstdio>
#include <fcntl.h>
#include <sys/stat.h>

namespace {

void Stage(const std::string& folder, const ThemeArchiveEntry& entry) {
    std::string path = JoinPath(folder, entry.name);
    FileHandle file = FileHandle::Open(path.c_str(), O_WRONLY | O_CREAT | O_TRUNC | O_NOFOLLOW);
    if (!file.IsOpen())
        throw StreamError::Create(path, errno);
    if (file.WriteAll(entry.data.data(), entry.data.size()) != 0)
        throw StreamError::Write();
    struct timespec times[2] = {{0, UTIME_OMIT}, {UnixFromDosDateTime(entry.dosDateTime), 0}};
    futimens(file.Fd(), times);
    if (file.Close() != 0)
        throw StreamError::Write();
}

} // namespace

int main(int argc, char** argv) {
    if (argc < 2 || argc > 3) {
        std::fprintf(stderr, "usage: %s ARCHIVE [FOLDER]\n", argv[0]);
        return 2;
    }
    using Clock = std::chrono::steady_clock;
    try {
        auto start = Clock::now();
        ThemeArchive archive = ReadThemeArchive(argv[1]);
        auto read = Clock::now();
        std::size_t bytes = 0;
        for (const ThemeArchiveEntry& entry : archive.entries) {
            bytes += entry.data.size();
            if (argc == 3)
                Stage(argv[2], entry);
        }
        auto written = Clock::now();
        std::printf("entries=%zu bytes=%zu read_seconds=%.6f write_seconds=%.6f\n",
                    archive.entries.size(), bytes,
                    std::chrono::duration<double>(read - start).count(),
                    std::chrono::duration<double>(written - read).count());
    } catch (const KestrovaError& error) {
        std::fprintf(stderr, "%s\n", ErrorBoxText(error.what()).c_str());
        return 1;
    }
    return 0;
}

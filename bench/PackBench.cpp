// Packs the files named on the command line into an archive with the theme archive writer,
// creating it or updating the one that exists, on the threads KESTROVA_THREADS asks for (else
// on all cores), and prints what it took:
//   packed=<files> seconds=<wall time of PackArchive> bytes=<archive size> peak_rss_kib=<peak>
// With --threads alone it prints how many threads a pack would deflate on.

#include "package/Errors.h"
#include "package/WorkerPool.h"
#include "package/ZipWriter.h"

#include <chrono>
#include <cstdio>
#include <string_view>
#include <sys/resource.h>
#include <sys/stat.h>

int main(int argc, char** argv) {
    if (argc == 2 && std::string_view(argv[1]) == "--threads") {
        std::printf("%d\n", DefaultPackThreads());
        return 0;
    }
    if (argc < 3) {
        std::fprintf(stderr, "usage: %s ARCHIVE FILE...\n", argv[0]);
        return 2;
    }
    PackageList list(argv + 2, argv + argc);
    ZipWriter writer(list);
    writer.SetZipName(argv[1]);
    try {
        auto start = std::chrono::steady_clock::now();
        int packed = writer.PackArchive();
        std::chrono::duration<double> took = std::chrono::steady_clock::now() - start;
        struct stat info {};
        stat(argv[1], &info);
        struct rusage usage {};
        getrusage(RUSAGE_SELF, &usage);
        std::printf("packed=%d seconds=%.6f bytes=%lld peak_rss_kib=%ld\n", packed, took.count(),
                    static_cast<long long>(info.st_size), usage.ru_maxrss);
    } catch (const KestrovaError& error) {
        std::fprintf(stderr, "%s\n", ErrorBoxText(error.what()).c_str());
        return 1;
    }
    return 0;
}

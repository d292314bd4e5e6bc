// Feeds arbitrary bytes to the theme check's readers of untrusted media: the end-mark walkers
// for PNG, JPEG and GIF and the melody sniffer. Whatever the bytes, they must stay inside them,
// and bytes after a complete picture must not make it incomplete.
// Run: build-fuzz/bin/media_bytes_fuzzer fuzz/media-corpus -max_total_time=60 (after building
// the target in build-fuzz, as tools/dev fuzz configures it).

#include "package/MediaSniffing.h"
#include "package/PictureCompleteness.h"

#include <cstdint>
#include <cstdlib>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    for (const char* format : {"PNG", "JPEG", "GIF"})
        if (PictureComplete(format, bytes) && !PictureComplete(format, bytes + "\xFF\x00"))
            std::abort();
    SniffMelodyFormat(bytes);
    return 0;
}

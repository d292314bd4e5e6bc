// Feeds arbitrary bytes to the theme check's readers of untrusted media: the reader of a
// picture's structure and the melody sniffer. Whatever the bytes, they must stay inside them,
// report no negative size, and bytes after a complete picture must change nothing it reports.
// Run: build-fuzz/bin/media_bytes_fuzzer fuzz/media-corpus -max_total_time=60 (after building
// the target in build-fuzz, as tools/dev fuzz configures it).

#include "package/MediaSniffing.h"
#include "package/PictureStructure.h"

#include <cstdint>
#include <cstdlib>
#include <string>

namespace {

bool SameStructure(const PictureStructure& a, const PictureStructure& b) {
    return a.format == b.format && a.width == b.width && a.height == b.height &&
           a.frames == b.frames && a.complete == b.complete;
}

} // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    const std::string bytes(reinterpret_cast<const char*>(data), size);
    const PictureStructure structure = ReadPictureStructure(bytes);
    if (structure.width < 0 || structure.height < 0 || structure.frames < 0)
        std::abort();
    if (structure.format.empty() && (structure.width || structure.height || structure.frames))
        std::abort();
    // Only the formats with an end mark know where they end.
    const bool marked =
        structure.format == "PNG" || structure.format == "JPEG" || structure.format == "GIF";
    if (marked && structure.complete &&
        !SameStructure(structure, ReadPictureStructure(bytes + std::string("\xFF\x00", 2))))
        std::abort();
    SniffMelodyFormat(bytes);
    return 0;
}

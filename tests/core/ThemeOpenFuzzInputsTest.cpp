// The theme_open fuzzer's own checks, run over its seeds and over every input it has found that
// once failed (fuzz/open-regressions), so that what the fuzzer found stays found. A broken
// promise aborts, as it does under the fuzzer.

#include "TestSupport.h"

#include <cstdint>
#include <filesystem>
#include <gtest/gtest.h>

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size);

namespace {

namespace fs = std::filesystem;

TEST(ThemeOpenFuzzInputs, SeedsAndFoundInputsKeepTheReadersPromises) {
    int inputs = 0;
    for (const char* folder : {"fuzz/open-corpus", "fuzz/open-regressions"}) {
        fs::path path = fs::path(KESTROVA_SOURCE_DIR) / folder;
        if (!fs::exists(path))
            continue;
        for (const auto& item : fs::directory_iterator(path)) {
            SCOPED_TRACE(item.path().string());
            std::string bytes = test::ReadFile(item.path().string());
            LLVMFuzzerTestOneInput(reinterpret_cast<const std::uint8_t*>(bytes.data()),
                                   bytes.size());
            ++inputs;
        }
    }
    EXPECT_GT(inputs, 0) << "no seeds found";
}

} // namespace

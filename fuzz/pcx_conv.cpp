// Fuzz target: a game picture converted to a BMP file.

#include "catalogue/ResourceError.h"
#include "fuzz/FuzzSupport.h"
#include "imaging/Bmp.h"
#include "imaging/PcxImage.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    try {
        const ConvertedPicture picture = Conv(fuzz::inputBytes(data, size));
        const PcxInfo info = readPcxInfo(fuzz::inputBytes(data, size));
        FUZZ_CHECK(picture.width == info.width && picture.height == info.height);
        const auto bits = static_cast<std::uint16_t>(info.bits);
        const std::uint64_t expected =
            kBmpHeadersSize + (bits == 8 ? kBmpPaletteSize : 0) +
            bmpStride(bits, info.width) * static_cast<std::uint64_t>(info.height);
        FUZZ_CHECK(picture.bmp.size() == expected);
        FUZZ_CHECK(loadU32(picture.bmp.data() + 2) == picture.bmp.size());
    } catch (const ResourceError& error) {
        FUZZ_CHECK(!error.text().empty());
    }
    return 0;
}

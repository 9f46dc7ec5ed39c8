// Fuzz target: a PNG file read back into a picture through libpng. What is read must write and
// read again to the same picture.

#include "base/ResourceError.h"
#include "fuzz/FuzzSupport.h"
#include "imaging/Bmp.h"
#include "imaging/Png.h"

namespace {

// Pictures within the limits but larger than this are left alone: they run the same code as
// small ones, only longer. Those beyond the limits are still read, as they must be refused early.
constexpr std::uint64_t kMostDecodedPixels = std::uint64_t{1} << 20;

std::uint32_t big32(const std::uint8_t* p) {
    return static_cast<std::uint32_t>(p[0]) << 24 | static_cast<std::uint32_t>(p[1]) << 16 |
           static_cast<std::uint32_t>(p[2]) << 8 | p[3];
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
    using namespace brasvel;
    if (size >= 24) {
        const std::uint64_t width = big32(data + 16);
        const std::uint64_t height = big32(data + 20);
        const bool withinLimits = width <= kMaxPictureSide && height <= kMaxPictureSide &&
                                  width * height <= kMaxPicturePixels;
        if (withinLimits && width * height > kMostDecodedPixels) {
            return 0;
        }
    }
    try {
        const Picture picture = decodePng(fuzz::inputBytes(data, size));
        FUZZ_CHECK(picture.width > 0 && picture.height > 0);
        FUZZ_CHECK(picture.pixels.size() ==
                   picture.rowBytes() * static_cast<std::size_t>(picture.height));
        const std::vector<std::byte> again = encodePng(picture);
        FUZZ_CHECK(decodePng(again) == picture);
    } catch (const ResourceError& error) {
        FUZZ_CHECK(!error.text().empty());
    }
    return 0;
}

// JPEG decoding and encoding on libjpeg, for the image library (GX::Image)
// and the host's view save. It depends on nothing else of the platform, so
// that the fuzz target builds it alone.
//
// libjpeg's own error handler ends the process; here every error of the
// library comes back as a false result, whatever the bytes.
#pragma once
#include <cstddef>
#include <cstdint>
#include <string>
#include <vector>

namespace GX {
namespace Jpeg {

// 8-bit RGB pixels, row by row from the top, 3 bytes a pixel.
struct Pixels {
    std::uint32_t width = 0;
    std::uint32_t height = 0;
    std::vector<std::uint8_t> rgb;
};

// The largest picture the decoder accepts (either side, and in total), so
// that a header announcing a huge picture cannot make it allocate without
// bound.
constexpr std::uint32_t MaxSide = 16384;
constexpr std::uint64_t MaxPixelCount = 64ull * 1024 * 1024;

// Decodes a whole JPEG stream (grey or colour, turned into RGB). False, with
// `out` untouched and the library's message in `error` when given, for
// anything that is not a complete, readable JPEG picture: empty, cut short,
// not a JPEG, too large.
bool Decode(const std::uint8_t* data, std::size_t size, Pixels& out, std::string* error = nullptr);

// Encodes RGB pixels (or grey ones, one byte a pixel, when `grey`) as a
// baseline JPEG of the quality (1 to 100). False for pixels that do not fit
// the sizes or any error of the library.
bool Encode(const Pixels& pixels, bool grey, int quality, std::vector<std::uint8_t>& out,
            std::string* error = nullptr);

}  // namespace Jpeg
}  // namespace GX

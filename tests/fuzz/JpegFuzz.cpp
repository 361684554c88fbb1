// Fuzz target: the JPEG reader of the image library. A list view shows
// whatever picture file lies in the host's temporary folder, so the reader
// may neither crash, nor end the process (libjpeg's default), nor read out
// of bounds, whatever the bytes. A picture it accepts has the size it says.
#include "platform/gx/JpegCodec.hpp"
#include <cstddef>
#include <cstdint>
#include <cstdlib>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    GX::Jpeg::Pixels pixels;
    if (GX::Jpeg::Decode(data, size, pixels) &&
        pixels.rgb.size() != std::size_t(pixels.width) * pixels.height * 3)
        std::abort();
    return 0;
}

// Fuzz target: every reader of text that comes from outside the add-on's
// control (the library's reply, the wall description) and the wall-geometry
// library's own reading of a description. None may crash, throw or read
// out of bounds, whatever the bytes.
#include "addon/walls/WallJson.hpp"
#include "platform/vomdix/WallFace.hpp"
#include <cstddef>
#include <cstdint>
#include <limits>
#include <string>

extern "C" int LLVMFuzzerTestOneInput(const uint8_t* data, size_t size)
{
    const std::string text(reinterpret_cast<const char*>(data), size);
    WallJson::ReadWallFaceReply(text);
    if (const auto values = WallJson::ReadWallDescriptionValues(text))
        WallJson::LargestArcRadius(values->polygon2d, std::numeric_limits<double>::lowest());
    WallJson::MarkRequestInternal(text);
    VOMDIX::ComputeWallFaceReply(text);
    return 0;
}

// GX::Image: a picture read from a file, as the host's image library gives
// it. Only JPEG files are read. A file that cannot be read as a picture
// (missing, empty, cut short, not a JPEG) gives an empty image: the
// constructor never throws for the file's content, only std::bad_alloc when
// memory runs out.
#pragma once
#include "platform/dg/DGImage.hpp"
#include "platform/io/Location.hpp"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace GX {

class PLATFORM_API Image {
public:
    Image() = default;
    explicit Image(const IO::Location& file);

    bool IsEmpty() const { return width == 0 || height == 0; }
    UInt32 GetWidth() const { return width; }
    UInt32 GetHeight() const { return height; }
    // Why the file gave no picture (empty for a picture read well).
    const std::string& GetError() const { return error; }

    // The picture as the dialog library shows it (an empty DG::Image for an
    // empty one); it shares the pixels and names the file they came from.
    DG::Image ToDGPicture() const;

private:
    UInt32 width = 0;
    UInt32 height = 0;
    std::shared_ptr<const std::vector<std::uint8_t>> rgb;
    std::string error;
    std::string source;
};

}  // namespace GX

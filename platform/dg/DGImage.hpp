// DG::Image: a picture as the dialog library shows it (in a list view's
// item). It shares its pixels, so copies are cheap; an empty image shows
// nothing.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <cstdint>
#include <memory>
#include <string>
#include <vector>

namespace DG {

class PLATFORM_API Image {
public:
    Image() = default;
    // `source`: the file the picture was read from, when it was.
    Image(UInt32 width, UInt32 height, std::shared_ptr<const std::vector<std::uint8_t>> rgb, std::string source = {})
        : width(width), height(height), rgb(std::move(rgb)), source(std::move(source))
    {
    }

    bool IsEmpty() const { return width == 0 || height == 0 || rgb == nullptr; }
    UInt32 GetWidth() const { return width; }
    UInt32 GetHeight() const { return height; }
    // RGB, 3 bytes a pixel, rows from the top; null for an empty image.
    const std::vector<std::uint8_t>* GetPixels() const { return rgb.get(); }
    const std::string& GetSource() const { return source; }

private:
    UInt32 width = 0;
    UInt32 height = 0;
    std::shared_ptr<const std::vector<std::uint8_t>> rgb;
    std::string source;
};

}  // namespace DG

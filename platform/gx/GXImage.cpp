#include "platform/gx/GXImage.hpp"
#include "platform/gx/JpegCodec.hpp"
#include <fstream>
#include <iterator>
#include <new>

namespace GX {

namespace {

// A picture file larger than this is not read at all (a JPEG of the largest
// accepted size is far smaller).
constexpr std::streamoff MaxFileSize = 256ll * 1024 * 1024;

}  // namespace

Image::Image(const IO::Location& file) : source(file.ToPath())
{
    std::ifstream in(file.ToPath(), std::ios::binary);
    if (file.IsEmpty() || !in) {
        error = "cannot open the file";
        return;
    }
    in.seekg(0, std::ios::end);
    const std::streamoff size = in.tellg();
    in.seekg(0, std::ios::beg);
    if (size < 0 || size > MaxFileSize) {
        error = "cannot read the file";
        return;
    }
    std::vector<std::uint8_t> bytes(static_cast<std::size_t>(size));
    if (size > 0 && !in.read(reinterpret_cast<char*>(bytes.data()), size)) {
        error = "cannot read the file";
        return;
    }
    Jpeg::Pixels pixels;
    if (!Jpeg::Decode(bytes.data(), bytes.size(), pixels, &error)) {
        if (error == "out of memory")
            throw std::bad_alloc();
        return;
    }
    width = pixels.width;
    height = pixels.height;
    rgb = std::make_shared<const std::vector<std::uint8_t>>(std::move(pixels.rgb));
}

DG::Image Image::ToDGPicture() const
{
    if (IsEmpty())
        return DG::Image();
    return DG::Image(width, height, rgb, source);
}

}  // namespace GX

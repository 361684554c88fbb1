#include "platform/gx/JpegCodec.hpp"
#include <csetjmp>
#include <cstdio>
#include <cstdlib>
#include <jpeglib.h>
#include <jerror.h>

namespace GX {
namespace Jpeg {

namespace {

// The error manager: the library's message is kept and control goes back
// to the setjmp point of the call that is running, instead of exit().
struct ErrorManager {
    jpeg_error_mgr base;
    std::jmp_buf jump;
    char message[JMSG_LENGTH_MAX];
};

extern "C" void ErrorExit(j_common_ptr info)
{
    ErrorManager* manager = reinterpret_cast<ErrorManager*>(info->err);
    (*info->err->format_message)(info, manager->message);
    std::longjmp(manager->jump, 1);
}

// Warnings are not printed. A stream that ends early is padded by the
// library with a warning and would decode as a grey-filled picture; a file
// cut short is no picture, so that warning ends the call as an error.
// Other warnings (stray bytes, a corrupt but decodable stream) still decode.
extern "C" void EmitMessage(j_common_ptr info, int level)
{
    if (level < 0 && info->err->msg_code == JWRN_JPEG_EOF)
        ErrorExit(info);
}

void InstallErrors(ErrorManager& manager)
{
    jpeg_std_error(&manager.base);
    manager.base.error_exit = ErrorExit;
    manager.base.emit_message = EmitMessage;
    manager.message[0] = '\0';
}

void SetError(std::string* error, const char* text)
{
    if (error != nullptr)
        *error = text;
}

// Nothing with a destructor may live between setjmp and a longjmp, so the
// decoding works in plain C storage held by this small frame.
struct DecodeFrame {
    jpeg_decompress_struct info;
    ErrorManager errors;
    bool created = false;
    std::uint8_t* buffer = nullptr;
};

// The part of the decoding that may longjmp. What must survive a jump (the
// pixel buffer) lives in the frame, in memory, never in a local that the
// jump could leave stale; the caller frees it.
bool DecodeInto(DecodeFrame& frame, const std::uint8_t* data, std::size_t size, std::string* error)
{
    if (setjmp(frame.errors.jump) != 0) {
        SetError(error, frame.errors.message);
        return false;
    }
    jpeg_create_decompress(&frame.info);
    frame.created = true;
    jpeg_mem_src(&frame.info, data, static_cast<unsigned long>(size));
    if (jpeg_read_header(&frame.info, TRUE) != JPEG_HEADER_OK) {
        SetError(error, "no JPEG picture");
        return false;
    }
    if (frame.info.image_width == 0 || frame.info.image_height == 0 || frame.info.image_width > MaxSide ||
        frame.info.image_height > MaxSide ||
        std::uint64_t(frame.info.image_width) * frame.info.image_height > MaxPixelCount) {
        SetError(error, "picture too large");
        return false;
    }
    frame.info.out_color_space = JCS_RGB;
    jpeg_start_decompress(&frame.info);
    if (frame.info.output_components != 3) {
        SetError(error, "unsupported colour space");
        return false;
    }
    frame.buffer = static_cast<std::uint8_t*>(
        std::malloc(std::size_t(frame.info.output_width) * frame.info.output_height * 3));
    if (frame.buffer == nullptr) {
        SetError(error, "out of memory");
        return false;
    }
    while (frame.info.output_scanline < frame.info.output_height) {
        JSAMPROW row = frame.buffer + std::size_t(frame.info.output_scanline) * frame.info.output_width * 3;
        if (jpeg_read_scanlines(&frame.info, &row, 1) != 1) {
            SetError(error, "picture cut short");
            return false;
        }
    }
    jpeg_finish_decompress(&frame.info);
    return true;
}

struct EncodeFrame {
    jpeg_compress_struct info;
    ErrorManager errors;
    bool created = false;
    unsigned char* memory = nullptr;
    unsigned long memorySize = 0;
};

bool EncodeInto(EncodeFrame& frame, const Pixels& pixels, bool grey, int quality, std::string* error)
{
    if (setjmp(frame.errors.jump) != 0) {
        SetError(error, frame.errors.message);
        return false;
    }
    jpeg_create_compress(&frame.info);
    frame.created = true;
    jpeg_mem_dest(&frame.info, &frame.memory, &frame.memorySize);
    frame.info.image_width = pixels.width;
    frame.info.image_height = pixels.height;
    frame.info.input_components = grey ? 1 : 3;
    frame.info.in_color_space = grey ? JCS_GRAYSCALE : JCS_RGB;
    jpeg_set_defaults(&frame.info);
    jpeg_set_quality(&frame.info, quality, TRUE);
    // Full colour resolution: pictures of thin coloured lines keep their colours.
    for (int c = 0; c < frame.info.num_components; ++c) {
        frame.info.comp_info[c].h_samp_factor = 1;
        frame.info.comp_info[c].v_samp_factor = 1;
    }
    jpeg_start_compress(&frame.info, TRUE);
    const std::size_t stride = std::size_t(pixels.width) * (grey ? 1 : 3);
    while (frame.info.next_scanline < frame.info.image_height) {
        JSAMPROW row = const_cast<std::uint8_t*>(pixels.rgb.data()) + std::size_t(frame.info.next_scanline) * stride;
        jpeg_write_scanlines(&frame.info, &row, 1);
    }
    jpeg_finish_compress(&frame.info);
    return true;
}

}  // namespace

bool Decode(const std::uint8_t* data, std::size_t size, Pixels& out, std::string* error)
{
    if (data == nullptr || size == 0) {
        SetError(error, "empty file");
        return false;
    }
    DecodeFrame frame;
    InstallErrors(frame.errors);
    frame.info.err = &frame.errors.base;
    bool ok = DecodeInto(frame, data, size, error);
    if (ok) {
        const std::size_t bytes = std::size_t(frame.info.output_width) * frame.info.output_height * 3;
        try {
            out.rgb.assign(frame.buffer, frame.buffer + bytes);
            out.width = frame.info.output_width;
            out.height = frame.info.output_height;
        } catch (...) {
            SetError(error, "out of memory");
            ok = false;
        }
    }
    std::free(frame.buffer);
    if (frame.created)
        jpeg_destroy_decompress(&frame.info);
    return ok;
}

bool Encode(const Pixels& pixels, bool grey, int quality, std::vector<std::uint8_t>& out, std::string* error)
{
    const std::size_t channels = grey ? 1 : 3;
    if (pixels.width == 0 || pixels.height == 0 || pixels.width > MaxSide || pixels.height > MaxSide ||
        pixels.rgb.size() != std::size_t(pixels.width) * pixels.height * channels || quality < 1 || quality > 100) {
        SetError(error, "bad pixels");
        return false;
    }
    EncodeFrame frame;
    InstallErrors(frame.errors);
    frame.info.err = &frame.errors.base;
    bool ok = EncodeInto(frame, pixels, grey, quality, error);
    if (frame.created)
        jpeg_destroy_compress(&frame.info);
    if (ok) {
        try {
            out.assign(frame.memory, frame.memory + frame.memorySize);
        } catch (...) {
            SetError(error, "out of memory");
            ok = false;
        }
    }
    std::free(frame.memory);
    return ok;
}

}  // namespace Jpeg
}  // namespace GX

// What DG's own files share and nobody else uses.
#pragma once
#include "platform/dg/DG.hpp"
#include "platform/dg/DGFileDialog.hpp"
#include "platform/dg/DGModal.hpp"
#include "platform/gs/UniString.hpp"
#include <string>

namespace DG {
namespace Internal {
void AddPalette(Palette* palette);
void RemovePalette(Palette* palette);
void CountRectangleReset();
// The window system's answer to a file dialog: false when it is cancelled.
bool AnswerFileDialog(const FileDialog& dialog, IO::Location* chosen);

// Reads a compiled resource record: little-endian numbers and texts of a
// 16-bit byte count followed by UTF-8 bytes. Every read fails rather than
// run past the record.
class ResourceReader {
public:
    ResourceReader(const unsigned char* data, UInt32 size) : data(data), size(size) {}
    bool U8(UInt8* v)
    {
        if (size - pos < 1)
            return false;
        *v = data[pos++];
        return true;
    }
    bool U16(UInt16* v)
    {
        if (size - pos < 2)
            return false;
        *v = static_cast<UInt16>(data[pos] | (data[pos + 1] << 8));
        pos += 2;
        return true;
    }
    bool I16(Int16* v)
    {
        UInt16 u = 0;
        if (!U16(&u))
            return false;
        *v = static_cast<Int16>(u);
        return true;
    }
    bool Rect(DG::DialogRect* r) { return I16(&r->x) && I16(&r->y) && I16(&r->width) && I16(&r->height); }
    bool Text(GS::UniString* text)
    {
        UInt16 length = 0;
        if (!U16(&length) || size - pos < length)
            return false;
        *text = GS::UniString(std::string(reinterpret_cast<const char*>(data + pos), length).c_str(), CC_UTF8);
        pos += length;
        return true;
    }
    bool AtEnd() const { return pos == size; }

private:
    const unsigned char* data;
    UInt32 size;
    UInt32 pos = 0;
};
}  // namespace Internal
}  // namespace DG

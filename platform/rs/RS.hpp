// Resources of a module (an add-on file): string lists and binary records.
//
// A module's resources are compiled into it as an image; the module opens it
// when it is attached and closes it when it is detached. Lookups through a
// closed or unknown module fail.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include "platform/gs/UniString.hpp"

struct RSStringEntry {
    GSResID listId;
    Int16 index;       // 1-based entry number
    const char* utf8;  // the text, UTF-8
};

// One string by list id and entry number, as the resource compiler names
// them in the header it writes.
struct RSStringId {
    GSResID listId;
    Int16 index;
};

struct RSBlobEntry {
    UInt32 type;  // four letters, big-endian ('MDID', 'DLGT', 'ICON', ...)
    GSResID id;
    const unsigned char* data;
    UInt32 size;
};

constexpr UInt32 RSImageMagic = 0x52534931;  // "RSI1"

struct RSImage {
    UInt32 magic;
    const RSStringEntry* strings;
    UInt32 stringCount;
    const RSBlobEntry* blobs;
    UInt32 blobCount;
};

using GSResModule = Int32;  // 0 is no module
constexpr GSResModule InvalidResModule = 0;

PLATFORM_API GSResModule RSOpenModule(const RSImage* image);
PLATFORM_API void RSCloseModule(GSResModule module);
PLATFORM_API Int32 RSOpenModuleCount();
// The open module whose image lies in the given file (the host reads an
// add-on's menus and identifier this way); InvalidResModule if none.
PLATFORM_API GSResModule RSModuleOfFile(const char* path);

// Reads entry `index` (1-based) of string list `listId`.
PLATFORM_API bool RSGetIndString(GS::UniString* out, GSResID listId, Int32 index, GSResModule module);
// The same as an 8-bit text in `code`, cut to fit bufSize with its terminator.
PLATFORM_API bool RSGetIndCString(char* buf, Int32 bufSize, GSResID listId, Int32 index, GSResModule module, GSCharCode code);
// A binary record; nullptr when missing.
PLATFORM_API const unsigned char* RSLoadResource(UInt32 type, GSResID id, GSResModule module, UInt32* size);

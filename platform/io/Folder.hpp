// IO::Folder: a folder of the file system and the enumeration of its entries.
#pragma once
#include "platform/io/Location.hpp"

namespace IO {

// The folder does not exist or cannot be read.
constexpr GSErrCode FolderNotFound = static_cast<GSErrCode>(0x81A10001);

class PLATFORM_API Folder {
public:
    // Whether a link to a folder counts as a folder (its target decides) or
    // as a file (the link itself).
    enum LinkProcessing : Int32 { FollowLinks = 0, DoNotFollowLinks = 1 };
    // Flags of Enumerate: without EnumerateFolders only files are delivered.
    enum EnumerationFlags : UInt32 { EnumerateFiles = 0, EnumerateFolders = 1 };

    // Called for each entry with the folder, the entry's name, whether it is
    // a folder, and the caller's data; false stops the enumeration.
    using EnumerationCallback = bool (*)(const Folder& folder, const Name& entryName, bool isFolder, void* userData);

    explicit Folder(const Location& location) : location(location) {}
    const Location& GetLocation() const { return location; }

    // Entries are delivered in name order, without "." and "..".
    GSErrCode Enumerate(EnumerationCallback callback, Int32 linkProcessing, UInt32 flags, void* userData) const;

private:
    Location location;
};

}  // namespace IO

// IO::File: a file of the file system, opened for writing through its
// output channel (WriteBin). Errors are the library's codes below; every
// call says whether it worked, nothing is buffered behind the caller's back
// (a write that returns NoError is in the file).
#pragma once
#include "platform/io/Location.hpp"
#include <functional>
#include <string>

namespace IO {

constexpr GSErrCode FileNotFound = static_cast<GSErrCode>(0x81A10002);  // the file, or its folder, does not exist
constexpr GSErrCode AccessDenied = static_cast<GSErrCode>(0x81A10003);  // no right to open or make it
constexpr GSErrCode FileError = static_cast<GSErrCode>(0x81A10004);     // any other failure to open, write or close
constexpr GSErrCode FileNotOpen = static_cast<GSErrCode>(0x81A10005);   // the file is not open for the operation

class PLATFORM_API File {
public:
    // What the constructor does when the file does not exist: fail (the
    // status tells), or make an empty file.
    enum OnNotFound : Int32 { Fail = 0, Create = 1 };
    // WriteMode writes from the start of the file. It does not cut the
    // file: an existing file keeps its length until it is written past or
    // cut with SetDataLength.
    enum OpenMode : Int32 { WriteMode = 2 };
    // What other users of the file may do while it is open. The file
    // system here knows no share modes; the value is only checked.
    enum ShareMode : Int32 { ShareNone = 0, ShareRead = 1, ShareReadWrite = 2 };

    File(const Location& location, OnNotFound onNotFound = Fail);
    ~File();  // closes the file if it is open
    File(const File&) = delete;
    File& operator=(const File&) = delete;

    // File objects come from the host's memory manager; when it has no
    // memory the allocation throws std::bad_alloc.
    static void* operator new(USize size);
    static void operator delete(void* block) noexcept;

    // NoError, or why the file cannot be used (it does not exist, it could
    // not be made).
    GSErrCode GetStatus() const { return status; }
    const Location& GetLocation() const { return location; }

    GSErrCode Open(OpenMode mode, ShareMode share = ShareNone);
    bool IsOpen() const { return descriptor >= 0; }
    // Writes the bytes at the current position and moves past them; the
    // number written goes to `written` when given.
    GSErrCode WriteBin(const char* source, USize count, USize* written = nullptr);
    // Sets the file's length: cut, or extended with zeros.
    GSErrCode SetDataLength(UInt64 length);
    GSErrCode Close();

private:
    Location location;
    GSErrCode status = NoError;
    int descriptor = -1;
};

// Told the path of every file opened for writing, so that the host can
// name the files a run wrote; none by default.
PLATFORM_API void SetFileOpenedForWritingHook(std::function<void(const std::string& path)> hook);

}  // namespace IO

#include "platform/io/File.hpp"
#include "platform/gs/Memory.hpp"
#include <cerrno>
#include <fcntl.h>
#include <new>
#include <sys/stat.h>
#include <unistd.h>

namespace IO {

namespace {
GSErrCode FromErrno(int error)
{
    switch (error) {
    case ENOENT:
    case ENOTDIR: return FileNotFound;
    case EACCES:
    case EPERM:
    case EROFS: return AccessDenied;
    default: return FileError;
    }
}
}  // namespace

File::File(const Location& location, OnNotFound onNotFound) : location(location)
{
    struct stat info;
    if (location.IsEmpty()) {
        status = FileNotFound;
    } else if (::stat(location.ToPath().c_str(), &info) != 0) {
        if (errno != ENOENT || onNotFound != Create) {
            status = FromErrno(errno);
        } else {
            int fd = ::open(location.ToPath().c_str(), O_WRONLY | O_CREAT | O_EXCL, 0666);
            if (fd < 0)
                status = FromErrno(errno);
            else if (::close(fd) != 0)
                status = FileError;
        }
    } else if (S_ISDIR(info.st_mode)) {
        status = AccessDenied;  // a folder is no file
    }
}

File::~File() { Close(); }

void* File::operator new(USize size)
{
    void* block = GS_calloc(1, size);
    if (block == nullptr)
        throw std::bad_alloc();
    return block;
}

void File::operator delete(void* block) noexcept { GS_free(block); }

namespace {
std::function<void(const std::string&)>& OpenedForWritingHook()
{
    static std::function<void(const std::string&)> hook;
    return hook;
}
}  // namespace

void SetFileOpenedForWritingHook(std::function<void(const std::string& path)> hook)
{
    OpenedForWritingHook() = std::move(hook);
}

GSErrCode File::Open(OpenMode mode, ShareMode share)
{
    if (status != NoError)
        return status;
    if (IsOpen())
        return FileError;
    if (mode != WriteMode || share < ShareNone || share > ShareReadWrite)
        return FileError;
    int fd = ::open(location.ToPath().c_str(), O_WRONLY);
    if (fd < 0)
        return FromErrno(errno);
    descriptor = fd;
    if (OpenedForWritingHook())
        OpenedForWritingHook()(location.ToPath());
    return NoError;
}

GSErrCode File::WriteBin(const char* source, USize count, USize* written)
{
    if (written != nullptr)
        *written = 0;
    if (!IsOpen())
        return FileNotOpen;
    USize done = 0;
    while (done < count) {
        ssize_t n = ::write(descriptor, source + done, count - done);
        if (n < 0) {
            if (errno == EINTR)
                continue;
            if (written != nullptr)
                *written = done;
            return FromErrno(errno);
        }
        done += static_cast<USize>(n);
    }
    if (written != nullptr)
        *written = done;
    return NoError;
}

GSErrCode File::SetDataLength(UInt64 length)
{
    if (!IsOpen())
        return FileNotOpen;
    return ::ftruncate(descriptor, static_cast<off_t>(length)) == 0 ? NoError : FromErrno(errno);
}

GSErrCode File::Close()
{
    if (!IsOpen())
        return NoError;
    int fd = descriptor;
    descriptor = -1;
    return ::close(fd) == 0 ? NoError : FileError;
}

}  // namespace IO

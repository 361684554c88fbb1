// IO::Name and IO::Location: file-system names and paths as the host's
// input-output library gives them.
#pragma once
#include "platform/gs/UniString.hpp"
#include <string>

namespace IO {

class PLATFORM_API Name {
public:
    Name() = default;
    explicit Name(const GS::UniString& text) : text(text) {}
    explicit Name(const char* utf8) : text(utf8, CC_UTF8) {}
    const GS::UniString& ToString() const { return text; }
    bool IsEmpty() const { return text.IsEmpty(); }
    // The text after the last '.', empty when there is none.
    GS::UniString GetExtension() const;
    bool operator==(const Name& o) const { return text == o.text; }

private:
    GS::UniString text;
};

// A location is an absolute path. Equality compares the normalised paths
// ("a//b/./c" equals "a/b/c"); it does not resolve links, so a copy of a
// file in another folder is another location.
class PLATFORM_API Location {
public:
    Location() = default;
    explicit Location(const std::string& path);
    explicit Location(const GS::UniString& path) : Location(path.ToUtf8()) {}

    bool IsEmpty() const { return path.empty(); }
    const std::string& ToPath() const { return path; }
    // The path as the host's string; 0 (this library's calls do not fail).
    GSErrCode ToPath(GS::UniString* out) const;
    GS::UniString ToUniString() const { return GS::UniString(path.c_str(), CC_UTF8); }

    // Drops the last name ("/a/b/c.so" becomes "/a/b"); false if none is left.
    bool DeleteLastLocalName();
    Location& AppendToLocal(const Name& name);
    Name GetLastLocalName() const;

    bool operator==(const Location& o) const { return path == o.path; }
    bool operator!=(const Location& o) const { return path != o.path; }

private:
    std::string path;
};

}  // namespace IO

#include "platform/io/Location.hpp"
#include <vector>

namespace IO {

namespace {
std::string Normalise(const std::string& raw)
{
    std::vector<std::string> parts;
    std::string part;
    for (size_t i = 0; i <= raw.size(); ++i) {
        if (i == raw.size() || raw[i] == '/') {
            if (part == "..") {
                if (!parts.empty())
                    parts.pop_back();
            } else if (!part.empty() && part != ".") {
                parts.push_back(part);
            }
            part.clear();
        } else {
            part.push_back(raw[i]);
        }
    }
    std::string out = raw.empty() || raw[0] != '/' ? "" : "/";
    for (size_t i = 0; i < parts.size(); ++i)
        out += (i == 0 ? "" : "/") + parts[i];
    return out.empty() && !raw.empty() ? "/" : out;
}
}  // namespace

GS::UniString Name::GetExtension() const
{
    const std::u16string& units = text.Units();
    size_t dot = units.find_last_of(u'.');
    return dot == std::u16string::npos ? GS::UniString() : GS::UniString(units.substr(dot + 1));
}

Location::Location(const std::string& p) : path(Normalise(p)) {}

GSErrCode Location::ToPath(GS::UniString* out) const
{
    if (out != nullptr)
        *out = ToUniString();
    return NoError;
}

bool Location::DeleteLastLocalName()
{
    size_t slash = path.find_last_of('/');
    if (slash == std::string::npos || path == "/")
        return false;
    path = slash == 0 ? "/" : path.substr(0, slash);
    return true;
}

Location& Location::AppendToLocal(const Name& name)
{
    path = Normalise(path + "/" + name.ToString().ToUtf8());
    return *this;
}

Name Location::GetLastLocalName() const
{
    size_t slash = path.find_last_of('/');
    return Name(GS::UniString((slash == std::string::npos ? path : path.substr(slash + 1)).c_str(), CC_UTF8));
}

}  // namespace IO

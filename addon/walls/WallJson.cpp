#include "addon/walls/WallJson.hpp"
#include <algorithm>
#include <cctype>
#include <cmath>
#include <exception>

namespace WallJson {
namespace {

// Deeper than either format nests (the reply nests six levels); refused
// before the parser sees it, since the parser recurses once per level.
constexpr int MaxNesting = 32;

bool TooDeep(const std::string& text)
{
    int depth = 0;
    bool inString = false;
    for (size_t i = 0; i < text.size(); ++i) {
        const char c = text[i];
        if (inString) {
            if (c == '\\')
                ++i;
            else if (c == '"')
                inString = false;
        } else if (c == '"') {
            inString = true;
        } else if (c == '{' || c == '[') {
            if (++depth > MaxNesting)
                return true;
        } else if (c == '}' || c == ']') {
            --depth;
        }
    }
    return false;
}

const picojson::value* Member(const picojson::value& v, const char* key)
{
    if (!v.is<picojson::object>())
        return nullptr;
    const picojson::object& o = v.get<picojson::object>();
    auto it = o.find(key);
    return it == o.end() ? nullptr : &it->second;
}

const picojson::array* ArrayMember(const picojson::value& v, const char* key)
{
    const picojson::value* m = Member(v, key);
    return m != nullptr && m->is<picojson::array>() ? &m->get<picojson::array>() : nullptr;
}

bool NumberMember(const picojson::value& v, const char* key, double& out)
{
    const picojson::value* m = Member(v, key);
    if (m == nullptr || !m->is<double>())
        return false;
    out = m->get<double>();
    return true;
}

std::optional<ReplyPolygon> ReadPolygon(const picojson::value& v)
{
    ReplyPolygon polygon;
    const picojson::array* loops = ArrayMember(v, "loops");
    if (loops == nullptr || !NumberMember(v, "outerIndex", polygon.outerIndex))
        return std::nullopt;
    for (const picojson::value& loopValue : *loops) {
        if (!loopValue.is<picojson::array>())
            return std::nullopt;
        ReplyLoop loop;
        for (const picojson::value& p : loopValue.get<picojson::array>()) {
            ReplyPoint point;
            if (!NumberMember(p, "x", point.x) || !NumberMember(p, "z", point.z))
                return std::nullopt;
            loop.push_back(point);
        }
        polygon.loops.push_back(std::move(loop));
    }
    return polygon;
}

}  // namespace

bool ParseJsonText(const std::string& text, picojson::value& out)
{
    if (TooDeep(text))
        return false;
    try {
        picojson::value v;
        std::string err;
        auto last = picojson::parse(v, text.begin(), text.end(), &err);
        if (!err.empty())
            return false;
        if (std::any_of(last, text.end(), [](char c) { return !std::isspace(static_cast<unsigned char>(c)); }))
            return false;
        out = std::move(v);
        return true;
    } catch (const std::exception&) {
        // A number beyond the double range.
        return false;
    }
}

std::optional<std::vector<ReplyPolygon>> ReadWallFaceReply(const std::string& text)
{
    picojson::value root;
    if (!ParseJsonText(text, root))
        return std::nullopt;
    const picojson::array* polygons = ArrayMember(root, "polygons");
    if (polygons == nullptr)
        return std::nullopt;
    std::vector<ReplyPolygon> result;
    for (const picojson::value& p : *polygons) {
        std::optional<ReplyPolygon> polygon = ReadPolygon(p);
        if (!polygon)
            return std::nullopt;
        result.push_back(std::move(*polygon));
    }
    return result;
}

std::optional<WallDescriptionValues> ReadWallDescriptionValues(const std::string& text)
{
    picojson::value root;
    if (!ParseJsonText(text, root))
        return std::nullopt;
    WallDescriptionValues values;
    const picojson::array* composites = ArrayMember(root, "composites");
    const picojson::array* polygon2d = ArrayMember(root, "polygon2d");
    if (composites == nullptr || polygon2d == nullptr || !NumberMember(root, "angle", values.angle))
        return std::nullopt;
    for (const picojson::value& c : *composites) {
        WallSkin skin;
        if (!NumberMember(c, "thickness", skin.thickness) || !NumberMember(c, "core", skin.core))
            return std::nullopt;
        values.composites.push_back(skin);
    }
    for (const picojson::value& n : *polygon2d) {
        if (!n.is<double>())
            return std::nullopt;
        values.polygon2d.push_back(n.get<double>());
    }
    return values;
}

namespace {

// Every arc radius of a flattened plan polygon, in order.
template <typename Visit>
void ForEachArcRadius(const std::vector<double>& p, Visit visit)
{
    for (size_t i = 0; i < p.size();) {
        const double kind = std::trunc(p[i]);
        if (kind == 0) {
            i += 3;
        } else if (kind == 1) {
            if (i + 5 < p.size())
                visit(p[i + 5]);
            i += 7;
        } else {
            i += 1;
        }
    }
}

}  // namespace

double LargestArcRadius(const std::vector<double>& p, double start)
{
    double r = start;
    ForEachArcRadius(p, [&](double radius) { r = std::max(r, radius); });
    return r;
}

double SmallestArcRadius(const std::vector<double>& p, double start)
{
    double r = start;
    ForEachArcRadius(p, [&](double radius) { r = std::min(r, radius); });
    return r;
}

std::optional<std::string> MarkRequestInternal(const std::string& description)
{
    picojson::value root;
    if (!ParseJsonText(description, root) || !root.is<picojson::object>())
        return std::nullopt;
    root.get<picojson::object>()["internal"] = picojson::value(false);
    return root.serialize();
}

std::optional<double> ReadSlantAlpha(const std::string& request)
{
    picojson::value root;
    double slant = 0;
    if (!ParseJsonText(request, root) || !root.is<picojson::object>() || !NumberMember(root, "slantalpha", slant))
        return std::nullopt;
    return slant;
}

}  // namespace WallJson

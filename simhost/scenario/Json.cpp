#include "simhost/scenario/Json.hpp"
#include <cmath>
#include <cstdlib>
#include <fstream>
#include <sstream>
#include <sys/stat.h>

namespace SimHost {

namespace {

// Far deeper than any scenario nests (a dialog's action nests five
// levels); the parser recurses once per level, so a deeper text is refused
// at the level that goes too deep.
constexpr int MaxNesting = 32;

// What the reader refused, and where: the first refusal counts.
struct Problem {
    int line = 0;
    std::string reason;
};

// A picojson parse context that records the line of each value by path.
// What it refuses (a number a double cannot hold, too deep a nesting) it
// names in `problem`. The parser goes on after a refused number (it does
// not look at what set_number answers), so the value stays null and the
// document is refused afterwards.
template <typename Iter> class LineContext {
public:
    LineContext(picojson::value* out, std::map<std::string, int>* lines, picojson::input<Iter>* in, std::string path,
                Problem* problem, int depth = 0)
        : out(out), lines(lines), in(in), path(std::move(path)), problem(problem), depth(depth)
    {
    }
    bool set_null() { Mark(); *out = picojson::value(); return true; }
    bool set_bool(bool b) { Mark(); *out = picojson::value(b); return true; }
    bool set_number(double f)
    {
        Mark();
        if (!std::isfinite(f))
            return Refuse("a number beyond the range of a double (about 1.8e308)");
        *out = picojson::value(f);
        return true;
    }
    bool parse_string(picojson::input<Iter>& input)
    {
        Mark();
        *out = picojson::value(picojson::string_type, false);
        return picojson::_parse_string(out->get<std::string>(), input);
    }
    bool parse_array_start()
    {
        Mark();
        if (depth >= MaxNesting)
            return Refuse("lists and objects nested deeper than " + std::to_string(MaxNesting) + " levels");
        *out = picojson::value(picojson::array_type, false);
        return true;
    }
    bool parse_array_item(picojson::input<Iter>& input, size_t index)
    {
        picojson::array& a = out->get<picojson::array>();
        a.push_back(picojson::value());
        LineContext child(&a.back(), lines, &input, path + "[" + std::to_string(index) + "]", problem, depth + 1);
        return picojson::_parse(child, input);
    }
    bool parse_array_stop(size_t) { return true; }
    bool parse_object_start()
    {
        Mark();
        if (depth >= MaxNesting)
            return Refuse("lists and objects nested deeper than " + std::to_string(MaxNesting) + " levels");
        *out = picojson::value(picojson::object_type, false);
        return true;
    }
    bool parse_object_item(picojson::input<Iter>& input, const std::string& key)
    {
        picojson::object& o = out->get<picojson::object>();
        LineContext child(&o[key], lines, &input, path.empty() ? key : path + "." + key, problem, depth + 1);
        return picojson::_parse(child, input);
    }
    bool parse_object_stop() { return true; }

private:
    void Mark() { (*lines)[path] = in->line(); }
    bool Refuse(const std::string& reason)
    {
        if (problem->reason.empty())
            *problem = {in->line(), reason};
        return false;
    }
    picojson::value* out;
    std::map<std::string, int>* lines;
    picojson::input<Iter>* in;
    std::string path;
    Problem* problem;
    int depth;
};

}  // namespace

JsonDocument JsonDocument::Parse(const std::string& file, const std::string& text)
{
    JsonDocument doc;
    doc.file = file;
    using Iter = std::string::const_iterator;
    picojson::input<Iter> in(text.begin(), text.end());
    Problem problem;
    LineContext<Iter> ctx(&doc.root, &doc.lines, &in, "", &problem);
    const bool parsed = picojson::_parse(ctx, in);
    if (!problem.reason.empty())
        throw ScenarioError(file, problem.line, problem.reason);
    if (!parsed) {
        std::string near;
        for (int i = 0; i < 20; ++i) {
            int c = in.getc();
            if (c == -1 || c == '\n')
                break;
            near.push_back(static_cast<char>(c));
        }
        throw ScenarioError(file, in.line(), "JSON syntax error near: " + near);
    }
    in.skip_ws();
    if (in.getc() != -1)
        throw ScenarioError(file, in.line(), "text after the end of the JSON document");
    return doc;
}

JsonDocument JsonDocument::Load(const std::string& path)
{
    struct stat info {};
    if (::stat(path.c_str(), &info) != 0)
        throw ScenarioError(path, 0, "no such scenario file");
    if (S_ISDIR(info.st_mode))
        throw ScenarioError(path, 0, "is a folder, not a scenario file");
    std::ifstream f(path, std::ios::binary);
    std::stringstream ss;
    if (!f || !(ss << f.rdbuf()) || f.bad())
        throw ScenarioError(path, 0, "cannot read the scenario file");
    return Parse(path, ss.str());
}

int JsonDocument::LineOf(const std::string& path) const
{
    // The nearest recorded ancestor gives the line when the value itself is absent.
    std::string p = path;
    while (true) {
        auto it = lines.find(p);
        if (it != lines.end())
            return it->second;
        size_t cut = p.find_last_of(".[");
        if (cut == std::string::npos)
            return p.empty() ? 1 : LineOf("");
        p = p.substr(0, cut);
    }
}

void JsonDocument::Fail(const std::string& path, const std::string& reason) const
{
    throw ScenarioError(file, LineOf(path), reason);
}

JsonObject::JsonObject(const JsonDocument& doc, const picojson::value& value, std::string path)
    : doc(doc), object(nullptr), path(std::move(path))
{
    if (!value.is<picojson::object>())
        doc.Fail(this->path, (this->path.empty() ? std::string("the scenario") : "'" + this->path + "'") +
                                 " must be a JSON object");
    object = &value.get<picojson::object>();
}

const picojson::value* JsonObject::Get(const std::string& key) const
{
    auto it = object->find(key);
    return it == object->end() ? nullptr : &it->second;
}

bool JsonObject::Has(const std::string& key) const { return Get(key) != nullptr; }

void JsonObject::Fail(const std::string& key, const std::string& reason) const { doc.Fail(PathOf(key), reason); }

std::string JsonObject::String(const std::string& key, const std::string& fallback) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return fallback;
    if (!v->is<std::string>())
        Fail(key, "'" + PathOf(key) + "' must be a text");
    return v->get<std::string>();
}

double JsonObject::Number(const std::string& key, double fallback) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return fallback;
    if (!v->is<double>())
        Fail(key, "'" + PathOf(key) + "' must be a number");
    return v->get<double>();
}

namespace {

// Whether a double is a whole number that an Int64 holds (2^63 itself
// does not fit, -2^63 does).
bool IsInt64(double d) { return d >= -9223372036854775808.0 && d < 9223372036854775808.0 && std::floor(d) == d; }

}  // namespace

Int64 JsonObject::Integer(const std::string& key, Int64 fallback) const
{
    if (!Has(key))
        return fallback;
    double d = Number(key);
    if (!IsInt64(d))
        Fail(key, "'" + PathOf(key) + "' must be a whole number");
    return static_cast<Int64>(d);
}

Int64 JsonObject::IntegerIn(const std::string& key, Int64 fallback, Int64 low, Int64 high) const
{
    if (!Has(key))
        return fallback;
    const double d = Number(key);
    if (!IsInt64(d) || static_cast<Int64>(d) < low || static_cast<Int64>(d) > high)
        Fail(key, "'" + PathOf(key) + "' must be a whole number from " + std::to_string(low) + " to " +
                      std::to_string(high));
    return static_cast<Int64>(d);
}

Int16 JsonObject::Short(const std::string& key, Int16 fallback) const
{
    const Int64 n = Integer(key, fallback);
    if (n < -32768 || n > 32767)
        Fail(key, "'" + PathOf(key) + "' must be a whole number from -32768 to 32767");
    return static_cast<Int16>(n);
}

UInt32 JsonObject::Code(const std::string& key, UInt32 fallback) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return fallback;
    // A code is 32 bits, written as the unsigned number or as the signed
    // one the host's error codes are.
    if (v->is<double>() && IsInt64(v->get<double>()) && v->get<double>() >= -2147483648.0 &&
        v->get<double>() <= 4294967295.0)
        return static_cast<UInt32>(static_cast<Int64>(v->get<double>()));
    if (v->is<std::string>()) {
        const std::string& s = v->get<std::string>();
        char* end = nullptr;
        unsigned long long n = std::strtoull(s.c_str(), &end, 0);
        if (!s.empty() && end != nullptr && *end == '\0' && n <= 0xFFFFFFFFull)
            return static_cast<UInt32>(n);
    }
    Fail(key, "'" + PathOf(key) + "' must be a code of 32 bits: a whole number or a text such as \"0x81060001\"");
}

bool JsonObject::Bool(const std::string& key, bool fallback) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return fallback;
    if (!v->is<bool>())
        Fail(key, "'" + PathOf(key) + "' must be true or false");
    return v->get<bool>();
}

const picojson::array& JsonObject::Array(const std::string& key) const
{
    static const picojson::array empty;
    const picojson::value* v = Get(key);
    if (v == nullptr)
        return empty;
    if (!v->is<picojson::array>())
        Fail(key, "'" + PathOf(key) + "' must be a list");
    return v->get<picojson::array>();
}

JsonObject JsonObject::Object(const std::string& key) const
{
    const picojson::value* v = Get(key);
    if (v == nullptr)
        Fail(key, "'" + PathOf(key) + "' is missing");
    return JsonObject(doc, *v, PathOf(key));
}

JsonObject JsonObject::Item(const std::string& key, USize index) const
{
    return JsonObject(doc, Array(key).at(index), PathOf(key) + "[" + std::to_string(index) + "]");
}

std::string JsonObject::ItemString(const std::string& key, USize index) const
{
    const picojson::value& v = Array(key).at(index);
    if (!v.is<std::string>())
        doc.Fail(PathOf(key) + "[" + std::to_string(index) + "]", "'" + PathOf(key) + "' must list texts");
    return v.get<std::string>();
}

void JsonObject::Only(std::initializer_list<const char*> allowed) const
{
    for (const auto& kv : *object) {
        bool ok = false;
        for (const char* a : allowed)
            ok = ok || kv.first == a;
        if (!ok)
            Fail(kv.first, "unknown key '" + kv.first + "'" + (path.empty() ? "" : " in '" + path + "'"));
    }
}

}  // namespace SimHost

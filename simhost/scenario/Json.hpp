// JSON for scenario files: documents that remember the line of every
// value, and typed access to their objects that refuses what does not fit
// with the file, the line and the reason.
#pragma once
#include "platform/gs/GSTypes.hpp"
#include <initializer_list>
#include <map>
#include <picojson.h>
#include <stdexcept>
#include <string>

namespace SimHost {

// A scenario the runner refuses: its file, the line and the reason.
class ScenarioError : public std::runtime_error {
public:
    ScenarioError(const std::string& file, int line, const std::string& reason)
        : std::runtime_error(file + ":" + std::to_string(line) + ": " + reason), file(file), line(line), reason(reason)
    {
    }
    std::string file;
    int line;
    std::string reason;
};

// A parsed JSON document that remembers the line of every value, by path
// ("steps[2].do"), so that a wrong value can be refused with its line.
class JsonDocument {
public:
    // Throws ScenarioError for unreadable files and syntax errors.
    static JsonDocument Parse(const std::string& file, const std::string& text);
    static JsonDocument Load(const std::string& path);

    const picojson::value& Root() const { return root; }
    int LineOf(const std::string& path) const;
    const std::string& File() const { return file; }
    [[noreturn]] void Fail(const std::string& path, const std::string& reason) const;

private:
    std::string file;
    picojson::value root;
    std::map<std::string, int> lines;
};

// Typed access to one JSON object of a document, with refusal of unknown
// keys and of values of the wrong kind.
class JsonObject {
public:
    JsonObject(const JsonDocument& doc, const picojson::value& value, std::string path);

    bool Has(const std::string& key) const;
    std::string String(const std::string& key, const std::string& fallback = "") const;
    double Number(const std::string& key, double fallback = 0.0) const;
    // A whole number an Int64 holds.
    Int64 Integer(const std::string& key, Int64 fallback = 0) const;
    // A whole number from `low` to `high`: what a field of a narrower type
    // or of a smaller range reads, so that nothing is cut or wrapped.
    Int64 IntegerIn(const std::string& key, Int64 fallback, Int64 low, Int64 high) const;
    // A whole number that fits 16 bits (an item, a button, a size); any other
    // is refused rather than cut.
    Int16 Short(const std::string& key, Int16 fallback = 0) const;
    // Accepts a number or a text such as "0x81060001".
    UInt32 Code(const std::string& key, UInt32 fallback = 0) const;
    bool Bool(const std::string& key, bool fallback = false) const;
    const picojson::array& Array(const std::string& key) const;  // empty if absent
    JsonObject Object(const std::string& key) const;
    JsonObject Item(const std::string& key, USize index) const;  // object inside an array
    std::string ItemString(const std::string& key, USize index) const;
    std::string PathOf(const std::string& key) const { return path.empty() ? key : path + "." + key; }
    const std::string& Path() const { return path; }
    const picojson::object& Raw() const { return *object; }
    const JsonDocument& Document() const { return doc; }
    // Refuses any key not in `allowed`.
    void Only(std::initializer_list<const char*> allowed) const;
    [[noreturn]] void Fail(const std::string& key, const std::string& reason) const;

private:
    const picojson::value* Get(const std::string& key) const;
    const JsonDocument& doc;
    const picojson::object* object;
    std::string path;
};

}  // namespace SimHost

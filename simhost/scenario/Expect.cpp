// The expect step: `{"expect": {...}}` compares what the host and its model
// hold at that point with what the scenario says. The expectation's first
// key names the kind of check; each kind is one parser below that reads its
// own keys and gives the check to run. A check answers the differences it
// found, none when the expectation holds. A new kind of check (the lines a
// rubber line drew, a dialog's items) is one more row in CheckKinds().
#include "simhost/scenario/HostQueries.hpp"
#include "simhost/scenario/Steps.hpp"
#include <algorithm>
#include <cmath>
#include <cstdio>
#include <fstream>
#include <sstream>
#include <optional>

namespace SimHost {

namespace {

using Differences = std::vector<std::string>;
using Check = std::function<Differences(const Host&, RunContext&)>;
using CheckParser = Check (*)(const JsonObject& expect);

// ------------------------------------------------------------ texts of values

std::string Quoted(const std::string& text)
{
    std::string out = "\"";
    for (char c : text) {
        if (c == '\n')
            out += "\\n";
        else if (c == '\r')
            out += "\\r";
        else if (c == '\t')
            out += "\\t";
        else if (c == '"' || c == '\\')
            out += std::string("\\") + c;
        else
            out += c;
    }
    return out + "\"";
}

std::string NumberText(double value)
{
    char buf[32];
    std::snprintf(buf, sizeof buf, "%.10g", value);
    return buf;
}

std::string ListText(const std::vector<std::string>& items)
{
    std::string out = "[";
    for (USize i = 0; i < items.size(); ++i)
        out += (i == 0 ? "" : ", ") + items[i];
    return out + "]";
}

std::string Utf8(const std::u16string& text) { return GS::EncodeText(text, CC_UTF8); }

std::string KindText(const GdlParam& v)
{
    switch (v.kind) {
    case GdlParam::Kind::Number: return "a number";
    case GdlParam::Kind::Text: return "a text";
    case GdlParam::Kind::Numbers: return std::to_string(v.dim1) + "x" + std::to_string(v.dim2) + " numbers";
    case GdlParam::Kind::Texts: return std::to_string(v.dim1) + "x" + std::to_string(v.dim2) + " texts";
    }
    return "";
}

std::string ScalarText(const GdlParam& v)
{
    return v.kind == GdlParam::Kind::Number ? NumberText(v.number) : Quoted(Utf8(v.text));
}

// One row of an array parameter, as a list.
std::string RowText(const GdlParam& v, Int32 row)
{
    std::vector<std::string> cells;
    for (Int32 col = 0; col < v.dim2; ++col) {
        USize i = static_cast<USize>(row) * static_cast<USize>(v.dim2) + static_cast<USize>(col);
        cells.push_back(v.kind == GdlParam::Kind::Numbers ? NumberText(v.numbers[i]) : Quoted(Utf8(v.texts[i])));
    }
    return ListText(cells);
}

bool Near(double a, double b, double tolerance) { return std::fabs(a - b) <= tolerance; }

// What differs between the expected and the found value: scalars as they
// are, arrays row by row (at most a few rows named).
Differences Compare(const std::string& what, const GdlParam& expected, const GdlParam& found, double tolerance)
{
    if (expected.kind != found.kind ||
        ((expected.kind == GdlParam::Kind::Numbers || expected.kind == GdlParam::Kind::Texts) &&
         (expected.dim1 != found.dim1 || expected.dim2 != found.dim2)))
        return {what + ": expected " + KindText(expected) + ", found " + KindText(found) +
                (found.kind == GdlParam::Kind::Number || found.kind == GdlParam::Kind::Text ? " " + ScalarText(found) : "")};
    switch (expected.kind) {
    case GdlParam::Kind::Number:
        if (Near(expected.number, found.number, tolerance))
            return {};
        return {what + ": expected " + NumberText(expected.number) + ", found " + NumberText(found.number) +
                " (tolerance " + NumberText(tolerance) + ")"};
    case GdlParam::Kind::Text:
        if (expected.text == found.text)
            return {};
        return {what + ": expected " + Quoted(Utf8(expected.text)) + ", found " + Quoted(Utf8(found.text))};
    case GdlParam::Kind::Numbers:
    case GdlParam::Kind::Texts:
        break;
    }
    // A parameter whose values do not fill its dimensions is the host's
    // own inconsistency; name it rather than read past the values.
    USize cells = static_cast<USize>(found.dim1) * static_cast<USize>(found.dim2);
    USize held = found.kind == GdlParam::Kind::Numbers ? found.numbers.size() : found.texts.size();
    if (held != cells)
        return {what + ": holds " + std::to_string(held) + " values for " + KindText(found)};
    const int shown = 5;
    Differences rows;
    int differing = 0;
    for (Int32 row = 0; row < expected.dim1; ++row) {
        bool same = true;
        for (Int32 col = 0; col < expected.dim2 && same; ++col) {
            USize i = static_cast<USize>(row) * static_cast<USize>(expected.dim2) + static_cast<USize>(col);
            same = expected.kind == GdlParam::Kind::Numbers ? Near(expected.numbers[i], found.numbers[i], tolerance)
                                                             : expected.texts[i] == found.texts[i];
        }
        if (same)
            continue;
        if (++differing <= shown)
            rows.push_back(what + " row " + std::to_string(row + 1) + ": expected " + RowText(expected, row) +
                           ", found " + RowText(found, row));
    }
    if (differing > shown)
        rows.push_back(what + ": " + std::to_string(differing - shown) + " more rows differ");
    if (!rows.empty() && expected.kind == GdlParam::Kind::Numbers)
        rows.back() += " (tolerance " + NumberText(tolerance) + ")";
    return rows;
}

// An expected value: a number, a text, a text by host, or an array; true
// and false where `allowBool`.
GdlParam ReadExpectedValue(const JsonObject& expect, const std::string& key, bool allowBool)
{
    auto it = expect.Raw().find(key);
    if (it == expect.Raw().end())
        expect.Fail(key, "'" + expect.PathOf(key) + "' is missing: the value expected");
    const picojson::value& v = it->second;
    if (v.is<picojson::object>() && (v.contains("24") || v.contains("25"))) {
        GdlParam p;
        p.kind = GdlParam::Kind::Text;
        p.text = GS::DecodeText(ReadHostText(expect, key), CC_UTF8);
        return p;
    }
    return ReadParamValue(expect, key, allowBool);
}

double ReadTolerance(const JsonObject& expect)
{
    double tolerance = expect.Number("tolerance", 1e-6);
    if (!(tolerance >= 0.0))
        expect.Fail("tolerance", "'" + expect.PathOf("tolerance") + "' must not be negative");
    return tolerance;
}

// Counts by name ("GetElement": 2), checked against the names that can occur.
std::map<std::string, Int64> ReadCounts(const JsonObject& expect, const std::string& key,
                                        const std::function<std::string(const JsonObject&, const std::string&)>& nameOf)
{
    JsonObject counts = expect.Object(key);
    std::map<std::string, Int64> out;
    for (const auto& kv : counts.Raw()) {
        Int64 n = counts.Integer(kv.first);
        if (n < 0)
            counts.Fail(kv.first, "'" + counts.PathOf(kv.first) + "' must not be negative");
        out[nameOf(counts, kv.first)] += n;
    }
    return out;
}

template <typename Text>
Differences CompareCounts(const std::string& what, const std::map<std::string, Int64>& expected,
                          const std::vector<Text>& log, USize from)
{
    Differences out;
    for (const auto& kv : expected) {
        Int64 found = 0;
        for (USize i = from; i < log.size(); ++i)
            found += log[i] == kv.first ? 1 : 0;
        if (found != kv.second)
            out.push_back(what + " " + kv.first + ": expected " + std::to_string(kv.second) + ", made " +
                          std::to_string(found));
    }
    return out;
}

// ------------------------------------------------------------ alerts

// "alerts": the texts of the alerts shown since the previous alerts
// expectation, in order; [] for none.
Check ParseAlerts(const JsonObject& expect)
{
    expect.Only({"alerts"});
    std::vector<std::string> texts;
    const picojson::array& list = expect.Array("alerts");
    for (USize i = 0; i < list.size(); ++i)
        texts.push_back(ReadHostText(expect, expect.PathOf("alerts") + "[" + std::to_string(i) + "]", list[i]));
    return [texts](const Host& host, RunContext& ctx) -> Differences {
        const std::vector<std::string>& alerts = Queries::Alerts(host);
        std::vector<std::string> shown(alerts.begin() + static_cast<std::ptrdiff_t>(std::min(ctx.seen.alerts, alerts.size())),
                                       alerts.end());
        ctx.seen.alerts = alerts.size();
        if (shown == texts)
            return {};
        std::vector<std::string> e, s;
        for (const auto& t : texts)
            e.push_back(Quoted(t));
        for (const auto& t : shown)
            s.push_back(Quoted(t));
        return {"alerts: expected " + ListText(e) + ", shown " + ListText(s)};
    };
}

// "alert": the add-on's alerts from its resources shown since the previous
// alert expectation end with this one (its resource id; 0: none was shown),
// and each key given holds for it: "title", "text", "detail", "result" (the
// button the user pressed), "count" (how many were shown since then).
Check ParseResourceAlert(const JsonObject& expect)
{
    expect.Only({"alert", "title", "text", "detail", "result", "count"});
    const Int64 id = expect.Integer("alert");
    const bool hasTitle = expect.Has("title"), hasText = expect.Has("text"), hasDetail = expect.Has("detail");
    const std::string title = hasTitle ? ReadHostText(expect, "title") : std::string();
    const std::string text = hasText ? ReadHostText(expect, "text") : std::string();
    const std::string detail = hasDetail ? ReadHostText(expect, "detail") : std::string();
    const bool hasResult = expect.Has("result"), hasCount = expect.Has("count");
    const Int64 result = expect.Integer("result", 0), count = expect.Integer("count", 0);
    if (id == 0 && (hasTitle || hasText || hasDetail || hasResult || hasCount))
        expect.Fail("alert", "\"alert\": 0 (none shown) takes no other keys");
    return [=](const Host& host, RunContext& ctx) -> Differences {
        const auto& all = host.user.alertsShown;
        const USize from = std::min(ctx.seen.resourceAlerts, static_cast<USize>(all.size()));
        const Int64 shown = static_cast<Int64>(all.size() - from);
        ctx.seen.resourceAlerts = all.size();
        if (id == 0) {
            if (shown == 0)
                return {};
            return {"alert: expected none, shown " + std::to_string(shown) + ", the last " +
                    std::to_string(all.back().resourceId)};
        }
        if (shown == 0)
            return {"alert: expected alert " + std::to_string(id) + ", none was shown"};
        const SimHost::ShownAlert& last = all.back();
        if (last.resourceId != id)
            return {"alert: expected alert " + std::to_string(id) + ", the last shown was " +
                    std::to_string(last.resourceId)};
        Differences differences;
        if (hasCount && shown != count)
            differences.push_back("alert: expected " + std::to_string(count) + " shown, shown " + std::to_string(shown));
        if (hasResult && last.result != result)
            differences.push_back("alert: expected button " + std::to_string(result) + ", the user pressed " +
                                  std::to_string(last.result));
        if (hasTitle && last.title != title)
            differences.push_back("alert: expected title " + Quoted(title) + ", shown " + Quoted(last.title));
        if (hasText && last.text != text)
            differences.push_back("alert: expected text " + Quoted(text) + ", shown " + Quoted(last.text));
        if (hasDetail && last.detail != detail)
            differences.push_back("alert: expected detail " + Quoted(detail) + ", shown " + Quoted(last.detail));
        return differences;
    };
}

// ------------------------------------------------------------ commands

struct ExpectedCommand {
    std::string name;
    bool hasArgument = false;
    Int64 argument = 0;
};

ExpectedCommand ReadCommand(const JsonObject& o)
{
    ExpectedCommand c;
    c.name = o.String("command");
    if (c.name.empty())
        o.Fail("command", "'" + o.PathOf("command") + "' must name a command");
    c.hasArgument = o.Has("argument");
    c.argument = o.Integer("argument");
    return c;
}

Check CommandCheck(std::vector<ExpectedCommand> expected)
{
    return [expected](const Host& host, RunContext& ctx) -> Differences {
        std::vector<Queries::CommandRun> all = Queries::CommandsRun(host);
        std::vector<Queries::CommandRun> ran(all.begin() + static_cast<std::ptrdiff_t>(std::min(ctx.seen.commands, all.size())),
                                             all.end());
        ctx.seen.commands = all.size();
        bool same = ran.size() == expected.size();
        for (USize i = 0; same && i < ran.size(); ++i)
            same = ran[i].name == expected[i].name &&
                   (!expected[i].hasArgument || (ran[i].hasArgument && ran[i].argument == expected[i].argument));
        if (same)
            return {};
        std::vector<std::string> e, r;
        for (const auto& c : expected)
            e.push_back(c.name + (c.hasArgument ? " " + std::to_string(c.argument) : ""));
        for (const auto& c : ran)
            r.push_back(Queries::CommandText(c));
        return {"commands: expected " + (e.empty() ? std::string("none") : ListText(e)) + ", ran " +
                (r.empty() ? std::string("none") : ListText(r))};
    };
}

// "command": the one command run since the previous command expectation,
// with its "argument" when given.
Check ParseCommand(const JsonObject& expect)
{
    expect.Only({"command", "argument"});
    return CommandCheck({ReadCommand(expect)});
}

// "commands": every command run since the previous command expectation, in
// order; [] when none ran.
Check ParseCommands(const JsonObject& expect)
{
    expect.Only({"commands"});
    std::vector<ExpectedCommand> expected;
    for (USize i = 0; i < expect.Array("commands").size(); ++i) {
        JsonObject item = expect.Item("commands", i);
        item.Only({"command", "argument"});
        expected.push_back(ReadCommand(item));
    }
    return CommandCheck(expected);
}

// ------------------------------------------------------------ host calls

// "calls": {"GetElement": 2, "Sleep": 0}: how often each was called since
// the previous calls expectation.
Check ParseCalls(const JsonObject& expect)
{
    expect.Only({"calls"});
    auto expected = ReadCounts(expect, "calls", [](const JsonObject& counts, const std::string& name) {
        // The Windows calls the host records go into the same log.
        if (name == "Sleep" || name == "ShellExecuteA")
            return name;
        return std::string(HostSlotName(static_cast<UInt32>(SlotByName(counts, name, name))));
    });
    return [expected](const Host& host, RunContext& ctx) -> Differences {
        const std::vector<std::string_view>& calls = Queries::Calls(host);
        Differences out = CompareCounts("calls of", expected, calls, ctx.seen.calls);
        ctx.seen.calls = calls.size();
        return out;
    };
}

// "requests": {"RPAS": 1}: how often each request was made since the
// previous requests expectation.
Check ParseRequests(const JsonObject& expect)
{
    expect.Only({"requests"});
    auto expected = ReadCounts(expect, "requests", [](const JsonObject& counts, const std::string& name) {
        if (name.size() != 4)
            counts.Fail(name, "a request code has four letters");
        return name;
    });
    return [expected](const Host& host, RunContext& ctx) -> Differences {
        const std::vector<std::string>& requests = Queries::Requests(host);
        Differences out = CompareCounts("requests", expected, requests, ctx.seen.requests);
        ctx.seen.requests = requests.size();
        return out;
    };
}

// ------------------------------------------------------------ elements

// The element an expectation is about: a name a step gave, or the nth
// element (from 1, in model order) of a type or of a library part.
struct ElementRef {
    std::string name;
    bool byName = true;
    bool hasType = false;
    API_ElemTypeID type = API_ZombieElemID;
    std::string part;
    std::string linkedTo;  // the nth object linked to this named element
    Int64 nth = 1;

    std::string Text() const
    {
        if (byName)
            return "element '" + name + "'";
        if (!linkedTo.empty())
            return "linked object " + std::to_string(nth) + " of '" + linkedTo + "'";
        return std::string(ElementTypeName(type)) + " " + std::to_string(nth) +
               (part.empty() ? std::string() : " of part '" + part + "'");
    }
};

ElementRef ReadElementRef(const JsonObject& expect)
{
    ElementRef ref;
    const picojson::value& v = expect.Raw().at("element");
    if (v.is<std::string>()) {
        ref.name = v.get<std::string>();
        return ref;
    }
    JsonObject sel = expect.Object("element");
    sel.Only({"type", "part", "nth", "linkedTo"});
    ref.byName = false;
    ref.linkedTo = sel.String("linkedTo");
    if (!ref.linkedTo.empty() && (sel.Has("type") || sel.Has("part")))
        sel.Fail("linkedTo", "'" + sel.PathOf("linkedTo") + "' selects by the links alone, without \"type\" or \"part\"");
    ref.nth = sel.Integer("nth", 1);
    if (ref.nth < 1)
        sel.Fail("nth", "'" + sel.PathOf("nth") + "' counts elements from 1");
    if (!ref.linkedTo.empty())
        return ref;
    ref.hasType = sel.Has("type");
    if (ref.hasType)
        ref.type = ElementType(sel, "type");
    ref.part = sel.String("part");
    if (!ref.hasType && ref.part.empty())
        sel.Fail("type", "'" + expect.PathOf("element") + "' is a name, or selects by \"type\" or \"part\" and \"nth\"");
    if (!ref.part.empty() && !ref.hasType) {
        ref.hasType = true;
        ref.type = API_ObjectID;
    }
    return ref;
}

// The element, or null with the reason.
const Element* Resolve(const Host& host, const RunContext& ctx, const JsonObject& expect, const ElementRef& ref,
                       std::string& why)
{
    if (ref.byName) {
        const Element* e = Queries::FindElement(host, NamedElement(expect, "element", ctx, ref.name));
        if (e == nullptr)
            why = ref.Text() + " is no longer in the model";
        return e;
    }
    if (!ref.linkedTo.empty()) {
        const API_Guid owner = NamedElement(expect, "element", ctx, ref.linkedTo);
        if (Queries::FindElement(host, owner) == nullptr) {
            why = "element '" + ref.linkedTo + "' is no longer in the model";
            return nullptr;
        }
        const std::vector<API_Guid> linked = Queries::LinkedObjects(host, owner).value_or(std::vector<API_Guid>{});
        if (ref.nth > static_cast<Int64>(linked.size())) {
            why = "there is no " + ref.Text() + ": " + std::to_string(linked.size()) + " object(s) are linked to it";
            return nullptr;
        }
        return Queries::FindElement(host, linked[static_cast<USize>(ref.nth - 1)]);
    }
    Int64 seen = 0;
    for (const Element& e : Queries::Elements(host)) {
        if (e.type != ref.type || (!ref.part.empty() && Queries::PartName(host, e) != ref.part))
            continue;
        if (++seen == ref.nth)
            return &e;
    }
    why = "there is no " + ref.Text() + ": the model holds " + std::to_string(seen);
    return nullptr;
}

GdlParam NumberValue(double value)
{
    GdlParam p;
    p.kind = GdlParam::Kind::Number;
    p.number = value;
    return p;
}

GdlParam TextValue(const std::string& value)
{
    GdlParam p;
    p.kind = GdlParam::Kind::Text;
    p.text = GS::DecodeText(value, CC_UTF8);
    return p;
}

// The name of a database as the report gives it: the detail drawing's
// name, "" for the floor plan (or a database the host does not hold).
std::string DatabaseName(const Host& host, const API_Guid& id)
{
    const DetailDrawing* detail = host.model.databases.Find(id);
    return detail != nullptr ? GS::UniString(detail->name).ToUtf8() : std::string();
}

// The element fields an expectation can name; an object's own fields give
// nothing for other elements.
using FieldGetter = std::optional<GdlParam> (*)(const Host&, const Element&);
const std::map<std::string, FieldGetter>& Fields()
{
    static const std::map<std::string, FieldGetter> fields = {
        {"type", [](const Host&, const Element& e) -> std::optional<GdlParam> { return TextValue(ElementTypeName(e.type)); }},
        {"part", [](const Host& h, const Element& e) -> std::optional<GdlParam> { return TextValue(Queries::PartName(h, e)); }},
        {"layer", [](const Host&, const Element& e) -> std::optional<GdlParam> { return NumberValue(e.layer); }},
        {"story", [](const Host&, const Element& e) -> std::optional<GdlParam> { return NumberValue(e.story); }},
        {"x", [](const Host&, const Element& e) -> std::optional<GdlParam> {
             const ObjectPart* o = e.As<ObjectPart>();
             return o != nullptr ? std::optional<GdlParam>(NumberValue(o->pos.x)) : std::nullopt;
         }},
        {"y", [](const Host&, const Element& e) -> std::optional<GdlParam> {
             const ObjectPart* o = e.As<ObjectPart>();
             return o != nullptr ? std::optional<GdlParam>(NumberValue(o->pos.y)) : std::nullopt;
         }},
        {"level", [](const Host&, const Element& e) -> std::optional<GdlParam> {
             const ObjectPart* o = e.As<ObjectPart>();
             return o != nullptr ? std::optional<GdlParam>(NumberValue(o->level)) : std::nullopt;
         }},
        {"angle", [](const Host&, const Element& e) -> std::optional<GdlParam> {
             const ObjectPart* o = e.As<ObjectPart>();
             return o != nullptr ? std::optional<GdlParam>(NumberValue(o->angle)) : std::nullopt;
         }},
        {"mirrored", [](const Host&, const Element& e) -> std::optional<GdlParam> {
             const ObjectPart* o = e.As<ObjectPart>();
             return o != nullptr ? std::optional<GdlParam>(NumberValue(o->mirrored ? 1.0 : 0.0)) : std::nullopt;
         }},
        {"infoString", [](const Host&, const Element& e) -> std::optional<GdlParam> {
             GdlParam p;
             p.kind = GdlParam::Kind::Text;
             p.text = e.infoString;
             return p;
         }},
        {"database", [](const Host& h, const Element& e) -> std::optional<GdlParam> {
             return TextValue(DatabaseName(h, e.database));
         }},
        {"userDataSize", [](const Host&, const Element& e) -> std::optional<GdlParam> {
             return NumberValue(e.userData ? static_cast<double>(e.userData->bytes.size()) : 0.0);
         }},
    };
    return fields;
}

// "element" with "field" and "value", "param" and "value" (numbers within
// "tolerance"), or "linkedObjects": the number of objects linked to it.
Check ParseElement(const JsonObject& expect)
{
    expect.Only({"element", "field", "param", "value", "tolerance", "linkedObjects"});
    ElementRef ref = ReadElementRef(expect);
    int asked = (expect.Has("field") ? 1 : 0) + (expect.Has("param") ? 1 : 0) + (expect.Has("linkedObjects") ? 1 : 0);
    if (asked != 1)
        expect.Fail("element", "an element expectation names one of \"field\", \"param\" or \"linkedObjects\"");

    if (expect.Has("linkedObjects")) {
        if (expect.Has("value") || expect.Has("tolerance"))
            expect.Fail(expect.Has("value") ? "value" : "tolerance", "\"linkedObjects\" is the number expected");
        Int64 count = expect.Integer("linkedObjects");
        if (count < 0)
            expect.Fail("linkedObjects", "'" + expect.PathOf("linkedObjects") + "' must not be negative");
        return [=](const Host& host, RunContext& ctx) -> Differences {
            std::string why;
            const Element* e = Resolve(host, ctx, expect, ref, why);
            if (e == nullptr)
                return {why};
            std::optional<std::vector<API_Guid>> linked = Queries::LinkedObjects(host, e->guid);
            if (!linked)
                return {ref.Text() + " linked objects: the stand-in host does not model links yet"};
            if (static_cast<Int64>(linked->size()) == count)
                return {};
            return {ref.Text() + " linked objects: expected " + std::to_string(count) + ", found " +
                    std::to_string(linked->size())};
        };
    }

    double tolerance = ReadTolerance(expect);
    if (expect.Has("field")) {
        std::string field = expect.String("field");
        auto it = Fields().find(field);
        if (it == Fields().end()) {
            std::vector<std::string> known;
            for (const auto& kv : Fields())
                known.push_back(kv.first);
            expect.Fail("field", "unknown field '" + field + "'; the fields are " + ListText(known));
        }
        FieldGetter get = it->second;
        GdlParam value = ReadExpectedValue(expect, "value", true);
        return [=](const Host& host, RunContext& ctx) -> Differences {
            std::string why;
            const Element* e = Resolve(host, ctx, expect, ref, why);
            if (e == nullptr)
                return {why};
            std::optional<GdlParam> found = get(host, *e);
            if (!found)
                return {ref.Text() + " has no field " + field + ": it is not an object"};
            return Compare(ref.Text() + " field " + field, value, *found, tolerance);
        };
    }

    std::string param = expect.String("param");
    if (param.empty())
        expect.Fail("param", "'" + expect.PathOf("param") + "' must name a parameter");
    GdlParam value = ReadExpectedValue(expect, "value", false);
    return [=](const Host& host, RunContext& ctx) -> Differences {
        std::string why;
        const Element* e = Resolve(host, ctx, expect, ref, why);
        if (e == nullptr)
            return {why};
        const GdlParams* params = Queries::Parameters(*e);
        if (params == nullptr)
            return {ref.Text() + " has no parameters: it is not an object"};
        const GdlParam* found = FindParam(*params, param);
        if (found == nullptr)
            return {ref.Text() + " has no parameter '" + param + "'"};
        return Compare(ref.Text() + " parameter " + param, value, *found, tolerance);
    };
}

// "elements": {"type": ...} or {"part": ...} with "count": how many
// elements of that type or library part the model holds (0 after they were
// all deleted); "layer" and "database" (a detail drawing's name, "" for the
// floor plan) count only those on that layer or in that database.
Check ParseElementCount(const JsonObject& expect)
{
    expect.Only({"elements", "count"});
    const JsonObject sel = expect.Object("elements");
    sel.Only({"type", "part", "layer", "database"});
    const bool byLayer = sel.Has("layer"), byDatabase = sel.Has("database");
    const Int64 layer = sel.Integer("layer");
    const std::string database = byDatabase ? ReadHostText(sel, "database") : "";
    const bool hasType = sel.Has("type");
    const API_ElemTypeID type = hasType ? ElementType(sel, "type") : API_ObjectID;
    const std::string part = sel.String("part");
    if (!hasType && part.empty())
        sel.Fail("type", "'" + expect.PathOf("elements") + "' selects by \"type\" or \"part\"");
    if (!expect.Has("count"))
        expect.Fail("elements", "'" + expect.PathOf("elements") + "' needs the \"count\" expected");
    const Int64 count = expect.Integer("count");
    if (count < 0)
        expect.Fail("count", "'" + expect.PathOf("count") + "' must not be negative");
    return [=](const Host& host, RunContext&) -> Differences {
        Int64 found = 0;
        for (const Element& e : Queries::Elements(host))
            if (e.type == type && (part.empty() || Queries::PartName(host, e) == part) &&
                (!byLayer || e.layer == layer) && (!byDatabase || DatabaseName(host, e.database) == database))
                ++found;
        if (found == count)
            return {};
        std::string what = part.empty() ? std::string(ElementTypeName(type)) + " elements" : "objects of part '" + part + "'";
        if (byLayer)
            what += " on layer " + std::to_string(layer);
        if (byDatabase)
            what += " in \"" + database + "\"";
        return {what + ": expected " + std::to_string(count) + ", the model holds " + std::to_string(found)};
    };
}

// ------------------------------------------------------------ element events

// "elementEvents": the element events the host had for the add-on since the
// previous elementEvents expectation, in order: each {"element": name,
// "kind": 3, 4 or 5}, with "delivered" false for one the add-on had no
// handler for (true when not given); [] for none.
Check ParseElementEvents(const JsonObject& expect)
{
    expect.Only({"elementEvents"});
    struct Expected {
        std::string element;
        Int64 kind = 0;
        bool delivered = true;
    };
    std::vector<Expected> expected;
    for (USize i = 0; i < expect.Array("elementEvents").size(); ++i) {
        const JsonObject item = expect.Item("elementEvents", i);
        item.Only({"element", "kind", "delivered"});
        Expected e;
        e.element = item.String("element");
        if (e.element.empty())
            item.Fail("element", "'" + item.PathOf("element") + "' must name an element");
        e.kind = item.Integer("kind");
        if (e.kind < 3 || e.kind > 5)
            item.Fail("kind", "'" + item.PathOf("kind") + "' must be 3, 4 or 5");
        e.delivered = item.Bool("delivered", true);
        expected.push_back(e);
    }
    return [expected, expect](const Host& host, RunContext& ctx) -> Differences {
        const std::vector<ElementEventSent>& all = Queries::ElementEvents(host);
        std::vector<ElementEventSent> sent(all.begin() + static_cast<std::ptrdiff_t>(std::min(ctx.seen.elementEvents, all.size())),
                                          all.end());
        ctx.seen.elementEvents = all.size();
        // Names for the report: the scenario's names of the elements, else GUIDs.
        auto nameOf = [&](const API_Guid& guid) {
            for (const auto& kv : ctx.names)
                if (kv.second == guid)
                    return kv.first;
            return GuidText(guid);
        };
        auto text = [](const std::string& element, Int64 kind, bool delivered) {
            return element + " " + std::to_string(kind) + (delivered ? "" : " (no handler)");
        };
        bool same = sent.size() == expected.size();
        for (USize i = 0; same && i < sent.size(); ++i)
            same = sent[i].guid == NamedElement(expect, "elementEvents", ctx, expected[i].element) &&
                   sent[i].kind == expected[i].kind && sent[i].delivered == expected[i].delivered;
        if (same)
            return {};
        std::vector<std::string> e, s;
        for (const Expected& x : expected)
            e.push_back(text(x.element, x.kind, x.delivered));
        for (const ElementEventSent& x : sent)
            s.push_back(text(nameOf(x.guid), x.kind, x.delivered));
        return {"element events: expected " + ListText(e) + ", sent " + ListText(s)};
    };
}

// ------------------------------------------------------------ undo steps

// "lastUndoStep": the name of the last undoable command.
Check ParseLastUndoStep(const JsonObject& expect)
{
    expect.Only({"lastUndoStep"});
    std::string name = ReadHostText(expect, "lastUndoStep");
    return [name](const Host& host, RunContext&) -> Differences {
        std::optional<std::string> last = Queries::LastUndoStepName(host);
        if (!last)
            return {"last undo step: expected " + Quoted(name) + ", there is nothing to undo"};
        if (*last == name)
            return {};
        return {"last undo step: expected " + Quoted(name) + ", found " + Quoted(*last)};
    };
}

// "undoSteps": the names of the steps that can be undone, oldest first; []
// for none.
Check ParseUndoSteps(const JsonObject& expect)
{
    expect.Only({"undoSteps"});
    std::vector<std::string> names;
    const picojson::array& list = expect.Array("undoSteps");
    for (USize i = 0; i < list.size(); ++i)
        names.push_back(ReadHostText(expect, expect.PathOf("undoSteps") + "[" + std::to_string(i) + "]", list[i]));
    return [names](const Host& host, RunContext&) -> Differences {
        const std::vector<std::string> found = Queries::UndoStepNames(host);
        if (found == names)
            return {};
        std::vector<std::string> e, f;
        for (const auto& t : names)
            e.push_back(Quoted(t));
        for (const auto& t : found)
            f.push_back(Quoted(t));
        return {"undo steps: expected " + ListText(e) + ", found " + ListText(f)};
    };
}

// ------------------------------------------------------------ the palette

// "palette": {"exists", "visible", "title", "width", "height"}, each given
// key compared.
Check ParsePalette(const JsonObject& expect)
{
    expect.Only({"palette"});
    JsonObject p = expect.Object("palette");
    p.Only({"exists", "visible", "title", "width", "height"});
    bool exists = p.Bool("exists", true);
    if (!exists && p.Raw().size() > 1)
        p.Fail("exists", "a palette that does not exist has nothing else to check");
    bool hasVisible = p.Has("visible"), hasTitle = p.Has("title"), hasWidth = p.Has("width"), hasHeight = p.Has("height");
    bool visible = p.Bool("visible");
    std::string title = hasTitle ? ReadHostText(p, "title") : "";
    Int64 width = p.Integer("width"), height = p.Integer("height");
    return [=](const Host& host, RunContext&) -> Differences {
        std::optional<Queries::PaletteState> state = Queries::Palette(host);
        if (!exists)
            return state ? Differences{"palette: expected none, the add-on has one"} : Differences{};
        if (!state)
            return {"palette: the add-on has none"};
        Differences out;
        if (hasVisible && state->visible != visible)
            out.push_back(std::string("palette: expected ") + (visible ? "visible" : "hidden") + ", found " +
                          (state->visible ? "visible" : "hidden"));
        if (hasTitle && state->title != title)
            out.push_back("palette title: expected " + Quoted(title) + ", found " + Quoted(state->title));
        if ((hasWidth && state->width != width) || (hasHeight && state->height != height))
            out.push_back("palette client area: expected " + (hasWidth ? std::to_string(width) : "any") + " x " +
                          (hasHeight ? std::to_string(height) : "any") + ", found " + std::to_string(state->width) +
                          " x " + std::to_string(state->height));
        return out;
    };
}

// "entry" (a number from 0 or a label) with "label", "enabled", "visible",
// "checked", "item": each given key compared.
Check ParseEntry(const JsonObject& expect)
{
    expect.Only({"entry", "label", "enabled", "visible", "checked", "item"});
    EntryRef entry = ReadEntry(expect);
    bool hasLabel = expect.Has("label"), hasEnabled = expect.Has("enabled"), hasVisible = expect.Has("visible"),
         hasChecked = expect.Has("checked"), hasItem = expect.Has("item");
    std::string label = hasLabel ? ReadHostText(expect, "label") : "";
    bool enabled = expect.Bool("enabled"), visible = expect.Bool("visible"), checked = expect.Bool("checked");
    Int64 item = expect.Integer("item");
    std::string name = entry.label.empty() ? "entry " + std::to_string(entry.index) : "entry " + Quoted(entry.label);
    return [=](const Host& host, RunContext&) -> Differences {
        Int64 index = FindEntry(host, entry);
        std::optional<Queries::EntryState> state;
        if (index >= 0)
            state = Queries::PaletteEntry(host, static_cast<USize>(index));
        if (!state)
            return {name + ": the palette shows no such entry"};
        auto flag = [](bool b, const char* yes, const char* no) { return std::string(b ? yes : no); };
        Differences out;
        if (hasLabel && state->label != label)
            out.push_back(name + " label: expected " + Quoted(label) + ", found " + Quoted(state->label));
        if (hasEnabled && state->enabled != enabled)
            out.push_back(name + ": expected " + flag(enabled, "enabled", "disabled") + ", found " +
                          flag(state->enabled, "enabled", "disabled"));
        if (hasVisible && state->visible != visible)
            out.push_back(name + ": expected " + flag(visible, "shown", "hidden") + ", found " +
                          flag(state->visible, "shown", "hidden"));
        if ((hasChecked || hasItem) && !state->pushMenu)
            out.push_back(name + ": expected a push menu, found a button");
        else {
            if (hasChecked && state->checked != checked)
                out.push_back(name + ": expected " + flag(checked, "checked", "unchecked") + ", found " +
                              flag(state->checked, "checked", "unchecked"));
            if (hasItem && state->item != item)
                out.push_back(name + " item: expected " + std::to_string(item) + ", found " + std::to_string(state->item));
        }
        return out;
    };
}

// "tooltip": the text the last hover step showed.
Check ParseToolTip(const JsonObject& expect)
{
    expect.Only({"tooltip"});
    std::string text = ReadHostText(expect, "tooltip");
    return [text](const Host&, RunContext& ctx) -> Differences {
        if (!ctx.toolTipShown)
            return {"tooltip: expected " + Quoted(text) + ", the last hover showed none"};
        if (ctx.toolTip == text)
            return {};
        return {"tooltip: expected " + Quoted(text) + ", shown " + Quoted(ctx.toolTip)};
    };
}

// "dialog": the last modal dialog shown was this one (its resource id), and
// each key given holds: "result" (0: closed with the close box), "title",
// and "item" with "text" and/or "visible", the item as the user last saw it;
// a list view's item with "listItems" (the texts of its items in order)
// and/or "pictures" (how many of them show a picture).
Check ParseDialog(const JsonObject& expect)
{
    expect.Only({"dialog", "result", "title", "item", "text", "visible", "listItems", "pictures"});
    const Int64 dialog = expect.Integer("dialog");
    const bool hasResult = expect.Has("result"), hasTitle = expect.Has("title"), hasItem = expect.Has("item");
    const Int64 result = expect.Integer("result", 0), item = expect.Integer("item", 0);
    const std::string title = hasTitle ? ReadHostText(expect, "title") : std::string();
    const bool hasText = expect.Has("text"), hasVisible = expect.Has("visible");
    const std::string text = hasText ? ReadHostText(expect, "text") : std::string();
    const bool visible = expect.Bool("visible", true);
    const bool hasListItems = expect.Has("listItems"), hasPictures = expect.Has("pictures");
    std::vector<std::string> listItems;
    if (hasListItems) {
        const picojson::array& list = expect.Array("listItems");
        for (USize i = 0; i < list.size(); ++i)
            listItems.push_back(
                ReadHostText(expect, expect.PathOf("listItems") + "[" + std::to_string(i) + "]", list[i]));
    }
    const Int64 pictures = expect.Integer("pictures", 0);
    if (hasItem != (hasText || hasVisible || hasListItems || hasPictures))
        expect.Fail("item", "\"item\" goes with \"text\", \"visible\", \"listItems\" or \"pictures\"");
    return [=](const Host& host, RunContext&) -> Differences {
        const auto& shown = host.user.modalDialogs;
        if (shown.empty())
            return {"dialog: expected dialog " + std::to_string(dialog) + ", no modal dialog was shown"};
        const SimHost::ShownModalDialog& last = shown.back();
        if (last.resourceId != dialog)
            return {"dialog: expected dialog " + std::to_string(dialog) + ", the last shown was " +
                    std::to_string(last.resourceId)};
        Differences differences;
        if (hasResult && (!last.closed || last.result != result))
            differences.push_back("dialog: expected result " + std::to_string(result) + ", " +
                                  (last.closed ? "it closed with " + std::to_string(last.result)
                                               : std::string("it has not closed")));
        if (hasTitle && last.title != title)
            differences.push_back("dialog: expected title " + Quoted(title) + ", shown " + Quoted(last.title));
        if (hasItem) {
            if (item < 1 || static_cast<size_t>(item) > last.items.size())
                return {"dialog: it has no item " + std::to_string(item)};
            const DG::DialogItemState& state = last.items[static_cast<size_t>(item) - 1];
            const std::string seen = state.type == DG::ItemType::PopUp
                                         ? (state.value >= 1 && static_cast<size_t>(state.value) <= state.entries.size()
                                                ? state.entries[static_cast<size_t>(state.value) - 1].ToUtf8()
                                                : std::string())
                                         : state.text.ToUtf8();
            if (hasVisible && state.visible != visible)
                differences.push_back("dialog: item " + std::to_string(item) + (visible ? " is hidden" : " is visible"));
            if (hasText && seen != text)
                differences.push_back("dialog: item " + std::to_string(item) + " expected " + Quoted(text) + ", shown " +
                                      Quoted(seen));
            if ((hasListItems || hasPictures) && state.type != DG::ItemType::ListView)
                return {"dialog: item " + std::to_string(item) + " is no list view"};
            std::vector<std::string> expectedTexts, shownTexts;
            Int64 withPicture = 0;
            for (const DG::ListViewItem& entry : state.listItems) {
                shownTexts.push_back(Quoted(entry.text.ToUtf8()));
                withPicture += entry.image.IsEmpty() ? 0 : 1;
            }
            for (const std::string& t : listItems)
                expectedTexts.push_back(Quoted(t));
            if (hasListItems && shownTexts != expectedTexts)
                differences.push_back("dialog: item " + std::to_string(item) + " expected the list items " +
                                      ListText(expectedTexts) + ", shown " + ListText(shownTexts));
            if (hasPictures && withPicture != pictures)
                differences.push_back("dialog: item " + std::to_string(item) + " expected " + std::to_string(pictures) +
                                      " pictures, shown " + std::to_string(withPicture));
        }
        return differences;
    };
}

// ------------------------------------------------------------ point input and the view

std::string PointText(const API_Coord3D& p)
{
    return "[" + NumberText(p.x) + ", " + NumberText(p.y) + ", " + NumberText(p.z) + "]";
}

std::string LineText(const DrawnLine& line) { return "[" + PointText(line.c1) + ", " + PointText(line.c2) + "]"; }

struct ExpectedLine {
    API_Coord3D c1, c2;
    bool hasZ1 = false, hasZ2 = false;
};


bool LineMatches(const ExpectedLine& e, const DrawnLine& d, double tolerance)
{
    return Near(e.c1.x, d.c1.x, tolerance) && Near(e.c1.y, d.c1.y, tolerance) &&
           (!e.hasZ1 || Near(e.c1.z, d.c1.z, tolerance)) && Near(e.c2.x, d.c2.x, tolerance) &&
           Near(e.c2.y, d.c2.y, tolerance) && (!e.hasZ2 || Near(e.c2.z, d.c2.z, tolerance));
}

// "lines": the rubber lines drawn since the previous lines expectation
// without "at", or
// with "at": "click" those drawn at the last point input's click: a number
// (how many) or the lines, each [[x, y(, z)], [x, y(, z)]], in order, within
// "tolerance"; "mode": the mode every one of them was drawn with.
Check ParseLines(const JsonObject& expect)
{
    expect.Only({"lines", "at", "mode", "tolerance"});
    std::string at = expect.String("at", "since");
    if (at != "since" && at != "click")
        expect.Fail("at", "'" + expect.PathOf("at") + "' is \"click\" or \"since\"");
    bool hasMode = expect.Has("mode");
    auto mode = static_cast<Int32>(expect.IntegerIn("mode", 0, -2147483647 - 1, 2147483647));
    double tolerance = expect.Number("tolerance", 0.000001);
    const picojson::value& v = expect.Raw().at("lines");
    bool byCount = v.is<double>();
    Int64 count = byCount ? expect.Integer("lines") : 0;
    std::vector<ExpectedLine> lines;
    if (!byCount) {
        const picojson::array& list = expect.Array("lines");
        for (USize i = 0; i < list.size(); ++i) {
            std::string path = expect.PathOf("lines") + "[" + std::to_string(i) + "]";
            if (!list[i].is<picojson::array>() || list[i].get<picojson::array>().size() != 2)
                expect.Document().Fail(path, "'" + path + "' is a line [[x, y, z], [x, y, z]]");
            const picojson::array& ends = list[i].get<picojson::array>();
            ExpectedLine line;
            line.c1 = ReadPoint3D(expect, path + "[0]", ends[0], &line.hasZ1);
            line.c2 = ReadPoint3D(expect, path + "[1]", ends[1], &line.hasZ2);
            lines.push_back(line);
        }
        count = static_cast<Int64>(lines.size());
    }
    return [=](const Host& host, RunContext& ctx) -> Differences {
        const std::vector<DrawnLine>& all = Queries::RubberLines(host);
        std::vector<DrawnLine> drawn;
        if (at == "click") {
            drawn = Queries::LinesAtLastClick(host);
        } else {
            drawn.assign(all.begin() + static_cast<std::ptrdiff_t>(std::min(ctx.seen.lines, all.size())), all.end());
            ctx.seen.lines = all.size();
        }
        std::string where = at == "click" ? "lines at the click" : "lines";
        std::vector<std::string> drawnTexts;
        for (const DrawnLine& d : drawn)
            drawnTexts.push_back(LineText(d));
        Differences out;
        if (static_cast<Int64>(drawn.size()) != count)
            out.push_back(where + ": expected " + std::to_string(count) + ", drawn " + std::to_string(drawn.size()) +
                          " " + ListText(drawnTexts));
        else
            for (USize i = 0; i < lines.size(); ++i)
                if (!LineMatches(lines[i], drawn[i], tolerance))
                    out.push_back(where + ": line " + std::to_string(i + 1) + " expected " +
                                  LineText({lines[i].c1, lines[i].c2, 0}) + ", drawn " + drawnTexts[i]);
        if (hasMode)
            for (USize i = 0; i < drawn.size(); ++i)
                if (drawn[i].mode != mode)
                    out.push_back(where + ": line " + std::to_string(i + 1) + " drawn with mode " +
                                  std::to_string(drawn[i].mode) + ", expected " + std::to_string(mode));
        return out;
    };
}

// "highlight": the names of the elements highlighted now, in any order; []
// for none.
Check ParseHighlight(const JsonObject& expect)
{
    expect.Only({"highlight"});
    std::vector<std::string> names;
    const picojson::array& list = expect.Array("highlight");
    for (USize i = 0; i < list.size(); ++i)
        names.push_back(expect.ItemString("highlight", i));
    return [=](const Host& host, RunContext& ctx) -> Differences {
        std::vector<API_Guid> lit = Queries::Highlighted(host);
        std::vector<std::string> litNames;
        for (const API_Guid& g : lit) {
            std::string name = GuidText(g);
            for (const auto& n : ctx.names)
                if (n.second == g)
                    name = n.first;
            litNames.push_back(name);
        }
        std::vector<std::string> e = names, f = litNames;
        std::sort(e.begin(), e.end());
        std::sort(f.begin(), f.end());
        if (e == f)
            return {};
        return {"highlight: expected " + ListText(e) + ", highlighted " + ListText(f)};
    };
}

// "zoom": [xMin, yMin, xMax, yMax], the last box the view was zoomed to,
// within "tolerance".
Check ParseZoom(const JsonObject& expect)
{
    expect.Only({"zoom", "tolerance"});
    const picojson::array& list = expect.Array("zoom");
    bool ok = list.size() == 4;
    for (USize i = 0; ok && i < 4; ++i)
        ok = list[i].is<double>();
    if (!ok)
        expect.Fail("zoom", "'" + expect.PathOf("zoom") + "' is a box [xMin, yMin, xMax, yMax]");
    double box[4] = {list[0].get<double>(), list[1].get<double>(), list[2].get<double>(), list[3].get<double>()};
    double tolerance = expect.Number("tolerance", 0.000001);
    return [=](const Host& host, RunContext&) -> Differences {
        std::vector<std::string> e;
        for (double d : box)
            e.push_back(NumberText(d));
        std::optional<API_Box> last = Queries::LastZoom(host);
        if (!last)
            return {"zoom: expected " + ListText(e) + ", the view was not zoomed"};
        double found[4] = {last->xMin, last->yMin, last->xMax, last->yMax};
        std::vector<std::string> f;
        bool same = true;
        for (int i = 0; i < 4; ++i) {
            f.push_back(NumberText(found[i]));
            same = same && Near(box[i], found[i], tolerance);
        }
        if (same)
            return {};
        return {"zoom: expected " + ListText(e) + ", zoomed to " + ListText(f)};
    };
}

// "window": the name of the database the window shows, "" for the floor
// plan.
Check ParseWindow(const JsonObject& expect)
{
    expect.Only({"window"});
    std::string name = ReadHostText(expect, "window");
    return [=](const Host& host, RunContext&) -> Differences {
        std::string shown = DatabaseName(host, host.model.currentDatabase);
        if (shown == name)
            return {};
        return {"window: expected \"" + name + "\", the window shows \"" + shown + "\""};
    };
}

// "layer": a layer's index, with "locked" and/or "hidden": the layer
// exists and each key given matches.
Check ParseLayerExpectation(const JsonObject& expect)
{
    expect.Only({"layer", "locked", "hidden"});
    const Int64 index = expect.Integer("layer");
    const bool byLocked = expect.Has("locked"), byHidden = expect.Has("hidden");
    const bool locked = expect.Bool("locked"), hidden = expect.Bool("hidden");
    return [=](const Host& host, RunContext&) -> Differences {
        const auto layer = host.model.layers.find(static_cast<Int32>(index));
        if (layer == host.model.layers.end())
            return {"layer " + std::to_string(index) + ": the model has no such layer"};
        Differences out;
        if (byLocked && layer->second.locked != locked)
            out.push_back("layer " + std::to_string(index) + ": expected " + (locked ? "locked" : "unlocked") +
                          ", it is " + (layer->second.locked ? "locked" : "unlocked"));
        if (byHidden && layer->second.hidden != hidden)
            out.push_back("layer " + std::to_string(index) + ": expected " + (hidden ? "hidden" : "shown") +
                          ", it is " + (layer->second.hidden ? "hidden" : "shown"));
        return out;
    };
}

// "file": a file of the run, by its path in the out folder (or absolute),
// with "text": its exact bytes (UTF-8, as JSON writes them: "\t", "\r\n"),
// "textLines": its lines (each ended by "\n" or "\r\n", the last may be
// not), or "exists": false, that it was not written.
Check ParseFile(const JsonObject& expect)
{
    expect.Only({"file", "text", "textLines", "exists"});
    const std::string file = expect.String("file");
    if (file.empty())
        expect.Fail("file", "'" + expect.PathOf("file") + "' names the file: a path in the out folder");
    const int forms = (expect.Has("text") ? 1 : 0) + (expect.Has("textLines") ? 1 : 0) + (expect.Has("exists") ? 1 : 0);
    if (forms != 1 || (expect.Has("exists") && expect.Bool("exists")))
        expect.Fail("file", "a file expectation gives one of \"text\" (its bytes), \"textLines\" or \"exists\": false");
    const bool byText = expect.Has("text"), absent = expect.Has("exists");
    const std::string text = byText ? ReadHostText(expect, "text") : "";
    std::vector<std::string> lines;
    for (USize i = 0; i < expect.Array("textLines").size(); ++i)
        lines.push_back(ReadHostText(expect, expect.PathOf("textLines") + "[" + std::to_string(i) + "]",
                                     expect.Array("textLines")[i]));
    return [=](const Host&, RunContext& ctx) -> Differences {
        const std::string path = file[0] == '/' ? file : ctx.outDir + "/" + file;
        const std::string what = "file " + file;
        std::ifstream in(path, std::ios::binary);
        if (absent)
            return in ? Differences{what + ": expected no such file, it was written"} : Differences{};
        if (!in)
            return {what + ": expected it written, there is no such file (" + path + ")"};
        std::stringstream content;
        content << in.rdbuf();
        const std::string found = content.str();
        if (byText)
            return found == text ? Differences{}
                                 : Differences{what + ": expected " + std::to_string(text.size()) + " bytes " +
                                               Quoted(text) + ", found " + std::to_string(found.size()) + " bytes " +
                                               Quoted(found)};
        std::vector<std::string> foundLines;
        for (size_t at = 0; at < found.size();) {
            size_t end = found.find('\n', at);
            std::string line = found.substr(at, end == std::string::npos ? std::string::npos : end - at);
            if (!line.empty() && line.back() == '\r')
                line.pop_back();
            foundLines.push_back(line);
            at = end == std::string::npos ? found.size() : end + 1;
        }
        Differences out;
        for (USize i = 0; i < std::max(lines.size(), foundLines.size()) && out.size() < 5; ++i) {
            const std::string e = i < lines.size() ? Quoted(lines[i]) : "no line";
            const std::string f = i < foundLines.size() ? Quoted(foundLines[i]) : "no line";
            if (e != f)
                out.push_back(what + " line " + std::to_string(i + 1) + ": expected " + e + ", found " + f);
        }
        if (!out.empty() && lines.size() != foundLines.size())
            out.push_back(what + ": expected " + std::to_string(lines.size()) + " lines, found " +
                          std::to_string(foundLines.size()));
        return out;
    };
}

// The kinds of check, by the key that names them.
const std::vector<std::pair<std::string, CheckParser>>& CheckKinds()
{
    static const std::vector<std::pair<std::string, CheckParser>> kinds = {
        {"alerts", ParseAlerts},
        {"command", ParseCommand},
        {"commands", ParseCommands},
        {"calls", ParseCalls},
        {"requests", ParseRequests},
        {"element", ParseElement},
        {"lastUndoStep", ParseLastUndoStep},
        {"palette", ParsePalette},
        {"entry", ParseEntry},
        {"tooltip", ParseToolTip},
        {"undoSteps", ParseUndoSteps},
        {"dialog", ParseDialog},
        {"lines", ParseLines},
        {"highlight", ParseHighlight},
        {"zoom", ParseZoom},
        {"elementEvents", ParseElementEvents},
        {"elements", ParseElementCount},
        {"alert", ParseResourceAlert},
        {"window", ParseWindow},
        {"layer", ParseLayerExpectation},
        {"file", ParseFile},
    };
    return kinds;
}

}  // namespace

StepAction ParseExpect(const JsonObject& step)
{
    step.Only({"expect"});
    JsonObject expect = step.Object("expect");
    CheckParser parser = nullptr;
    std::vector<std::string> names;
    for (const auto& kind : CheckKinds()) {
        names.push_back(kind.first);
        if (!expect.Has(kind.first))
            continue;
        if (parser != nullptr)
            expect.Fail(kind.first, "an expectation checks one thing: '" + kind.first + "' comes after another kind");
        parser = kind.second;
    }
    if (parser == nullptr)
        step.Fail("expect", "'" + step.PathOf("expect") + "' names what to check: one of " + ListText(names));
    Check check = parser(expect);
    int line = step.Document().LineOf(step.Path());
    return [check, line](Host& host, RunContext& ctx) {
        ++ctx.expectationsChecked;
        for (auto& what : check(host, ctx))
            ctx.failedExpectations.push_back({ctx.step, line, std::move(what)});
    };
}

}  // namespace SimHost

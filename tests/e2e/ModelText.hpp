// The model of a stand-in host as comparable text, and the alerts the user
// saw: what the fault sweeps compare a run by.
//
// Models are compared as text (ModelText): every element with its part,
// layer, story, group, database, user data and links, the layers, the
// selection and the detail drawings. Elements and detail drawings made
// during the command get labels in the order they were made ("new#1", ...)
// instead of their GUIDs, since a run that failed half way and was taken
// back has used GUIDs that the fault-free run gives to its own elements.
#pragma once
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include <algorithm>
#include <cctype>
#include <cstdio>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace SweepInvariant {

inline std::string Number(double value)
{
    char text[40];
    std::snprintf(text, sizeof text, "%.9g", value);
    return text;
}

inline std::string Utf8(const std::u16string& text) { return GS::UniString(text.c_str()).ToUtf8(); }

inline std::string Hex(const void* data, size_t size)
{
    static const char digits[] = "0123456789abcdef";
    std::string out;
    const unsigned char* bytes = static_cast<const unsigned char*>(data);
    for (size_t i = 0; i < size; ++i) {
        out += digits[bytes[i] >> 4];
        out += digits[bytes[i] & 15];
    }
    return out;
}

inline void Coords(std::ostream& out, const std::vector<API_Coord>& coords)
{
    for (const API_Coord& c : coords)
        out << " (" << Number(c.x) << "," << Number(c.y) << ")";
}

inline void Rings(std::ostream& out, const SimHost::PolygonRings& rings)
{
    out << "  contour";
    Coords(out, rings.contour);
    out << "\n";
    for (const auto& hole : rings.holes) {
        out << "  hole";
        Coords(out, hole);
        out << "\n";
    }
}

inline void Params(std::ostream& out, const SimHost::GdlParams& params)
{
    for (const SimHost::GdlParam& p : params) {
        out << "  " << p.name << " =";
        switch (p.kind) {
            case SimHost::GdlParam::Kind::Number: out << " " << Number(p.number); break;
            case SimHost::GdlParam::Kind::Text: out << " \"" << Utf8(p.text) << "\""; break;
            case SimHost::GdlParam::Kind::Numbers:
                out << " [" << p.dim1 << "x" << p.dim2 << "]";
                for (double v : p.numbers)
                    out << " " << Number(v);
                break;
            case SimHost::GdlParam::Kind::Texts:
                out << " [" << p.dim1 << "x" << p.dim2 << "]";
                for (const auto& t : p.texts)
                    out << " \"" << Utf8(t) << "\"";
                break;
        }
        out << "\n";
    }
}

inline void Part(std::ostream& out, const SimHost::Element& e)
{
    if (const auto* w = e.As<SimHost::WallPart>()) {
        const API_WallType& r = w->record;
        out << "  wall (" << Number(r.begC.x) << "," << Number(r.begC.y) << ")-(" << Number(r.endC.x) << ","
            << Number(r.endC.y) << ") t " << Number(r.thickness) << " h " << Number(r.height) << " bottom "
            << Number(r.bottomOffset) << " arc " << Number(r.angle) << " slants " << Number(r.slantAlpha) << " "
            << Number(r.slantBeta) << " code " << r.slantCode << " flipped " << r.flipped << " structure "
            << r.structureKind << "/" << r.compositeIndex << " refline " << r.referenceLineLocation << " "
            << Number(r.offsetFromOutside) << " openings " << w->openings.size() << "\n";
    } else if (const auto* s = e.As<SimHost::SlabPart>()) {
        out << "  slab t " << Number(s->thickness) << " level " << Number(s->level) << " offset "
            << Number(s->offset) << "\n";
        Rings(out, s->outline);
    } else if (const auto* roof = e.As<SimHost::RoofPart>()) {
        out << "  roof class " << roof->roofClass << " level " << Number(roof->level) << " t "
            << Number(roof->thickness) << " angle " << Number(roof->angle) << " planes " << roof->planes.size()
            << "\n";
        Rings(out, roof->outline);
    } else if (const auto* o = e.As<SimHost::ObjectPart>()) {
        out << "  object lib " << o->libInd << " at (" << Number(o->pos.x) << "," << Number(o->pos.y) << ") level "
            << Number(o->level) << " angle " << Number(o->angle) << " mirrored " << o->mirrored << "\n";
        Params(out, o->params);
    } else if (const auto* opening = e.As<SimHost::OpeningPart>()) {
        out << "  opening";
        Coords(out, opening->shape);
        out << "\n";
    }
}

// The model as comparable text; `known` are the GUIDs that existed before
// the command (null: every GUID is known).
inline std::string ModelText(const SimHost::Host& host, const std::set<std::string>* known)
{
    const SimHost::Model& model = host.model;
    std::ostringstream out;
    for (const SimHost::Element& e : model.Elements()) {
        out << "element " << SimHost::GuidText(e.guid) << " type " << static_cast<int>(e.type) << " layer "
            << e.layer << " story " << e.story << " group " << SimHost::GuidText(e.groupGuid) << " database "
            << SimHost::GuidText(e.database) << " info \"" << Utf8(e.infoString) << "\"\n";
        for (const API_Guid& c : e.connected)
            out << "  connected " << SimHost::GuidText(c) << "\n";
        if (e.userData)
            out << "  userdata " << e.userData->version << " " << e.userData->platformSign << " "
                << Hex(e.userData->bytes.data(), e.userData->bytes.size()) << "\n";
        Part(out, e);
    }
    for (const auto& layer : model.layers)
        out << "layer " << layer.first << " \"" << layer.second.name << "\" hidden " << layer.second.hidden
            << " locked " << layer.second.locked << "\n";
    for (const API_Guid& g : model.selection)
        out << "selected " << SimHost::GuidText(g) << "\n";
    for (const auto& link : model.links.linked) {
        out << "links " << SimHost::GuidText(link.first) << ":";
        for (const API_Guid& g : link.second)
            out << " " << SimHost::GuidText(g);
        out << "\n";
    }
    for (const auto& observer : model.links.observers)
        out << "observed " << SimHost::GuidText(observer.first) << " " << observer.second << "\n";
    for (const SimHost::DetailDrawing& d : model.databases.details)
        out << "detail " << SimHost::GuidText(d.id) << " " << d.number << " \"" << Utf8(d.name) << "\" \""
            << Utf8(d.ref) << "\"\n";
    std::string text = out.str();
    if (known == nullptr)
        return text;

    // GUIDs made during the command, in the order they were made, as labels
    // (as text, and as the bytes that user data may hold).
    std::vector<API_Guid> made;
    for (const SimHost::Element& e : model.Elements())
        if (known->count(SimHost::GuidText(e.guid)) == 0)
            made.push_back(e.guid);
    for (const SimHost::DetailDrawing& d : model.databases.details)
        if (known->count(SimHost::GuidText(d.id)) == 0)
            made.push_back(d.id);
    auto replaceAll = [&text](const std::string& from, const std::string& to) {
        if (from.empty())
            return;
        for (size_t at = text.find(from); at != std::string::npos; at = text.find(from, at + to.size()))
            text.replace(at, from.size(), to);
    };
    for (size_t i = 0; i < made.size(); ++i) {
        const std::string label = "new#" + std::to_string(i + 1);
        std::string guid = SimHost::GuidText(made[i]);
        replaceAll(guid, label);
        for (char& c : guid)
            c = static_cast<char>(std::tolower(static_cast<unsigned char>(c)));
        replaceAll(guid, label);
        replaceAll(Hex(&made[i], sizeof made[i]), label);
    }
    return text;
}

inline std::set<std::string> KnownGuids(const SimHost::Host& host)
{
    std::set<std::string> known;
    for (const SimHost::Element& e : host.model.Elements())
        known.insert(SimHost::GuidText(e.guid));
    for (const SimHost::DetailDrawing& d : host.model.databases.details)
        known.insert(SimHost::GuidText(d.id));
    return known;
}

// The alerts the user saw, in order: resource alerts and the host's own
// report messages. Alerts whose resource is one of `questions` are left
// out: a question the command asks on every run says nothing about how the
// run ended.
inline std::vector<std::string> AlertsSeen(const SimHost::Host& host, const std::vector<Int16>& questions = {})
{
    std::vector<std::string> seen;
    for (const SimHost::ShownAlert& a : host.user.alertsShown)
        if (std::find(questions.begin(), questions.end(), a.resourceId) == questions.end())
            seen.push_back(a.title + " | " + a.text + " | " + a.detail);
    for (const std::string& a : host.recorder.alerts)
        seen.push_back(a);
    return seen;
}

// The first lines where two model texts differ, for a failing run's message.
inline std::string FirstDifference(const std::string& expected, const std::string& actual)
{
    std::istringstream a(expected), b(actual);
    std::string la, lb, out;
    int shown = 0;
    for (int line = 1; shown < 6; ++line) {
        bool ha = static_cast<bool>(std::getline(a, la)), hb = static_cast<bool>(std::getline(b, lb));
        if (!ha && !hb)
            break;
        if (!ha) la = "<end>";
        if (!hb) lb = "<end>";
        if (la != lb) {
            out += "  line " + std::to_string(line) + ": expected " + la + "\n           got      " + lb + "\n";
            ++shown;
        }
    }
    return out;
}

}  // namespace SweepInvariant

// A fault sweep that checks what the model holds after every failing call.
//
// "No crash, no leak" lets a zeroed write or a half-done command through,
// so every run of the sweep is held to one invariant: after the command,
// the model is either what the fault-free run left, or exactly what it was
// before the command. A run whose model is neither must have told the user
// (an alert), and a run whose model differs from the fault-free one must
// not show the command's done message.
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
#include "platform/gs/Memory.hpp"
#include <gtest/gtest.h>
#include <cstdio>
#include <cstring>
#include <functional>
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
// report messages.
inline std::vector<std::string> AlertsSeen(const SimHost::Host& host)
{
    std::vector<std::string> seen;
    for (const SimHost::ShownAlert& a : host.user.alertsShown)
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

struct Spec {
    // Sets up a freshly loaded host and add-on (the model, the user's answers).
    std::function<void(SimHost::Host&)> prepare;
    // Plays the command (a palette click, a menu, a user's change).
    std::function<void(SimHost::Host&)> command;
    // Texts of which any one in an alert tells the user the command is done;
    // a run whose model differs from the fault-free run must show none.
    std::vector<std::string> doneTexts;
    Int64 limit = 1000;
    GSErrCode code = static_cast<GSErrCode>(0x81060310);
};

struct Counts {
    Int64 runs = 0;          // runs with a call failing
    Int64 asFaultFree = 0;   // model as the fault-free run left it
    Int64 backTold = 0;      // model as before, the user told
    Int64 backSilent = 0;    // model as before, nothing said
    Int64 otherTold = 0;     // neither, the user told
    Int64 broken = 0;        // runs that broke the invariant

    std::string Text() const
    {
        return std::to_string(runs) + " runs: " + std::to_string(asFaultFree) + " as fault-free, " +
               std::to_string(backTold) + " back to before and told, " + std::to_string(backSilent) +
               " back to before silently, " + std::to_string(otherTold) + " other and told, " +
               std::to_string(broken) + " broken";
    }
};

namespace Detail {
inline bool ShowsDone(const std::vector<std::string>& alerts, size_t from, const std::vector<std::string>& doneTexts)
{
    for (size_t i = from; i < alerts.size(); ++i)
        for (const std::string& done : doneTexts)
            if (!done.empty() && alerts[i].find(done) != std::string::npos)
                return true;
    return false;
}

struct Run {
    std::string before, after;
    std::vector<std::string> alerts;  // during the command
    bool failed = false;
};

inline bool Play(const Spec& spec, Int64 failAt, Run& run, const std::string& label)
{
    SimHost::Host host;
    std::string error;
    if (!host.session.LoadAddOn(ADDON_PATH, error)) {
        ADD_FAILURE() << error;
        return false;
    }
    spec.prepare(host);
    const std::set<std::string> known = KnownGuids(host);
    run.before = ModelText(host, &known);
    const std::vector<std::string> alertsBefore = AlertsSeen(host);
    if (failAt > 0)
        host.faultPlan.FailNthCall(failAt, spec.code);
    spec.command(host);
    run.after = ModelText(host, &known);
    const std::vector<std::string> alertsAfter = AlertsSeen(host);
    run.alerts.assign(alertsAfter.begin() + static_cast<std::ptrdiff_t>(std::min(alertsBefore.size(), alertsAfter.size())),
                      alertsAfter.end());
    run.failed = failAt > 0 && host.faultPlan.NthCallFailed();
    host.session.UnloadAddOn(true);
    for (const auto& f : host.recorder.faults)
        ADD_FAILURE() << label << ": add-on fault: " << f.what;
    return true;
}
}  // namespace Detail

// Plays the command once without a fault, then once for every host call it
// makes with that call failing (from the first call after `prepare`), each
// run in a fresh host, and checks every run against the invariant, for
// leaks and for add-on faults. Answers the counts, for the sweep's report.
inline Counts SweepWithInvariant(const Spec& spec)
{
    Counts counts;
    Detail::Run clean;
    const Int64 handles = GS::LiveMemoryHandleCount();
    if (!Detail::Play(spec, 0, clean, "fault-free run"))
        return counts;
    EXPECT_EQ(GS::LiveMemoryHandleCount(), handles) << "the fault-free run leaked";
    EXPECT_TRUE(clean.before != clean.after || !spec.doneTexts.empty())
        << "the fault-free run changed nothing; the sweep would prove nothing";

    for (Int64 n = 1; n <= spec.limit; ++n) {
        const Int64 before = GS::LiveMemoryHandleCount();
        Detail::Run run;
        const std::string label = "call " + std::to_string(n) + " failing";
        if (!Detail::Play(spec, n, run, label))
            return counts;
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before) << label << ": leaked";
        if (!run.failed)
            return counts;
        ++counts.runs;
        const bool told = !run.alerts.empty();
        std::string alerts;
        for (const std::string& a : run.alerts)
            alerts += "  alert: " + a + "\n";
        if (run.after == clean.after) {
            ++counts.asFaultFree;
            continue;
        }
        if (Detail::ShowsDone(run.alerts, 0, spec.doneTexts)) {
            ++counts.broken;
            ADD_FAILURE() << label << ": the model differs from the fault-free run, yet the done message shows\n"
                          << alerts << FirstDifference(clean.after, run.after);
            continue;
        }
        if (run.after == run.before) {
            ++(told ? counts.backTold : counts.backSilent);
            continue;
        }
        if (told) {
            ++counts.otherTold;
            continue;
        }
        ++counts.broken;
        ADD_FAILURE() << label << ": the model is neither the fault-free result nor as it was, and the user was "
                      << "told nothing\n  against the fault-free run:\n"
                      << FirstDifference(clean.after, run.after) << "  against the model before:\n"
                      << FirstDifference(run.before, run.after);
    }
    ADD_FAILURE() << "the command makes more than " << spec.limit << " host calls";
    return counts;
}

}  // namespace SweepInvariant

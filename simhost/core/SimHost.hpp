// The stand-in host: loads an add-on, hands it the function table, plays
// the host's side of every call and records what happened.
//
// The host is made of parts it owns, each in the folder that names it:
//   recorder   what the host saw (calls, requests, alerts, events, faults,
//              progress windows, time spent in host calls)   core/Recorder
//   faultPlan  planned failures of host calls                core/FaultPlan
//   model      the element database                          model/Model
//   libraries  the active libraries and part behaviours      library/ActiveLibraries
//   session    the loaded add-on, its entry points and what it registered
//                                                            core/AddOnSession
//   user       the scripted user and the host's messages     ui/ScriptedUser
//   undo       the undo steps and the model before each      core/UndoHistory
//   view       the current view: its zoom, highlight, saved pictures and the
//              temporary folder                              view/View
//   preferences the add-on's stored preferences              core/Preferences
// The table's calls are answered by HostApi (one member per slot) and the
// requests by RequestHandlers (one member per request), both in api/.
//
// One Host is current at a time (the table's functions find it through
// Host::Current()); tests make a fresh one per case.
//
// The folders depend one way (docs/ARCHITECTURE.md): this header names the
// parts of api/ and ui/ only by declaration, and the Host is put together,
// its constructor and destructor, in assembly/, the one place that sees
// every part.
#pragma once
#include "platform/api/HostTable.hpp"
#include "simhost/core/AddOnSession.hpp"
#include "simhost/core/FaultPlan.hpp"
#include "simhost/core/Preferences.hpp"
#include "simhost/core/Recorder.hpp"
#include "simhost/core/UndoHistory.hpp"
#include "simhost/core/WallJobCheck.hpp"
#include "simhost/library/ActiveLibraries.hpp"
#include "simhost/model/Model.hpp"
#include "simhost/view/View.hpp"
#include <memory>
#include <string>
#include <vector>

namespace SimHost {

class HostApi;
class RequestHandlers;
class ScriptedUser;

class Host {
    // First, as the fault plan empties its slots.
    std::vector<void*> table;

public:
    Host();
    ~Host();
    Host(const Host&) = delete;
    Host& operator=(const Host&) = delete;

    static Host* Current();

    Recorder recorder;
    FaultPlan faultPlan;
    Model model;
    // Wall-geometry jobs over the host's life, checked when the add-on goes.
    WallJobCheck wallJobs;
    ActiveLibraries libraries;
    AddOnSession session;

private:
    std::unique_ptr<ScriptedUser> userPart;

public:
    // The scripted user (ui/ScriptedUser.hpp).
    ScriptedUser& user;
    UndoHistory undo;

    // The user's Undo: takes the last undoable step back as a whole. False
    // when there is nothing to undo.
    bool UndoLastStep();
    // Answers APIERR_NEEDSUNDOSCOPE, and records the refusal, when `change`
    // would change the model outside an undoable command or notification.
    GSErrCode RequireUndoScope(const std::string& change);
    // The same for a change whose description costs its making: `describe`
    // runs only when the change is refused.
    template <typename Describe> GSErrCode RequireUndoScopeFor(const Describe& describe)
    {
        return undo.InUndoScope() ? NoError : RequireUndoScope(describe());
    }
    // The add-on's stored preferences.
    Preferences preferences;
    // Parameters an object's change replaced, kept for the next change to
    // read its memo into: their names, texts and arrays are storage that
    // need not be allocated again (no meaning of their own).
    GdlParams spareParams;

    View view;

    // Places an object of an active part: its defaults, then the overrides
    // (a parameter the part does not declare is added). A part that is not
    // active gives an object of library index 0 without parameters.
    Element& PlaceObject(const std::string& part, const GdlParams& overrides = {}, Int32 layer = 1);
    // Runs what the object's part computes from its parameters (its script),
    // as on placing and on 'RPAS'; nothing for a part without a behaviour.
    void RecomputeObject(Element& object);

    // The table handed to the add-on, HostFunctionCount entries.
    void* const* Table() const { return table.data(); }
    // The host's main window, as HostMainWindow hands it out.
    void* MainWindow() { return this; }
    HostApi& Api() { return *api; }
    RequestHandlers& Requests() { return *requests; }

private:
    std::unique_ptr<HostApi> api;
    std::unique_ptr<RequestHandlers> requests;
    Host* previous = nullptr;
    // Makes this host the current one, and the one before it current again.
    void MakeCurrent();
    void RestorePrevious();
};

}  // namespace SimHost

// The user's changes and deletions of elements, and the element events the
// host sends the add-on for them. Each user action is one undo step that
// also holds what the add-on changes while it handles the events.
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include "simhost/model/ElementRecords.hpp"
#include <cstring>
#include <unordered_set>

namespace SimHost {

namespace {

const char* KindText(API_NotifyElementID kind)
{
    switch (kind) {
    case APINotifyElement_Change: return "3 (changed)";
    case APINotifyElement_Edit: return "4 (edited)";
    case APINotifyElement_Delete: return "5 (deleted)";
    default: return "of another kind";
    }
}

// Keeps the before-change element at hand for exactly one notification.
class BeforeChangeScope {
public:
    BeforeChangeScope(const Element*& slot, const Element& before) : slot(slot), previous(slot) { slot = &before; }
    ~BeforeChangeScope() { slot = previous; }
    BeforeChangeScope(const BeforeChangeScope&) = delete;
    BeforeChangeScope& operator=(const BeforeChangeScope&) = delete;

private:
    const Element*& slot;
    const Element* previous;
};

}  // namespace

void ScriptedUser::SendElementEvent(API_NotifyElementID kind, const Element& before)
{
    if (host.model.links.ObserverCount(before.guid) <= 0)
        return;
    // The add-on may have deleted the element while it handled an earlier
    // event of the same action; a deleted element is still announced.
    if (kind != APINotifyElement_Delete && host.model.Find(before.guid) == nullptr)
        return;
    ElementEventSent sent;
    sent.kind = kind;
    sent.guid = before.guid;
    const std::string what = std::string("element event ") + KindText(kind) + " for " + GuidText(before.guid);
    APIElementEventHandlerProc* handler = host.session.elementEventHandler;
    if (handler == nullptr) {
        host.recorder.elementEvents.push_back(sent);
        host.recorder.events.push_back(what + ": no handler installed");
        return;
    }
    API_NotifyElementType record;
    std::memset(static_cast<void*>(&record), 0, sizeof record);
    record.notifID = kind;
    const Element* now = host.model.Find(before.guid);
    API_Element element;
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    FillRecord(now != nullptr ? *now : before, element);
    record.elemHead = element.header;

    sent.delivered = true;
    {
        NotificationScope notification(host.undo);
        BeforeChangeScope keep(beforeChange, before);
        try {
            sent.result = handler(&record);
        } catch (...) {
            host.recorder.AddFault("an exception left the add-on's element-event handler");
            sent.result = APIERR_GENERAL;
        }
    }
    host.recorder.elementEvents.push_back(sent);
    host.recorder.events.push_back(what + ": handler result " + HexCode(static_cast<UInt32>(sent.result)));
    host.recorder.CheckBalanced();
}

bool ScriptedUser::ChangeElements(const std::string& action, API_NotifyElementID kind, const std::vector<API_Guid>& guids,
                                  const ElementChange& change, std::string& why)
{
    ModelState start = host.model.Capture();
    std::vector<Element> before;
    std::unordered_set<API_Guid, GuidHash> seen;
    for (const API_Guid& guid : guids) {
        if (!seen.insert(guid).second)
            continue;
        Element* e = host.model.Find(guid);
        if (e == nullptr) {
            why = GuidText(guid) + " is not in the model";
            host.model.Restore(start);
            return false;
        }
        before.push_back(*e);
        if (!change(*e, why)) {
            host.model.Restore(start);
            return false;
        }
    }
    host.recorder.events.push_back("the user's \"" + action + "\": " + std::to_string(before.size()) +
                                   " element(s) changed");
    for (const Element& e : before)
        SendElementEvent(kind, e);
    host.undo.steps.push_back({action, std::move(start)});
    host.recorder.events.push_back("undo step \"" + action + "\"");
    return true;
}

bool ScriptedUser::DeleteElements(const std::string& action, const std::vector<API_Guid>& guids, std::string& why)
{
    std::vector<Element> before;
    std::unordered_set<API_Guid, GuidHash> seen;
    for (const API_Guid& guid : guids) {
        if (!seen.insert(guid).second)
            continue;
        const Element* e = host.model.Find(guid);
        if (e == nullptr) {
            why = GuidText(guid) + " is not in the model";
            return false;
        }
        before.push_back(*e);
    }
    ModelState start = host.model.Capture();
    host.recorder.events.push_back("the user's \"" + action + "\": " + std::to_string(before.size()) +
                                   " element(s) deleted");
    for (const Element& e : before)
        SendElementEvent(APINotifyElement_Delete, e);
    for (const Element& e : before)
        host.model.Remove(e.guid);
    host.undo.steps.push_back({action, std::move(start)});
    host.recorder.events.push_back("undo step \"" + action + "\"");
    return true;
}

}  // namespace SimHost

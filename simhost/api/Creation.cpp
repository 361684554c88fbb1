// Creating and deleting elements, and the add-ons' user data on elements.
// Each changes the model and so runs only inside an undoable command (or a
// notification); the arguments are checked first, so that a bad call gets
// its own code wherever it is made.
#include "simhost/model/ElementRecords.hpp"
#include "simhost/api/HostApi.hpp"
#include "platform/gs/Memory.hpp"
#include "simhost/model/ParamHandles.hpp"
#include <cstring>
#include <unordered_set>

namespace SimHost {

// Objects only: the host models no other type's creation yet. The new
// element lies in the current database; the host gives it a fresh GUID and
// writes it into the record, whatever GUID the record carried. The memo's
// parameters replace the part's defaults when it holds any; then the object
// computes its parameters as a placed object does.
GSErrCode HostApi::CreateElement(API_Element* element, API_ElementMemo* memo)
{
    if (element == nullptr)
        return APIERR_BADPARS;
    if (element->header.typeID != API_ObjectID) {
        host.recorder.AddFault("the stand-in host does not model creating elements of type " +
                               std::to_string(static_cast<Int32>(element->header.typeID)) + " yet");
        return APIERR_GENERAL;
    }
    const LibraryPartDef* part = host.libraries.PartOfIndex(element->object.libInd);
    if (part == nullptr)
        return APIERR_BADINDEX;
    auto layer = host.model.layers.find(element->header.layer);
    if (layer == host.model.layers.end())
        return APIERR_BADINDEX;
    if (layer->second.locked)
        return APIERR_NOTEDITABLE;
    const Int16 story = element->header.floorInd;
    if (story < host.model.firstStory || story > host.model.lastStory)
        return APIERR_BADINDEX;

    Element e;
    e.type = API_ObjectID;
    e.part = ObjectPart{};
    ApplyRecord(e, *element, nullptr);
    e.story = story;
    e.groupGuid = element->header.groupGuid;
    e.database = host.model.currentDatabase;
    ObjectPart& object = e.Object();
    object.params = part->defaults;
    if (memo != nullptr && memo->params != nullptr) {
        std::string fault;
        if (!ReadParamHandle(memo->params, object.params, fault)) {
            host.recorder.AddFault("CreateElement: " + fault);
            return APIERR_BADPARS;
        }
    }
    if (memo != nullptr && memo->elemInfoString != nullptr)
        e.infoString = memo->elemInfoString->Units();

    GSErrCode err = host.RequireUndoScope("creation of a " + part->name + " object");
    if (err != NoError)
        return err;
    Element* added = host.model.Add(std::move(e));  // no GUID yet: the model gives a fresh one
    host.RecomputeObject(*added);
    element->header.guid = added->guid;
    host.recorder.createdElements.push_back(added->guid);
    return NoError;
}

// All or nothing: an unknown GUID in the list, or an element on a locked
// layer, deletes none.
GSErrCode HostApi::DeleteElements(const GS::Array<API_Guid>* guids)
{
    if (guids == nullptr)
        return APIERR_BADPARS;
    std::unordered_set<API_Guid, GuidHash> seen;
    for (const API_Guid& guid : *guids) {
        const Element* e = host.model.Find(guid);
        if (e == nullptr)
            return APIERR_BADID;
        auto layer = host.model.layers.find(e->layer);
        if (layer != host.model.layers.end() && layer->second.locked)
            return APIERR_NOTEDITABLE;
        seen.insert(guid);
    }
    if (seen.empty())
        return NoError;
    GSErrCode err = host.RequireUndoScope("deletion of " + std::to_string(seen.size()) + " element(s)");
    if (err != NoError)
        return err;
    for (const API_Guid& guid : *guids)
        if (host.model.Remove(guid))
            host.recorder.deletedElements.push_back(guid);
    return NoError;
}

// The element keeps a copy of the bytes; a null handle removes the data.
GSErrCode HostApi::SetUserData(API_Elem_Head* head, const API_ElementUserData* userData)
{
    if (head == nullptr || userData == nullptr)
        return APIERR_BADPARS;
    Element* e = host.model.Find(head->guid);
    if (e == nullptr)
        return APIERR_BADID;
    auto layer = host.model.layers.find(e->layer);
    if (layer != host.model.layers.end() && layer->second.locked)
        return APIERR_NOTEDITABLE;
    std::optional<ElementUserData> data;
    if (userData->dataHdl != nullptr) {
        if (!BMhIsValid(userData->dataHdl)) {
            host.recorder.AddFault("SetUserData: a data handle the memory manager did not hand out");
            return APIERR_BADPARS;
        }
        data = ElementUserData{userData->dataVersion, userData->platformSign, {}};
        const Int64 size = BMhGetSize(userData->dataHdl);
        data->bytes.assign(*userData->dataHdl, *userData->dataHdl + size);
    }
    GSErrCode err = host.RequireUndoScope("user data of " + GuidText(e->guid));
    if (err != NoError)
        return err;
    e->userData = std::move(data);
    host.recorder.changedElements.push_back(e->guid);
    return NoError;
}

// Hands out a copy of the bytes in a new handle that the caller frees. An
// element without user data answers APIERR_NOUSERDATA with the record left
// as it was, so that a caller never compares bytes that are not there.
GSErrCode HostApi::GetUserData(API_Elem_Head* head, API_ElementUserData* userData)
{
    if (head == nullptr || userData == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(head->guid);
    if (e == nullptr)
        return APIERR_BADID;
    if (!e->userData)
        return APIERR_NOUSERDATA;
    const ElementUserData& data = *e->userData;
    GSHandle copy = BMhAll(static_cast<Int64>(data.bytes.size()));
    if (copy == nullptr)
        return APIERR_MEMFULL;
    if (!data.bytes.empty())
        std::memcpy(*copy, data.bytes.data(), data.bytes.size());
    userData->dataVersion = data.version;
    userData->platformSign = data.platformSign;
    userData->dataHdl = copy;
    return NoError;
}

}  // namespace SimHost

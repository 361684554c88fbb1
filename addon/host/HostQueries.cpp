#include "addon/host/HostQueries.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include "platform/gs/Memory.hpp"
#include <cstring>

GSErrCode ElementTypeOf(const API_Neig& item, API_ElemTypeID& type)
{
    API_ElemTypeID answer = API_ZombieElemID;
    GSErrCode err = HostRequest::NTOE(&item, &answer);
    type = err == NoError ? answer : API_ZombieElemID;
    return err;
}

GSErrCode ReadSelection(GS::Array<API_Neig>& items, Int32& kind, bool onlyEditable)
{
    API_SelectionInfo info;
    std::memset(static_cast<void*>(&info), 0, sizeof info);
    items.Clear();
    GSErrCode err = HostGetSelection(&info, &items, onlyEditable, true, 0);
    BMhKill(&info.marqueeCoords);
    kind = info.typeID;
    return err;
}

GSErrCode ReadElement(const API_Guid& guid, API_Element& element)
{
    std::memset(static_cast<void*>(&element), 0, sizeof element);
    element.header.guid = guid;
    return HostGetElement(&element);
}

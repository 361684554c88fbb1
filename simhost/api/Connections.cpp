// Elements connected to others: openings in roofs.
#include "HostApi.hpp"

namespace SimHost {

GSErrCode HostApi::GetConnectedElements(API_Guid guid, API_ElemTypeID connectedType, GS::Array<API_Guid>* connected)
{
    if (connected == nullptr)
        return APIERR_BADPARS;
    const Element* e = host.model.Find(guid);
    if (e == nullptr)
        return APIERR_BADID;
    connected->Clear();
    for (const API_Guid& g : e->connected) {
        const Element* c = host.model.Find(g);
        if (c != nullptr && (connectedType == API_ZombieElemID || c->type == connectedType))
            connected->Push(g);
    }
    return NoError;
}

}  // namespace SimHost

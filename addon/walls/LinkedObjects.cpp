#include "addon/walls/LinkedObjects.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/host/HostRequests.hpp"
#include "addon/host/Owners.hpp"
#include "addon/services/GdlParams.hpp"
#include <cstring>

namespace {

const char* const CoordsParam = "et_coords";

void AppendRing(const GS::Array<API_Coord>& ring, const GS::Array<double>* status, UInt32& statusIndex,
                GS::Array<double>& rows)
{
    if (ring.GetSize() == 0)
        return;
    for (UInt32 i = 0; i < ring.GetSize(); ++i, ++statusIndex) {
        double s = 0.0;
        if (status != nullptr && statusIndex < status->GetSize())
            s = (*status)[statusIndex];
        rows.Push(s);
        rows.Push(ring[i].x);
        rows.Push(ring[i].y);
    }
    rows.Push(-1.0);
    rows.Push(ring[0].x);
    rows.Push(ring[0].y);
}

void WriteRows(const GS::Array<double>& rows, API_ElementMemo& memo)
{
    const Int32 count = static_cast<Int32>(rows.GetSize() / 3);
    GdlParams::WriteNumbers(memo.params, CoordsParam, count, 3, count > 0 ? &rows[0] : nullptr);
}

// Keeps the caller's parameter handle out of the memo's disposal on every
// path.
class LentParams {
public:
    LentParams(API_ElementMemo& memo, API_AddParType** params) : memo(memo) { memo.params = params; }
    ~LentParams() { memo.params = nullptr; }
    LentParams(const LentParams&) = delete;
    LentParams& operator=(const LentParams&) = delete;

private:
    API_ElementMemo& memo;
};

}  // namespace

GS::Array<double> PolygonCoordRows(const SegmentedPolygon& polygon, const GS::Array<double>* status)
{
    GS::Array<double> rows;
    UInt32 statusIndex = 0;
    AppendRing(polygon.contour, status, statusIndex, rows);
    for (UInt32 h = 0; h < polygon.holes.GetSize(); ++h)
        AppendRing(polygon.holes[h], status, statusIndex, rows);
    return rows;
}

void WritePolygonCoordsParam(const SegmentedPolygon& polygon, API_ElementMemo& memo)
{
    WriteRows(PolygonCoordRows(polygon, nullptr), memo);
}

void WritePolygonCoordsParamWithStatus(const SegmentedPolygon& polygon, API_ElementMemo& memo, GS::Array<double> status)
{
    WriteRows(PolygonCoordRows(polygon, &status), memo);
}

GSErrCode CreateLinkedObject(const API_Guid& hostElement, Int16 story, const API_Element& objectTemplate,
                             API_AddParType** params, const SegmentedPolygon& polygon, const PlanePartIdValues& partId,
                             GS::Array<double> status)
{
    API_Element host;
    std::memset(static_cast<void*>(&host), 0, sizeof host);
    host.header.guid = hostElement;
    API_Element element;
    std::memcpy(static_cast<void*>(&element), &objectTemplate, sizeof element);
    MemoOwner memo;
    LentParams lent(memo.Get(), params);

    // Without the host element's type the outline cannot be written, and
    // the handle still holds the previous object's: nothing is created.
    GSErrCode err = HostGetElement(&host);
    if (err != NoError)
        return err;
    if (host.header.typeID == API_SlabID)
        WritePolygonCoordsParamWithStatus(polygon, memo.Get(), status);
    else
        WritePolygonCoordsParam(polygon, memo.Get());

    element.header.typeID = API_ObjectID;
    element.header.floorInd = story;
    element.header.guid = APINULLGuid;
    if ((err = HostCreateElement(&element, &memo.Get())) != NoError)
        return err;
    if ((err = HostLinkElements(hostElement, element.header.guid, 0)) != NoError)
        return err;

    if (PlanePartId::IsSet(partId)) {
        HandleOwner data(BMhAllClear(PlanePartId::DataSize));
        if (data.Get() == nullptr)
            return APIERR_MEMFULL;
        std::memcpy(*data.Get(), partId.data(), static_cast<size_t>(PlanePartId::DataSize));
        API_ElementUserData userData;
        std::memset(static_cast<void*>(&userData), 0, sizeof userData);
        userData.dataVersion = PlanePartId::Version;
        userData.platformSign = PlanePartId::PlatformSign;
        userData.dataHdl = data.Get();
        if ((err = HostSetUserData(&element.header, &userData)) != NoError)
            return err;
    }

    const UInt32 flags = APIRecalcParams;
    return HostRequest::RPAS(&element, &flags);
}

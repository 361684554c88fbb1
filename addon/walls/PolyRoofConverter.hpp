// Reinforcement of a roof of several planes, plane by plane: the host
// decomposes the roof and calls the converter once per plane.
#pragma once
#include "platform/api/APIdefs.hpp"

// Places one object per plane of a roof with one layer setting: each plane's
// outline with the roof's openings cut out, the plane steps of a plane roof,
// the object linked to the roof and marked with the plane's part id. Lives
// for one decomposition on its caller's stack.
// (Converter 1 and 2: names kept from earlier versions; 1 places, 2 updates.)
class PolyRoofConverter1 : public API_ElementDecomposerInterface {
public:
    PolyRoofConverter1(API_AddParType** params, const API_Element& objectTemplate);
    virtual ~PolyRoofConverter1() = default;
    PolyRoofConverter1(const PolyRoofConverter1&) = delete;
    PolyRoofConverter1& operator=(const PolyRoofConverter1&) = delete;

    // A plane without a usable outline gets no object, and the host goes on
    // with the next (0). A plane whose object cannot be made whole answers
    // the host's error, so that the decomposition stops there.
    GSErrCode ConvertPlane(const API_Guid& roof, const API_ElemPartId& partId, const API_Element& plane,
                           const API_ElementMemo& memo) override;

    GS::Array<API_Guid> openings;  // the roof's openings, filled by the caller

    bool Failed() const { return failed; }
    Int32 PlanesWithoutOutline() const { return withoutOutline; }

private:
    bool failed = false;
    Int32 withoutOutline = 0;
    API_AddParType** params;  // the layer setting's; not owned
    API_Element objectTemplate;
};

// Brings the objects of a roof of several planes in step with its planes:
// each plane updates the first linked object that carries its part id, and
// marks it as matched (its entry in `links` becomes the null GUID); a plane
// that finds none sets `PlaneWithoutObject`. Lives for one decomposition on
// its caller's stack.
// (Named in the add-on's history; the converter that updates.)
class PolyRoofConverter2 : public API_ElementDecomposerInterface {
public:
    PolyRoofConverter2() = default;
    virtual ~PolyRoofConverter2()
    {
        links.Clear();
        openings.Clear();
    }
    PolyRoofConverter2(const PolyRoofConverter2&) = delete;
    PolyRoofConverter2& operator=(const PolyRoofConverter2&) = delete;

    // Always 0. A plane whose object cannot be changed whole (no usable
    // outline, a read or the change failing) leaves it as it is, still
    // matched, and counts it. A plane whose search met a link that could
    // not be read is unmatched: whether it has an object cannot be told.
    GSErrCode ConvertPlane(const API_Guid& roof, const API_ElemPartId& partId, const API_Element& plane,
                           const API_ElementMemo& memo) override;

    GS::Array<API_Guid> openings;  // the roof's openings, filled by the caller
    GS::Array<API_Guid> links;     // the roof's linked elements, filled by the caller
    bool PlaneWithoutObject = false;

    Int32 ObjectsNotUpdated() const { return notUpdated; }
    bool PlanesUnmatched() const { return unmatched; }

private:
    Int32 notUpdated = 0;
    bool unmatched = false;
};

// Whether the element's user data marks it as the object of the plane: its
// first 12 bytes hold the part id's three integers in order, whatever the
// data's version and platform sign. Data shorter than that marks no plane.
bool UserDataMatchesPlane(const API_ElementUserData& userData, const API_ElemPartId& partId);

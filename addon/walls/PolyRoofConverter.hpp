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

    // Always 0: a plane that cannot be placed gets no object, and the host
    // goes on with the next.
    GSErrCode ConvertPlane(const API_Guid& roof, const API_ElemPartId& partId, const API_Element& plane,
                           const API_ElementMemo& memo) override;

    GS::Array<API_Guid> openings;  // the roof's openings, filled by the caller

private:
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

    // Always 0. A plane whose outline cannot be placed leaves its object as
    // it is, still matched.
    GSErrCode ConvertPlane(const API_Guid& roof, const API_ElemPartId& partId, const API_Element& plane,
                           const API_ElementMemo& memo) override;

    GS::Array<API_Guid> openings;  // the roof's openings, filled by the caller
    GS::Array<API_Guid> links;     // the roof's linked elements, filled by the caller
    bool PlaneWithoutObject = false;
};

// Whether the element's user data marks it as the object of the plane: its
// first 12 bytes hold the part id's three integers in order, whatever the
// data's version and platform sign. Data shorter than that marks no plane.
bool UserDataMatchesPlane(const API_ElementUserData& userData, const API_ElemPartId& partId);

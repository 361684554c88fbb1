// Reinforcement of a roof of several planes, plane by plane: the host
// decomposes the roof and calls the converter once per plane.
#pragma once
#include "platform/api/APIdefs.hpp"

// Places one object per plane of a roof with one layer setting: each plane's
// outline with the roof's openings cut out, the plane steps of a plane roof,
// the object linked to the roof and marked with the plane's part id. Lives
// for one decomposition on its caller's stack.
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

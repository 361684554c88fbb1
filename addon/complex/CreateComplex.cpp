#include "addon/complex/CreateComplex.hpp"
#include "addon/complex/BuildComplex.hpp"
#include "addon/complex/ComplexChecks.hpp"
#include "addon/complex/ComplexSteps.hpp"
#include "addon/complex/IronIdDialog.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "addon/services/CommandTrace.hpp"
#include "addon/services/ResStrings.hpp"
#include "platform/dg/DGModal.hpp"

bool CreateComplexElement(const ObjectCreator& creator)
{
    if (CheckSelectionForKind(creator.kind) != SelectionCheck::Passed)
        return false;
    IronIdDialogData data;
    if (!CollectExistingIronIds(creator, data))
        return false;
    data.kind = creator.kind;
    if (DGModalDialog(OwnResourceModule(), ComplexIdDialogId, OwnResourceModule(), ComplexIdDialogProc,
                      &data) != IdOkButton)
        return true;
    API_Coord3D point{0, 0, 0};
    if (CurrentComplexSteps().clickPoint(GetResString(ResStr::Messages::ClickToPlaceObject), KindOutline(creator.kind),
                                         point) != NoError)
        return true;
    BuildComplexElement(creator, data.LastId(), data.layer, creator.kind != CrowningKind && data.withList, point);
    return true;
}

bool CreateCrowningCommand()
{
    TraceCommand("CreateCrowningCommand");
    const ObjectCreator creator(CrowningKind);
    return CreateComplexElement(creator);
}

bool CreateBeamCommand()
{
    TraceCommand("CreateBeamCommand");
    const ObjectCreator creator(BeamKind);
    return CreateComplexElement(creator);
}

bool CreateColumnCommand()
{
    TraceCommand("CreateColumnCommand");
    const ObjectCreator creator(ColumnKind);
    return CreateComplexElement(creator);
}

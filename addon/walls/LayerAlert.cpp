#include "addon/walls/LayerAlert.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/services/AddOnGlobals.hpp"
#include "addon/services/ResStringIds.hpp"
#include "platform/dg/DGAlert.hpp"

bool FinishAfterThisLayer()
{
    // Only "Make additional reinforcement" asks for a further layer. An
    // alert that could not be shown (0) finishes: the user has accepted the
    // layer and was not asked for more, so what was defined is placed.
    return DGResAlert(OwnResourceModule(), ResAlert::AdditionalLayer::AlertId) != ResAlert::AdditionalLayer::More;
}

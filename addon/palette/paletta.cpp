#include "paletta.hpp"
#include "frame/Boundary.hpp"

GSErrCode PaletteControlCallback(Int32, Int32, GS::IntPtr)
{
    return CallGuarded("PaletteControlCallback", APIERR_GENERAL, [] { return NoError; });
}

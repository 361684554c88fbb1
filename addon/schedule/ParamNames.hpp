// The GDL parameter names of the add-on's library parts, in one place.
// Every name is matched exactly, letter case included; an object that lacks
// one is read and written without it.
#pragma once

namespace ParamName {

// Host-element objects placed by the Wall, Slab and Roof command.
constexpr const char* EtCoords = "et_coords";
constexpr const char* EtThickness = "et_thickness";
constexpr const char* EtCurveAngle = "et_curveangle";
constexpr const char* EtCurveRadius = "et_curveradius";
constexpr const char* EtSameDirection = "et_bSameDirection";
constexpr const char* WallReinforcement = "wall_reinforcement";
constexpr const char* IronAngleX = "ironAngleX";
constexpr const char* IronAngleY = "ironAngleY";
constexpr const char* LayerPosY = "LayerPosY";
constexpr const char* Position = "iPosition";
constexpr const char* PlacedManual = "bIronPlacedManual";

// Bars, stirrups and concrete blocks.
constexpr const char* Dummy = "dummy";
constexpr const char* IronQuality = "strIronQuality";
constexpr const char* FilterLength = "bFilterLength";
constexpr const char* SymbolPositions = "symbPos";
constexpr const char* OnlyOneBar = "bOnlyOneBar";

// Bar data shared by individual objects, complex objects and the list.
constexpr const char* IronType = "ironType";
constexpr const char* IronData = "ironData";
constexpr const char* IronExtraData = "ironExtraData";
constexpr const char* IronListingData = "ironListingData";
constexpr const char* IronId = "strIronID";
constexpr const char* IsListing = "bIsListing";

// Complex objects: one row per sub-bar.
constexpr const char* SubBarPositions = "ironPos";
constexpr const char* SubBarRotations = "ironRotate";
constexpr const char* SubBarMirrored = "ironMirrored";
constexpr const char* SubBarBox = "ironMinMax";
constexpr const char* SubBarIds = "ironID";
constexpr const char* SubBarQualities = "IronQualityData";
constexpr const char* ApiGenerated = "bApiGenerated";
constexpr const char* ShowSection = "bShowSection";
constexpr const char* Bounding = "ironBounding";

// The cutting list.
constexpr const char* ListStrings = "ironStringData";
constexpr const char* ListType = "ironListType";
constexpr const char* ListName = "ironListName";
constexpr const char* DataInput = "bDataInput";
constexpr const char* TableContentTexts = "tableContentTexts";

// Every part.
constexpr const char* MinApiVersion = "minApiVersion";
constexpr const char* MaxApiVersion = "maxApiVersion";

}  // namespace ParamName

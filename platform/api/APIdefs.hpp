// The host API as an add-on sees it: records, codes and callback types.
//
// Records cross the boundary as fixed-size blocks that the caller owns and
// zeroes; their sizes are part of the contract and are checked below. The
// header is compiled once per host version (HOST_VERSION 24 or 25).
#pragma once
#include "platform/geometry/GeometryTypes.hpp"
#include "platform/gs/Array.hpp"
#include "platform/gs/GSTypes.hpp"
#include "platform/gs/UniString.hpp"
#include "platform/io/Location.hpp"
#include <cstddef>
#include <cstring>
#include <functional>

#if !defined(HOST_VERSION) || (HOST_VERSION != 24 && HOST_VERSION != 25)
#error "HOST_VERSION must be 24 or 25"
#endif

// ---------------------------------------------------------------- versions
#if HOST_VERSION == 24
constexpr UInt32 HostInterfaceStamp = 0x00180002;
constexpr UInt32 HostVersionNumber = 24000;
constexpr UInt32 HostFunctionCount = 577;
constexpr USize ElementMemoSize = 1232;
constexpr USize StoryInfoSize = 152;
#else
constexpr UInt32 HostInterfaceStamp = 0x00190001;
constexpr UInt32 HostVersionNumber = 25000;
constexpr UInt32 HostFunctionCount = 616;
constexpr USize ElementMemoSize = 1248;
constexpr USize StoryInfoSize = 160;
#endif

// ---------------------------------------------------------------- error codes
constexpr GSErrCode APIERR_GENERAL = static_cast<GSErrCode>(0x81060001);    // the add-on's own failure
constexpr GSErrCode APIERR_MEMFULL = static_cast<GSErrCode>(0x81060002);
constexpr GSErrCode APIERR_BADPARS = static_cast<GSErrCode>(0x81060004);
constexpr GSErrCode APIERR_BADID = static_cast<GSErrCode>(0x81060012);
constexpr GSErrCode APIERR_BADINDEX = static_cast<GSErrCode>(0x81060014);
constexpr GSErrCode APIERR_NOTEDITABLE = static_cast<GSErrCode>(0x81060040);
constexpr GSErrCode APIERR_NOMEMOMASK = static_cast<GSErrCode>(0x81060068);  // change without a memo mask
constexpr GSErrCode APIERR_BADLIBRARY = static_cast<GSErrCode>(0x810600D0);  // a library that cannot be added
constexpr GSErrCode APIERR_NOSEL = static_cast<GSErrCode>(0x810600CE);       // nothing selected
constexpr GSErrCode APIERR_BADTOKEN = static_cast<GSErrCode>(0x81060300);
constexpr GSErrCode APIERR_REFUSEDCMD = static_cast<GSErrCode>(0x81060310);
constexpr GSErrCode APIERR_CANCEL = static_cast<GSErrCode>(0x81060320);
constexpr GSErrCode APIERR_NEEDSUNDOSCOPE = static_cast<GSErrCode>(0x81060390);  // a change outside an undoable command
constexpr GSErrCode APIERR_NOUSERDATA = static_cast<GSErrCode>(0x81060391);     // an element without user data
constexpr GSErrCode APIERR_MISSINGCODE = static_cast<GSErrCode>(0x81060387);  // no such function in the table

// ---------------------------------------------------------------- request codes
using API_RequestCode = UInt32;
// Four letters as a big-endian 32-bit value: RequestCode("NTOE").
constexpr API_RequestCode RequestCode(const char (&s)[5])
{
    return (static_cast<UInt32>(static_cast<unsigned char>(s[0])) << 24) |
           (static_cast<UInt32>(static_cast<unsigned char>(s[1])) << 16) |
           (static_cast<UInt32>(static_cast<unsigned char>(s[2])) << 8) | static_cast<UInt32>(static_cast<unsigned char>(s[3]));
}

// ---------------------------------------------------------------- basic records
struct API_Guid {
    UInt32 time_low;
    UInt16 time_mid;
    UInt16 time_hi_and_version;
    UInt8 clock_seq_hi_and_reserved;
    UInt8 clock_seq_low;
    UInt8 node[6];
};
static_assert(sizeof(API_Guid) == 16, "API_Guid");
inline bool operator==(const API_Guid& a, const API_Guid& b) { return std::memcmp(&a, &b, sizeof a) == 0; }
inline bool operator!=(const API_Guid& a, const API_Guid& b) { return !(a == b); }
constexpr API_Guid APINULLGuid = {0, 0, 0, 0, 0, {0, 0, 0, 0, 0, 0}};
// For GS::HashTable keyed by GUIDs.
inline UInt32 HashValue(const API_Guid& g)
{
    UInt32 words[4];
    std::memcpy(words, &g, sizeof words);
    return words[0] ^ (words[1] * 0x9E3779B1u) ^ (words[2] * 0x85EBCA77u) ^ (words[3] * 0xC2B2AE3Du);
}

struct API_Coord {
    double x;
    double y;
};
static_assert(sizeof(API_Coord) == 16, "API_Coord");

struct API_Coord3D {
    double x;
    double y;
    double z;
};

struct API_Sector {
    API_Coord c1;
    API_Coord c2;
};

struct API_Box {
    double xMin, yMin, xMax, yMax;
};

// An element's bounding box in space: what 'CABO' (API_Elem_Head*, box out)
// of the database call gives.
struct API_Box3D {
    double xMin, yMin, zMin, xMax, yMax, zMax;
};
static_assert(sizeof(API_Box3D) == 48, "API_Box3D");

// One arc of a host polygon (the geometry library's PolyArcRec).
using API_PolyArc = PolyArcRec;

enum API_ElemTypeID : Int32 {
    API_ZombieElemID = 0,
    API_WallID = 1,
    API_ColumnID = 2,
    API_BeamID = 3,
    API_WindowID = 4,
    API_DoorID = 5,
    API_ObjectID = 6,
    API_LampID = 7,
    API_SlabID = 8,
    API_RoofID = 9,
    API_MeshID = 10,
    API_DimensionID = 11,
    API_TextID = 16,
    API_LineID = 18,
    API_HotlinkID = 38,
    API_ShellID = 41,
    API_MorphID = 43,
    API_OpeningID = 44,
};

// One selected item.
struct API_Neig {
    Int32 neigID;  // what was hit (element, node, edge ...); the host's own code
    API_Guid guid;
    UInt32 flags;
    Int32 inIndex;
    Int32 elemPartType;
    Int32 reserved;
};
static_assert(sizeof(API_Neig) == 36, "API_Neig");

// Selection information. typeID 0 means nothing is selected; the caller
// frees marqueeCoords with BMhKill.
struct API_SelectionInfo {
    Int32 typeID;
    Int32 sel_nElem;
    Int32 sel_nElemEdit;
    Int32 filler;
    GSHandle marqueeCoords;
    char reserved[40];
};

// ---------------------------------------------------------------- element records
struct API_Elem_Head {
    API_ElemTypeID typeID;
    Int32 variationID;
    API_Guid guid;
    Int32 layer;        // attribute index of the layer
    Int16 floorInd;     // story index
    Int16 filler1;
    API_Guid groupGuid;
    API_Guid hotlinkGuid;
    UInt64 modiStamp;
    bool hasMemo;
    bool lockable;
    char filler2[6];
    char reserved[16];
};
static_assert(sizeof(API_Elem_Head) == 96, "API_Elem_Head");

constexpr USize ElementRecordSize = 4856;

// A placed library-part instance (element type 6).
struct API_ObjectType {
    Int32 libInd;  // the library part, as the host numbers its parts
    Int32 filler;
    API_Coord pos;
    double level;
    double angle;
    double xRatio;
    double yRatio;
    bool reflected;
    bool useObjMaterials;
    char filler2[6];
};

// The counts an element record keeps beside its memo polygon: coordinates
// (without the unused entry 0), sub-polygons and arcs.
struct API_Polygon {
    Int32 nCoords;
    Int32 nSubPolys;
    Int32 nArcs;
};
static_assert(sizeof(API_Polygon) == 12, "API_Polygon");

// A wall (element type 1).
struct API_WallType {
    Int32 structureKind;          // 0 basic, 1 built from a composite, 2 profiled
    Int32 compositeIndex;         // attribute index of the composite when structureKind is 1
    Int32 slantCode;              // 0 upright, 1 slanted, 2 slanted both ways
    Int32 referenceLineLocation;  // 0 to 5: where the reference line lies in the wall
    API_Coord begC;               // reference line, begin point
    API_Coord endC;               // reference line, end point
    double thickness;
    double height;
    double bottomOffset;
    double offsetFromOutside;     // the reference line's offset from the outside face
    double angle;                 // arc angle; 0 for a straight wall
    double slantAlpha;            // first slant angle; pi/2 upright
    double slantBeta;             // second slant angle
    bool flipped;
    char filler[7];
    API_Polygon poly;             // counts of the plan polygon in the memo
    Int32 filler2;
};
static_assert(sizeof(API_WallType) == 128, "API_WallType");
// A slab (element type 8): its outline is in the memo.
struct API_SlabType {
    double thickness;
    double level;   // of the slab's top, from its home story
    double offset;  // the slab's offset from its level; the top is at level + offset
    API_Polygon poly;
    Int32 filler;
};
static_assert(sizeof(API_SlabType) == 40, "API_SlabType");

// A roof (element type 9). Class 0 is a plane roof with its outline in the
// memo; any other class is a roof of several planes, which the host hands
// out plane by plane.
struct API_RoofType {
    Int32 roofClass;
    Int32 filler;
    double level;      // of the pivot line
    double thickness;
    double angle;      // slope, radians
    API_Coord pivotBegin;
    API_Coord pivotEnd;
    bool posSign;      // the roof rises to the left of the pivot line
    char filler2[3];
    API_Polygon poly;
    Int32 filler3;
};
static_assert(sizeof(API_RoofType) == 88, "API_RoofType");

// Element-type parts of the record are added by the code that reads them;
// all of them live in the union and the record keeps its size.
struct API_Element {
    API_Elem_Head header;
    union {
        API_ObjectType object;
        API_WallType wall;
        API_SlabType slab;
        API_RoofType roof;
        char raw[ElementRecordSize - sizeof(API_Elem_Head)];
    };
};
static_assert(sizeof(API_Element) == ElementRecordSize, "API_Element");

// A change mask is an element record in which the fields to change are
// marked: the host changes a field when any byte of it is not zero and
// leaves every other field as it was. `part` is the record's member
// (header, object, wall, slab, roof) and `field` the field within it:
//   API_Element mask;
//   ACAPI_ELEMENT_MASK_CLEAR(mask);
//   ACAPI_ELEMENT_MASK_SET(mask, object, pos);
#define ACAPI_ELEMENT_MASK_CLEAR(mask) std::memset(static_cast<void*>(&(mask)), 0, sizeof(API_Element))
#define ACAPI_ELEMENT_MASK_SET(mask, part, field) \
    std::memset(static_cast<void*>(&(mask).part.field), 0xFF, sizeof((mask).part.field))
#define ACAPI_ELEMENT_MASK_CHECK(mask, part, field) ElementMaskMarks(&(mask).part.field, sizeof((mask).part.field))

// Whether a field of a change mask is marked: any of its bytes not zero.
// Read byte by byte, so that a marked bool (0xFF) is never loaded as one.
inline bool ElementMaskMarks(const void* field, USize size)
{
    const unsigned char* p = static_cast<const unsigned char*>(field);
    for (USize i = 0; i < size; ++i)
        if (p[i] != 0)
            return true;
    return false;
}

struct API_AddParType;

// Parts of an element memo a call asks for or changes.
constexpr UInt64 APIMemoMask_Polygon = 0x0000000000000001ull;
constexpr UInt64 APIMemoMask_AddPars = 0x0000000000000002ull;
constexpr UInt64 APIMemoMask_ElemInfoString = 0x0000000000000004ull;
constexpr UInt64 APIMemoMask_All = 0x3FFFFFFFFFFFFFFFull;

struct API_ElementMemoFields {
    API_Coord** coords;
    Int32** pends;
    PolyArcRec** parcs;
    UInt32** vertexIDs;
    API_AddParType** params;
    GS::UniString* elemInfoString;
};

struct API_ElementMemo : API_ElementMemoFields {
    char reserved[ElementMemoSize - sizeof(API_ElementMemoFields)];
};
static_assert(sizeof(API_ElementMemo) == ElementMemoSize, "API_ElementMemo");

// One GDL parameter of a library part or object.
enum API_AddParID : Int32 {
    APIParT_Integer = 1,
    APIParT_Length = 2,
    APIParT_Angle = 3,
    APIParT_RealNum = 4,
    APIParT_Boolean = 5,
    APIParT_CString = 6,
    APIParT_Title = 7,
    APIParT_Separator = 8,
};

struct API_AddParType {
    API_AddParID typeID;
    Int16 index;
    UInt16 flags;
    char name[32];
    GS::uchar_t uDescname[256];
    union {
        double real;
        GS::uchar_t uStr[256];  // inline text: at most 255 units and the terminator
        GSHandle array;         // dim1 x dim2 doubles, or dim1 x dim2 NUL-terminated UTF-16 texts
    } value;
    Int32 dim1;
    Int32 dim2;
    char reserved[1600 - 1072];
};
static_assert(sizeof(API_AddParType) == 1600, "API_AddParType");

struct API_LibPartFields {
    Int32 typeID;
    Int32 index;
    char ownUnID[128];
    char parentUnID[128];
    GS::uchar_t docu_UName[256];
    GS::uchar_t file_UName[256];
    void* location;  // IO::Location*, owned by the caller when set
    bool isTemplate;
    bool isPlaceable;
    bool missingDef;
    bool isSecondary;
};
struct API_LibPart : API_LibPartFields {
    char reserved[1344 - sizeof(API_LibPartFields)];
};
static_assert(sizeof(API_LibPart) == 1344, "API_LibPart");

struct API_DatabaseInfoFields {
    Int32 typeID;  // 1 floor plan, 3 detail ...
    Int32 index;
    API_Guid databaseUnId;
    GS::uchar_t name[256];
    GS::uchar_t ref[256];
};
struct API_DatabaseInfo : API_DatabaseInfoFields {
    char reserved[1624 - sizeof(API_DatabaseInfoFields)];
};
static_assert(sizeof(API_DatabaseInfo) == 1624, "API_DatabaseInfo");

struct API_StoryType;
struct API_StoryInfoFields {
    Int16 firstStory;
    Int16 lastStory;
    Int16 actStory;
    bool skipNullFloor;
    char filler;
    API_StoryType** data;
};
struct API_StoryInfo : API_StoryInfoFields {
    char reserved[StoryInfoSize - sizeof(API_StoryInfoFields)];
};
static_assert(sizeof(API_StoryInfo) == StoryInfoSize, "API_StoryInfo");

// A layer's flag word (API_Attr_Head::flags): 0x1 hidden, 0x2 locked.
constexpr UInt32 APILay_Hidden = 0x1;
constexpr UInt32 APILay_Locked = 0x2;

// Filter bits of the element filter and of listing elements by type.
constexpr UInt32 APIFilt_IsEditable = 0x1;   // not on a locked layer
constexpr UInt32 APIFilt_OnVisLayer = 0x2;   // on a layer that is shown
constexpr UInt32 APIFilt_OnActFloor = 0x4;   // on the current story

// Database types of the current window ('GDAT').
constexpr Int32 APIWind_FloorPlanID = 1;
constexpr Int32 APIWind_SectionID = 2;
constexpr Int32 APIWind_DetailID = 3;
constexpr Int32 APIWind_3DModelID = 4;

// The view and its pictures.
// The host's special folders ('GSPF'): the kind asked for.
using API_SpecFolderID = Int32;
constexpr API_SpecFolderID API_TempFolderID = 7;  // a temporary folder of the running host

// A file the view is saved into ('SAVE'): its file type and location.
constexpr Int32 APIFType_JpegFile = 25;
struct API_FileSavePars {
    Int32 fileTypeID;
    Int32 filler;
    IO::Location* file;
    char reserved[48];
};
static_assert(sizeof(API_FileSavePars) == 64, "API_FileSavePars");

// How a picture is saved ('SAVE' of a picture type).
constexpr Int32 APIColorDepth_TC24 = 6;  // true colour, 24 bits a pixel
struct API_SavePars_Picture {
    Int32 colorDepth;
    bool blackAndWhite;   // byte 4: every line and fill in black on white
    bool zoomedArea;      // byte 5: only the zoomed area (no meaning in a 3D window)
    bool smoothLines;     // byte 6: lines drawn antialiased
    char reserved[33];
};
static_assert(sizeof(API_SavePars_Picture) == 40 && offsetof(API_SavePars_Picture, blackAndWhite) == 4 &&
                  offsetof(API_SavePars_Picture, smoothLines) == 6,
              "API_SavePars_Picture");

// The point input's record ('IPOI'): the prompt (8-bit text), the option
// bytes, the host's eight cursor codes and, after a click, the point and
// what lies under it.
struct API_GetPointTypeFields {
    char prompt[256];         // 0
    bool changeFilter;        // 256
    bool changePlane;         // 257: the option byte
    char filler1[22];         // 258
    Int32 cursorCodes[8];     // 280 to 311
    API_Coord3D pos;          // 312: the clicked point
    API_Neig neig;            // 336
};
static_assert(offsetof(API_GetPointTypeFields, changePlane) == 257, "API_GetPointType option byte");
static_assert(offsetof(API_GetPointTypeFields, cursorCodes) == 280, "API_GetPointType cursor codes");
static_assert(offsetof(API_GetPointTypeFields, pos) == 312, "API_GetPointType point");
struct API_GetPointType : API_GetPointTypeFields {
    char reserved[488 - sizeof(API_GetPointTypeFields)];
};
static_assert(sizeof(API_GetPointType) == 488, "API_GetPointType");

// A rubber line ('DRLI'): its two ends and the drawing mode.
struct API_RubberLineType {
    API_Coord3D c1;
    API_Coord3D c2;
    Int32 drawModes;
    char reserved[12];
};
static_assert(sizeof(API_RubberLineType) == 64, "API_RubberLineType");

// What the host hands the rubber-line callback of a point input each time
// the cursor moves: the cursor's position first.
struct API_RubberLineInfo {
    API_Coord3D actCoord;
    char reserved[40];
};
static_assert(sizeof(API_RubberLineInfo) == 64, "API_RubberLineInfo");
// The rubber-line callback: draws with 'DRLI'; the host does not use its result.
using APIRubberLineInfoProc = GSErrCode(const API_RubberLineInfo* info);

// A colour with its opacity, each part from 0 to 1 (highlights, 'HGEL').
struct API_RGBAColor {
    double f_red;
    double f_green;
    double f_blue;
    double f_alpha;
};

struct API_ElementUserData {
    Int16 dataVersion;
    UInt16 platformSign;  // 0x5757 on Windows
    UInt32 flags;
    GSHandle dataHdl;
    char reserved[8];
};
static_assert(sizeof(API_ElementUserData) == 24, "API_ElementUserData");

// One of the host's active libraries.
struct API_LibraryInfo {
    IO::Location location;
    GS::UniString name;
    bool readOnly = false;
};

// ---------------------------------------------------------------- 3D bodies
// The element's bodies, as indices into the host's 3D components (from 1).
struct API_ElemInfo3D {
    Int32 fbody;
    Int32 lbody;
    Int32 flight;
    Int32 llight;
    double bounds[6];  // xMin, yMin, zMin, xMax, yMax, zMax
};
static_assert(sizeof(API_ElemInfo3D) == 64, "API_ElemInfo3D");

// Kinds of 3D component that HostGet3DComponent reads.
enum API_3DTypeID : Int32 {
    API_BodyID = 1,     // counts and the body's transformation
    API_PgonID = 2,     // a polygon: its vector and its polygon-edge range
    API_PedgID = 3,     // a polygon-edge entry: a signed edge index
    API_EdgeID = 4,     // an edge: its two vertex indices
    API_VertID = 5,     // a vertex
    API_VectID = 6,     // a normal vector
};

struct API_3DCompHead {
    API_3DTypeID typeID;
    Int32 index;  // from 1; a polygon, edge, vertex or vector index is within the body given in bodyIndex
};

struct API_BodyType {
    Int32 nVert;
    Int32 nVect;
    Int32 nEdge;
    Int32 nPgon;
    double tranmat[12];  // 3 rows of 4: rotation and translation to model coordinates
};
struct API_PgonType {
    Int32 fpedg;  // first and last polygon-edge entry, from 1
    Int32 lpedg;
    Int32 ivect;  // vector index; negative for the reversed vector
    Int32 filler;
};
struct API_PedgType {
    Int32 pedg;  // signed edge index; 0 separates the rings of a polygon with holes
};
struct API_EdgeType {
    Int32 vert1;
    Int32 vert2;
};
struct API_VertType {
    double x, y, z;
};
struct API_VectType {
    double x, y, z;
};

struct API_Component3D {
    API_3DCompHead head;
    Int32 bodyIndex;  // the body the other kinds belong to
    Int32 filler;
    union {
        API_BodyType body;
        API_PgonType pgon;
        API_PedgType pedg;
        API_EdgeType edge;
        API_VertType vert;
        API_VectType vect;
        char raw[112];
    };
};
static_assert(sizeof(API_Component3D) == 128, "API_Component3D");

// ---------------------------------------------------------------- attributes
enum API_AttrTypeID : Int32 {
    API_LayerID = 2,
    API_MaterialID = 3,
    API_CompWallID = 5,  // composite structures
};

struct API_Attr_Head {
    API_AttrTypeID typeID;
    Int32 index;
    UInt32 flags;
    Int32 filler;
    GS::uchar_t name[256];
};
static_assert(sizeof(API_Attr_Head) == 528, "API_Attr_Head");

struct API_CompWallType {
    Int16 nComps;  // number of skins
    Int16 nLines;
    Int32 filler;
    double totalThick;
};

struct API_Attribute {
    API_Attr_Head header;
    union {
        API_CompWallType compWall;
        char raw[1024 - sizeof(API_Attr_Head)];
    };
};
static_assert(sizeof(API_Attribute) == 1024, "API_Attribute");

// One skin of a composite.
struct API_CWallComponent {
    Int32 fillPat;
    Int16 framePen;
    Int16 flagBits;  // 16-bit flag word; 2 alone marks the core skin
    double fillThick;
};
static_assert(sizeof(API_CWallComponent) == 16, "API_CWallComponent");

// What HostGetAttributeDefs fills; freed with HostDisposeAttributeDefs.
struct API_AttributeDefExt {
    API_CWallComponent** cwall_compItems;  // nComps skins
    char reserved[56];
};
static_assert(sizeof(API_AttributeDefExt) == 64, "API_AttributeDefExt");

// The flag value of 'RPAS': the object computes its parameters again.
constexpr UInt32 APIRecalcParams = 0x10000000;

// ---------------------------------------------------------------- binding records
using API_EnvirKind = Int32;  // 1: the host's main application

struct API_ServerApplicationInfo {
    API_EnvirKind serverApplication;
    Int32 mainVersion;
    Int32 releaseVersion;
    Int32 buildNum;
    Int32 language;
    Int32 reserved[3];
};

struct API_AddOnInfo {
    GS::UniString name;
    GS::UniString description;
};

struct API_EnvirParams {
    API_ServerApplicationInfo serverInfo;
    API_AddOnInfo addOnInfo;
};

// Result of the environment check: 2 means a normal add-on that stays loaded.
enum API_AddonType : Int32 { APIAddon_DontRegister = 0, APIAddon_Unknown = 1, APIAddon_Normal = 2, APIAddon_Preload = 3 };

// The menu command the user chose: the menu's string-list id and the
// item, numbered from 1.
struct API_MenuParams {
    Int16 menuResID;
    Int16 filler;
    Int32 itemIndex;
    Int32 reserved[2];
};

enum API_NotifyElementID : Int32 {
    APINotifyElement_New = 1,
    APINotifyElement_Copy = 2,
    APINotifyElement_Change = 3,
    APINotifyElement_Edit = 4,
    APINotifyElement_Delete = 5,
    APINotifyElement_Undo_Created = 6,
    APINotifyElement_Undo_Modified = 7,
    APINotifyElement_Undo_Deleted = 8,
};

struct API_NotifyElementType {
    API_NotifyElementID notifID;
    Int32 filler;
    API_Elem_Head elemHead;
    API_Elem_Head* observedHead;
    char reserved[16];
};

using HostToken = void*;

using APIMenuCommandProc = GSErrCode(const API_MenuParams*);
using APIElementEventHandlerProc = GSErrCode(const API_NotifyElementType*);
using APISelectionChangeHandlerProc = GSErrCode(const API_Neig*);
using APIPaletteControlCallBackProc = GSErrCode(Int32 referenceID, Int32 messageID, GS::IntPtr param);

// Palette messages the host sends to a registered palette.
enum API_PaletteMessageID : Int32 {
    APIPalMsg_ClosePalette = 1,
    APIPalMsg_HidePalette_Begin = 2,
    APIPalMsg_HidePalette_End = 3,
    APIPalMsg_DisableItems_Begin = 4,
    APIPalMsg_DisableItems_End = 5,
    APIPalMsg_OpenPalette = 6,
    APIPalMsg_IsPaletteVisible = 7,  // the parameter points to a bool to fill
};

struct API_MenuRecord {
    Int16 menuStrResID;
    Int16 promptStrResID;
    Int32 position;  // the host's position code
    Int32 flags;
    char reserved[20];
};

struct API_PaletteRecord {
    Int32 referenceID;
    Int32 filler;
    APIPaletteControlCallBackProc* callback;
    Int32 flags;
    unsigned char guid[16];
    char reserved[28];
};

// The add-on's entry record, filled by GetExportedFuncAddrs.
using CheckEnvironmentProc = API_AddonType(API_EnvirParams*);
using RegisterInterfaceProc = GSErrCode();
using InitializeProc = GSErrCode(HostToken);
using FreeDataProc = GSErrCode();

struct API_EntryRecord {
    UInt32 stamp;
    UInt32 filler;
    CheckEnvironmentProc* checkEnvironment;
    RegisterInterfaceProc* registerInterface;
    InitializeProc* initialize;
    FreeDataProc* freeData;
    UInt32 hostVersion;
    char reserved[76];
};
static_assert(sizeof(API_EntryRecord) == 120, "API_EntryRecord");
static_assert(offsetof(API_EntryRecord, checkEnvironment) == 8 && offsetof(API_EntryRecord, freeData) == 32 &&
                  offsetof(API_EntryRecord, hostVersion) == 40,
              "API_EntryRecord layout");

// The two exports of every add-on.
using GetExportedFuncAddrsProc = void(API_EntryRecord*);
using SetImportedFuncAddrsProc = GSErrCode(void* const* table);

// A body run as one undoable step; returns an error code (0 commits).
using UndoableBody = std::function<GSErrCode()>;

// A dialog item the host turns into one of its own controls ('SUCC').
constexpr Int32 APIControl_LayerChooser = 18;
struct API_UCCallbackType {
    Int32 type;
    Int16 dialogID;
    Int16 itemID;
    char reserved[24];
};
static_assert(sizeof(API_UCCallbackType) == 32, "API_UCCallbackType");

// ---------------------------------------------------------------- placing into host elements
// The object tool's settings dialog ('SETD'): the tool and its variation.
constexpr Int32 APIVarId_Symbol = static_cast<Int32>(RequestCode("SYMB"));
struct API_ToolBoxItem {
    API_ElemTypeID typeID;
    Int32 variationID;
};

// A wall's outline as the host draws it on the plan: 1-based vertices,
// each contour closed by repeating its first vertex, contour ends with
// entry 0 = 0 (a free straight wall: 4 corners, the first contour ending at
// vertex 5). The caller releases it with HostDisposeOutlineRecord.
struct API_ElementOutline {
    API_Coord** coords;
    Int32** pends;
    PolyArcRec** parcs;
};

// One plane's part id within an element the host decomposes.
struct API_ElemPartId {
    Int32 main;
    Int32 sub;
    Int32 floor;
};
static_assert(sizeof(API_ElemPartId) == 12, "API_ElemPartId");

// What the host calls once per plane when it decomposes a roof of several
// planes: the roof, the plane's part id, a plane-roof element record of
// the plane and the plane's memo (its outline). The host owns the record
// and the memo. Objects of it live on the caller's stack; no one deletes
// one through this interface.
class API_ElementDecomposerInterface {
public:
    virtual GSErrCode ConvertPlane(const API_Guid& element, const API_ElemPartId& partId, const API_Element& plane,
                                   const API_ElementMemo& memo) = 0;

protected:
    ~API_ElementDecomposerInterface() = default;
};

// The detail drawing of a new complex element: a detail database named
// after the element holding a copy of each of its bars, shifted so that
// the bars' plan extents start at the origin, each copy and each bar linked
// by a BarLinkRecord in its user data.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "addon/schedule/IronRecords.hpp"
#include <string>

// Element user data of a bar's copy in a detail drawing and of the bar
// itself; the GUIDs and the database ID as the host hands them over.
struct BarLinkRecord {
    API_Guid barGuid;
    API_Guid copyGuid;
    API_Guid detailDatabaseId;
};
static_assert(sizeof(BarLinkRecord) == 48, "BarLinkRecord");

constexpr Int16 BarLinkVersion = 256;
constexpr UInt16 BarLinkPlatformSign = 0x5757;

// Attaches the link to the element of the record (version 256, sign
// 0x5757, a handle holding a copy of the 48 bytes); nothing when the handle
// cannot be made. The host's code is not examined by the callers.
GSErrCode AttachBarLink(API_Element& element, const BarLinkRecord& link);

// The body of the undoable step that copies the w sub-bars into the current
// database (the detail drawing): each record is shifted by the origin, taken
// out of its group and created with its memo, which is then disposed; link
// i names bar i, its copy and the detail database and goes onto the copy
// and onto the bar. A record marked as no element (a bar that could not be
// read) is not copied, and a bar the host did not copy gets no link.
// Returns 0, or the code of the first bar that could not be read, copied or
// linked, so that the step is taken back whole.
GSErrCode CopyBarsToDetailCommand(Int32 w, GSHandle links, API_Element* elements, const API_Coord& origin,
                                  API_ElementMemo* memos, const API_DatabaseInfo& detail);

// The detail step of a create run: the drawing, the copies and the links in
// their own undoable step under `undoName`, and the window switched back.
// The result is the code of the first thing that failed (the drawing, the
// switch to it, a copy or a link), for the create run to fail its step with.
GSErrCode CreateDetailDrawing(ComplexElementKind kind, const std::string& id, const GS::UniString& undoName,
                         const IronGroups& groups, const API_Coord& origin);

// Fills a UTF-16 field of a database record from 8-bit text: at most the
// field's units but one, and the terminator.
void SetDatabaseText(GS::uchar_t* field, size_t units, const std::string& text);

// Switches the window back to the database of before; when the host refuses
// that, to the floor plan, rather than leaving the user in a detail drawing.
void SwitchBack(const API_DatabaseInfo& previous);

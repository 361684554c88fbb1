// Building a complex element from the selected bars, stirrups and concrete
// blocks: their groups and new IDs, the complex object with one row per
// sub-bar, its detail drawing and, when asked for, its cutting list.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "addon/schedule/PlacementManager.hpp"
#include <optional>
#include "addon/host/Owners.hpp"
#include "addon/services/ResStrings.hpp"
#include <string>

// Moves every sub-bar's position and symbol box so that the smallest x, the
// smallest y and the smallest z of all positions become 0, each coordinate
// on its own. The plan box stays. The creator is not read.
void NormalizeBarPositions(const ObjectCreator& creator, IronGroups& groups);

// The number of sub-bars: every member of every group.
Int32 SubBarCount(const IronGroups& groups);

// The smallest plan-box x and y over every sub-bar: the origin the detail
// drawing's copies are shifted to.
API_Coord PlanOrigin(const IronGroups& groups);

// The number of data values a row declares (its form's third value), cut to
// the values the row holds, never below 0.
Int32 DeclaredDataCount(const IronProperties& record);

// Writes the complex object's parameters for the groups (sub-bars in group
// order, members in order) into the default parameters of its part.
void FillComplexObjectParams(ComplexElementKind kind, const std::string& id, const IronGroups& groups,
                             API_AddParType** params);

// Writes the cutting list of the element: a row per group that is not a
// concrete block.
void FillComplexListParams(ComplexElementKind kind, const std::string& id, const IronGroups& groups,
                           API_AddParType** params);

// Reads the selection silently into groups, as a create or edit run of the
// kind takes it (the kind's complex objects into `selectedComplex` and a
// selected list into `listGuid`, when given), and numbers the groups as a
// complex element's bars are numbered: IDs made unique, sorted, compressed,
// sorted by properties and renumbered. False when the reading refused.
bool ReadNumberedSelection(ComplexElementKind kind, PlacementManager& manager, RunGroups& run,
                           GS::VAArray<API_Guid>* selectedComplex, API_Guid* listGuid);

// Builds the element with the accepted ID on the layer at the point. False
// when the reading refused, a part was missing or the object tool's
// defaults were not to be had.
bool BuildComplexElement(const ObjectCreator& creator, const std::string& id, Int16 layer, bool withList,
                         const API_Coord3D& point);

// Sets the memo's element information string for the time it lives: one
// the host handed out is changed in place, else the memo points at ours
// until this goes.
class InfoStringSetter {
public:
    InfoStringSetter(API_ElementMemo& memo, const GS::UniString& text);
    ~InfoStringSetter();
    InfoStringSetter(const InfoStringSetter&) = delete;
    InfoStringSetter& operator=(const InfoStringSetter&) = delete;

private:
    API_ElementMemo& memo;
    GS::UniString own;
};

// A zeroed object record and memo with the object tool's defaults, the
// part's library index and default parameters, at the point with rotation
// 0. False when the defaults cannot be had; `partParamsRequired`: also when
// the part's parameters cannot.
bool PrepareObject(Int32 libInd, Int16 layer, const API_Coord3D& point, API_Element& element, MemoOwner& memo,
                   bool partParamsRequired);

// The alert of a missing complex part of the kind: 130/31, 130/33 or 130/32.
RSStringId MissingComplexPartMessage(ComplexElementKind kind);

// Has a list recompute ('RPAS'), writes it back, marks its data as given
// ("bDataInput" 1) and writes it once more, as a new list gets them; a memo
// the host cannot give again is not written back. False when the list does
// not recompute or a read or write of it fails.
bool RecomputeGivenList(API_Element& element, MemoOwner& memo);

// Creates the list object, has it recompute ('RPAS'), writes it back, marks
// its data as given ("bDataInput" 1) and writes it once more. The memo is
// disposed. The first failure (the creation, the recompute or a write) goes
// into `error` and is returned, for the step to fail with.
// A locked layer is the caller's to open (LayerUnlock) around the call.
GSErrCode CreateListObjectCommand(GSErrCode& error, API_Element& element, MemoOwner& memo);

// Asks for the list's point and places the element's list there on `layer`
// (opened and locked again around the creation), inside the caller's step.
// NoError when the user gives no point. The list part is looked for after
// the click unless `knownListInd` gives it. The code of what failed.
GSErrCode PlaceComplexList(ComplexElementKind kind, const std::string& id, const IronGroups& groups, Int16 layer,
                           std::optional<Int32> knownListInd);

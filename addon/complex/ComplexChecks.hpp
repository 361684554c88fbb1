// The checks of a create run: which library parts the selection may hold,
// each object's position against the kind's rules, and the totals.
#pragma once
#include "addon/complex/ComplexKind.hpp"
#include "addon/services/ResStrings.hpp"
#include <optional>

// Library indexes of the three parts a complex element is made of.
struct ComplexPartIndexes {
    Int32 rebar = 0;
    Int32 stirrup = 0;
    Int32 concrete = 0;
    Int32 mesh = 0;  // looked up by the edit commands only; 0 matches no object
};

// Which command checks: a create run refuses every object that is not a
// bar, stirrup or concrete block; an edit run refuses only meshes and lets
// complex objects, lists and single bars pass.
enum class ComplexRun {
    Create,
    Edit,
};

// What the checks counted over the examined objects.
struct SelectionTally {
    Int32 items = 0;     // selected items, of whatever type
    Int32 rebars = 0;    // rf_rebar objects read
    Int32 stirrups = 0;  // rf_stirrup objects read
    Int32 singular = 0;  // "bOnlyOneBar" records set
    bool polygonal = false;  // a crowning's rebar of another form than straight
};

// The part of a library index among the three (and the mesh, when its
// index is known), or nothing for any other.
std::optional<LibraryPart> ComplexMemberPart(const ComplexPartIndexes& parts, Int32 libInd);

// The iPosition the kind requires of a part and the message when it is
// another; nothing when the part's position is not tested.
struct PositionRule {
    double required;
    RSStringId message;
};
std::optional<PositionRule> RequiredPosition(ComplexElementKind kind, LibraryPart part);

// Walks one examined object's parameter records in order, counting into the
// tally; the message that refuses the selection, if any. `part` is nothing
// for an object of another library part.
std::optional<RSStringId> CheckObjectParams(ComplexElementKind kind, std::optional<LibraryPart> part,
                                            API_AddParType** params, SelectionTally& tally,
                                            ComplexRun run = ComplexRun::Create);

// The totals, in their order; the message of the first that fails.
std::optional<RSStringId> CheckTotals(ComplexElementKind kind, const SelectionTally& tally);

enum class SelectionCheck {
    Passed,
    Refused,  // the refusal's alert was shown
    Failed,   // the selection could not be read; no message
};

// Looks up the three parts (an edit run also the mesh; an alert for the
// first missing one), reads the selection and checks it; alerts are shown
// through the host.
SelectionCheck CheckSelectionForKind(ComplexElementKind kind, ComplexRun run = ComplexRun::Create);

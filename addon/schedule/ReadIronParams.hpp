// Reading one placed object of the add-on's library into a record.
#pragma once
#include "addon/schedule/IronRecords.hpp"
#include "addon/services/ComplexElementKind.hpp"
#include <optional>
#include <string>

// What the object read is, and for which run.
struct IronReadOptions {
    bool isBar = false;
    bool isStirrup = false;
    bool isConcrete = false;
    // The kind of complex element an edit run reads the object for; none
    // for the cutting list.
    std::optional<ComplexElementKind> editedKind;
};

// Reads a bar, stirrup or concrete block. `memo` is the object's memo with
// its parameters; for a complex element the object is made to compute its
// parameters again and the memo is read again from the host, in place.
// False when the object must not or cannot be used; a bar that was not
// placed by hand is refused with a message when read for a complex element.
bool ReadIronParams(const API_Element& element, API_ElementMemo& memo, const IronReadOptions& options,
                    std::string& id, IronProperties& record);

// Reads a complex object after making it compute its parameters again.
bool ReadComplexIronParams(const API_Element& element, API_ElementMemo& memo, std::string& id,
                           ComplexIronProperties& record);

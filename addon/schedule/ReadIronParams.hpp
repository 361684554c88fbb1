// Reading one placed object of the add-on's library into a record.
#pragma once
#include "addon/schedule/IronRecords.hpp"
#include <string>

// Reads a bar, stirrup or concrete block. `memo` is the object's memo with
// its parameters; it is read again from the host, in place, when the object
// is made to compute its parameters again (kind above 0: the objects are
// read for a complex element, 1 crowning, 2 beam, 3 column; 0 in the cutting
// list). False when the object must not or cannot be used; a bar that was
// not placed by hand is refused with a message when read for a complex
// element.
bool ReadIronParams(const API_Element& element, API_ElementMemo& memo, bool isBar, bool isStirrup, bool isConcrete,
                    Int32 kind, std::string& id, IronProperties& record);

// Reads a complex object after making it compute its parameters again.
bool ReadComplexIronParams(const API_Element& element, API_ElementMemo& memo, std::string& id,
                           ComplexIronProperties& record);

// Element records as the host fills them and reads them back: the common
// header, then the part of the element's type, each type in its own
// functions (ElementRecords.cpp).
#pragma once
#include "simhost/model/Model.hpp"

namespace SimHost {

// Fills the record from the element (the caller zeroed it).
void FillRecord(const Element& element, API_Element& record);
// Takes the record's fields that the mask selects into the element; a null
// mask selects all. Fields the host does not let an add-on change (GUID,
// type) stay as they are.
void ApplyRecord(Element& element, const API_Element& record, const API_Element* mask);

}  // namespace SimHost

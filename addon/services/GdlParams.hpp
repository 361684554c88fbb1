// Reading and writing the GDL parameters of objects and library parts.
//
// A parameter handle holds API_AddParType records back to back. Every
// record whose name equals the wanted name exactly (case and whole string)
// is visited; none is skipped after a first match. Writers change the
// handle in place: single values in the record, arrays through their value
// handle, which is resized to exactly the new size.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gs/UniString.hpp"
#include <functional>
#include <utility>
#include <vector>

namespace GdlParams {

// Number of whole records in the handle (0 for a null handle).
Int32 Count(API_AddParType** params);
API_AddParType* Record(API_AddParType** params, Int32 index);

// Visits the records of that name, in handle order.
void ForEachNamed(API_AddParType** params, const char* name, const std::function<void(API_AddParType&)>& visit);
// The same, from the last record to the first.
void ForEachNamedReverse(API_AddParType** params, const char* name, const std::function<void(API_AddParType&)>& visit);

// The records of one handle by name, for a caller that finds several names
// in the same handle: built by one walk over the records, which notes each
// name's length and first letter, so that a lookup compares the letters of
// the records that agree in both only, instead of those of every record. It
// holds as long as the handle keeps its records and their names (the
// writers below change values only).
class NameIndex {
public:
    explicit NameIndex(API_AddParType** params);
    API_AddParType** Params() const { return params; }
    // Visits the records of that name, in handle order.
    void ForEachNamed(const char* name, const std::function<void(API_AddParType&)>& visit) const;

private:
    API_AddParType** params;
    std::vector<UInt32> signatures;  // per record: the name's length and first letter
};

bool IsArray(const API_AddParType& rec);
// The record's value type: numbers (integer, length, angle, real, boolean)
// or texts. A record of the other type counts as missing for every reader
// and writer below: its value area holds something else.
bool HoldsNumbers(const API_AddParType& rec);
bool HoldsTexts(const API_AddParType& rec);

// Values of one record: its single number (`missing` for a text, an array
// or a record without a value), its inline text (empty likewise).
double Number(const API_AddParType& rec, double missing = 0.0);
GS::UniString Text(const API_AddParType& rec);
// Cell (row, column), 0-based; 0 / empty when outside the array, when the
// value handle is shorter than its dimensions, or for a record of the
// other type.
double ArrayNumber(const API_AddParType& rec, Int32 row, Int32 column);
GS::UniString ArrayText(const API_AddParType& rec, Int32 row, Int32 column);

// Writers for every record of the name; false when the handle has none.
// A text longer than 255 units is cut to 255 (the inline value holds 255
// units and its terminator).
bool WriteNumber(API_AddParType** params, const char* name, double value);
bool WriteText(API_AddParType** params, const char* name, const GS::UniString& value);
// rows x columns values, row by row. False also when a value handle cannot
// be resized (that record keeps its old value). No rows and no columns
// leave the record without a value handle.
bool WriteNumbers(API_AddParType** params, const char* name, Int32 rows, Int32 columns, const double* values);
bool WriteTexts(API_AddParType** params, const char* name, Int32 rows, Int32 columns, const GS::UniString* values);
// The same through an index of the handle.
bool WriteNumber(const NameIndex& index, const char* name, double value);
bool WriteText(const NameIndex& index, const char* name, const GS::UniString& value);
bool WriteNumbers(const NameIndex& index, const char* name, Int32 rows, Int32 columns, const double* values);
bool WriteTexts(const NameIndex& index, const char* name, Int32 rows, Int32 columns, const GS::UniString* values);

}  // namespace GdlParams

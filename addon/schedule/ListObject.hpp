// The cutting-list object: the rows a run gives its data parameters, and
// the writing of those parameters into the list the run found or into a
// new list placed where the user clicks.
#pragma once
#include "addon/schedule/PlacementManager.hpp"
#include <string>
#include <vector>

// The list's data, row by row: every array has `rows` rows.
struct ListRows {
    Int32 rows = 0;
    Int32 width = 0;  // W, the values of each ironData row; 0: no usable data
    std::vector<std::string> strings;  // ID and quality of each row (8-bit texts)
    std::vector<double> type;  // 4 per row
    std::vector<double> data;  // width per row
    std::vector<double> extra;  // 10 per row
    std::vector<double> listing;  // 5 per row
};

constexpr Int32 ListTypeColumns = 4;
constexpr Int32 ListExtraColumns = 10;
constexpr Int32 ListListingColumns = 5;
// The most data values a row can declare: a bar has a handful of segments,
// and a count read from a damaged object must not make the list's arrays
// huge.
constexpr Int32 MaxListDataValues = 1024;

// A number of data values as an object declares it (an ironType column 2):
// truncated toward zero; 0 for a value that is not a positive finite
// number, at most MaxListDataValues.
Int32 DataValueCount(double declared);

// The number of list rows the groups give (the complex groups may be null).
Int32 CountListRows(const IronGroups& groups, const ComplexIronGroups* complexGroups);

// Every row's data. Arrays shorter than the rows they ought to give read as
// 0 beyond their end, an absent sub-bar ID or quality as an empty text.
ListRows BuildListRows(const IronGroups& groups, const ComplexIronGroups* complexGroups);

// Fills the list the manager names (`listGuid`) or places a new one, inside
// the run's undoable step; sets `listAborted` when no list was written or a
// new one was placed. The result is the code of a read or write of the list
// that failed (the list that cannot be read is never written back), for the
// step to fail with; NoError otherwise.
GSErrCode WriteListObject(PlacementManager& manager, const IronGroups& groups, const ComplexIronGroups* complexGroups);

// What the cutting list's GDL script computes: its table, from the data
// parameters the add-on writes (row r of each describes one list item):
//   ironStringData[r]  (bar mark, grade)
//   ironType[r]        (90 for a sub-bar that is not listed, else 0; the
//                      shape code; the number of data values; unused)
//   ironListingData[r] (number of bars, diameter in metres, length of one
//                      bar, total length, mass in kg)
// The table, tableContentTexts, is a bar schedule in the host's language:
// a header row; one row per item with its bar mark, grade, shape code,
// diameter in mm, length of one bar in m, number of bars, total length in
// m and mass in kg; and a total row with the number of bars, the total
// length and the mass summed. Lengths and masses have two decimals.
// The table follows the data only once they were written (bDataInput set
// above 1e-5); until then the list keeps the table it has, so that a list
// placed with a table of its own shows that table.
#pragma once
#include "simhost/model/Model.hpp"

namespace SimHost {

void ComputeListTable(ObjectPart& object);

}  // namespace SimHost

// What a bar's GDL script computes from its data: its listing values.
//
// The bar's parameters mean (row r for each bar the object holds):
//   ironType[r]        (90 for a sub-bar that is not listed, else 0; the
//                      form; n, the number of ironData values; unused)
//   ironData[r]        the lengths of the bar's n straight segments, in
//                      metres; the bar's length is their sum
//   ironExtraData[r]   (the bar's length, written by the script, so that the
//                      length filter compares lengths; the diameter in mm,
//                      12 when missing or not above 0; the number of bars,
//                      1 when missing or not above 0)
//   ironListingData[r] (number of bars, diameter in metres, length of one
//                      bar, total length = number x length, mass in kg =
//                      0.006165 x d^2 x total length, d in mm); all 0 for
//                      a sub-bar that is not listed
#pragma once
#include "simhost/model/Model.hpp"

namespace SimHost {

void ComputeBarListing(ObjectPart& object);

}  // namespace SimHost

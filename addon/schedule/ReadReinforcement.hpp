// The first pass of every run over the placed reinforcement: reads the
// add-on's objects of the current view into groups of equal objects with
// equal ID, finds the cutting-list object among them and, for the edit
// commands, picks out the complex objects being edited.
#pragma once
#include "addon/schedule/PlacementManager.hpp"

// Which objects are read.
enum ReadMode : Int32 {
    ReadAll = 1,
    ReadSelected = 2,  // any mode but 1 and 3
    ReadSelectedOrAll = 3,
};

// Reads into `run.groups`, and into `run.complexGroups` when `readComplex`.
// `selectedComplex`, when given, receives every complex object of `kind`
// (1 crowning, 2 beam, 3 column, 4 the fourth complex object; 0 the cutting
// list). `listGuid`, when given, receives the one cutting-list object (a
// second one refuses the run). `silent`: no progress and no cancel, and the
// listing sums count every member. False when the run must stop.
bool ReadReinforcementObjects(PlacementManager& manager, RunGroups& run, bool readComplex,
                              GS::VAArray<API_Guid>* selectedComplex, API_Guid* listGuid, Int32 mode, Int32 kind,
                              bool silent);

// The dialog procedure of the locked-layers question: a click on "Yes" (1)
// or "No" (2) closes the dialog with it.
Int16 LockedLayersDialogCallback(Int16 message, Int16 dialog, Int16 item, void* userData);

constexpr Int16 LockedLayersDialogId = 32510;

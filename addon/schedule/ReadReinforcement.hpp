// The first pass of every run over the placed reinforcement: reads the
// add-on's objects of the current view into groups of equal objects with
// equal ID, finds the cutting-list object among them and, for the edit
// commands, picks out the complex objects being edited.
#pragma once
#include "addon/schedule/PlacementManager.hpp"
#include "addon/services/ComplexElementKind.hpp"
#include <optional>

// Which objects are read.
enum ReadMode : Int32 {
    ReadAll = 1,
    ReadSelected = 2,  // any mode but 1 and 3
    ReadSelectedOrAll = 3,
};

// How one run reads.
struct ReadOptions {
    ReadMode mode = ReadSelectedOrAll;
    // The complex objects too, into `run.complexGroups` (the cutting list
    // reads them; an edit does not).
    bool readComplex = false;
    // The kind of complex element an edit run reads for; none for the
    // cutting list. Its bars are read after making them compute their
    // parameters again, and only bars placed by hand are taken.
    std::optional<ComplexElementKind> editedKind;
    // No progress and no cancel, and the listing sums count every member.
    bool silent = false;
};

// Reads into `run.groups` (and `run.complexGroups`, see above).
// `selectedComplex`, when given, receives every complex object of the
// edited kind. `listGuid`, when given, receives the one cutting-list object
// (a second one refuses the run). False when the run must stop.
bool ReadReinforcementObjects(PlacementManager& manager, RunGroups& run, const ReadOptions& options,
                              GS::VAArray<API_Guid>* selectedComplex = nullptr, API_Guid* listGuid = nullptr);

// The dialog procedure of the locked-layers question: a click on "Yes" (1)
// or "No" (2) closes the dialog with it.
Int16 LockedLayersDialogCallback(Int16 message, Int16 dialog, Int16 item, void* userData);

constexpr Int16 LockedLayersDialogId = 32510;

// The add-on's one stored preferences record: the layer and the "With
// Cutting List" choice that dialog 32511 shows when it opens, kept by the
// host between runs.
#pragma once
#include "platform/api/APIdefs.hpp"
#include "platform/gs/ByteOrder.hpp"
#include <optional>

struct AddOnPreferences {
    UInt8 withList;     // non-zero: "With Cutting List" on
    UInt8 reserved[3];  // not read
    Int32 layer;        // in the byte order of the platform that wrote it
};
static_assert(sizeof(AddOnPreferences) == 8, "AddOnPreferences");

constexpr Int32 AddOnPreferencesVersion = 256;
constexpr Int32 AddOnPreferencesSize = 8;

// The record as this platform reads it: its values converted from the
// writer's byte order.
AddOnPreferences ConvertPreferences(AddOnPreferences stored, GSPlatformSign writer);

// The stored record, converted; nothing when none is stored, when its
// version or size is another, or when the host cannot give it.
std::optional<AddOnPreferences> ReadAddOnPreferences();

// Stores the record on this platform's sign, version 256, 8 bytes; the
// host's code.
GSErrCode WriteAddOnPreferences(bool withList, Int32 layer);

// The masks the add-on reads and writes memos with, named by what they keep
// (the single parts are APIdefs.hpp's APIMemoMask_...).
#pragma once
#include "platform/api/APIdefs.hpp"

// Every part of the memo but the one of bit 30, which none of the add-on's
// reads and writes asks for: what the add-on means by the whole memo.
constexpr UInt64 MemoAllButBit30 = APIMemoMask_All & ~(UInt64{1} << 30);
static_assert(MemoAllButBit30 == 0x3FFFFFFFBFFFFFFFull, "the host's whole-memo mask less bit 30");

// The plan polygon with its arcs: coordinates and ring ends (bit 0) and the
// arcs (bit 3).
constexpr UInt64 MemoPolygonAndArcs = APIMemoMask_Polygon | (UInt64{1} << 3);

// Every bit set: every part of the memo, the ones the host may add included.
constexpr UInt64 MemoEveryBit = ~UInt64{0};

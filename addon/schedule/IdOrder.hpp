// The order of group IDs.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <functional>
#include <string>
#include <vector>

// Order of two group IDs: greater than 0 when a goes after b. IDs that both
// end in digits after the same prefix (letter case included) go by the value
// of those digits, of any length; all others by their bytes, ASCII letters
// without case. Not a consistent order over every set of IDs:
// "a9" < "a10" < "a1b" < "a9".
int CompareIds(const std::string& a, const std::string& b);

// The order in which a bubble sort by CompareIds (neighbours exchanged when
// the earlier goes after the later) leaves `ids`: positions into `ids`.
// `beforePass` is called with the pass number (from 1) before each pass the
// sort makes; when it returns false the sort stops and so does this, with
// false. A list already in order is left as it is after one pass; a set of
// IDs on which CompareIds is a consistent order is sorted in one step
// (stable, so the same order); any other by the bubble sort itself, which
// stops after a pass without exchanges.
bool BubbleOrderByIds(const std::vector<const std::string*>& ids, std::vector<Int32>& order,
                      const std::function<bool(Int32)>& beforePass);

// Reading the wall-geometry library's reply and the wall description.
//
// Both texts come from outside the add-on's control (the reply from a
// separate library), so nothing here trusts them: a text nested deeper than
// any of the formats, text after the JSON value, a number beyond the double
// range, a value of another type than the format gives or a missing key
// makes the whole text unusable. Nothing throws.
//
// Pure: no host call, no platform type, so that the fuzz target builds these
// readers on their own.
#pragma once
#include <optional>
#include <picojson.h>
#include <string>
#include <vector>

namespace WallJson {

// Parses one JSON value filling the whole text (white space around it
// allowed); false for anything else.
bool ParseJsonText(const std::string& text, picojson::value& out);

struct ReplyPoint {
    double x = 0;
    double z = 0;
};
using ReplyLoop = std::vector<ReplyPoint>;
struct ReplyPolygon {
    std::vector<ReplyLoop> loops;
    double outerIndex = 0;
};

// The reply's polygons, or nothing when the reply is not usable.
std::optional<std::vector<ReplyPolygon>> ReadWallFaceReply(const std::string& text);

struct WallSkin {
    double thickness = 0;
    double core = 0;
};
// What the layer readers take from a wall description.
struct WallDescriptionValues {
    double angle = 0;
    std::vector<WallSkin> composites;
    std::vector<double> polygon2d;
};

// Nothing for "{}" (no readable wall) or a description of other types.
std::optional<WallDescriptionValues> ReadWallDescriptionValues(const std::string& text);

// The largest arc radius of a flattened plan polygon, stepping 7 numbers
// after a leading 1 and 3 after a leading 0 (each read as a whole number)
// and 1 after anything else; `start` when there is no arc.
double LargestArcRadius(const std::vector<double>& polygon2d, double start);
// The smallest, stepping the same way; `start` when there is no arc.
double SmallestArcRadius(const std::vector<double>& polygon2d, double start);

// The description with "internal": false added (or replacing what was
// there), serialised compactly; nothing when it is not a JSON object.
std::optional<std::string> MarkRequestInternal(const std::string& description);

// The request's "slantalpha" (the wall's slant angle); nothing when the
// text is no JSON object or the member is missing or not a number.
std::optional<double> ReadSlantAlpha(const std::string& request);

}  // namespace WallJson

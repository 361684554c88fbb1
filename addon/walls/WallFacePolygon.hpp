// The outline of a wall face from the wall-geometry library's reply, in the
// frame of the reinforcement object on the picked side of the wall.
#pragma once
#include "addon/geometry/SegmentedPolygon.hpp"
#include "addon/walls/WallJson.hpp"
#include <functional>
#include <string>
#include <vector>

// The wall the face belongs to, as the mapping needs it. A wall is straight
// when its arc angle is exactly 0.
struct WallFaceFrame {
    bool sameDirection = true;  // the picked side runs from the reference line's begin to its end
    double arcAngle = 0;
    API_Coord begin{0, 0};
    API_Coord end{0, 0};
    bool flipped = false;
};

// Asks the library for the face of `request` in `job`, and appends its
// outline and holes to `out`. Ends the job, exactly once, on every path.
// `out` stays as it was when the library gives no usable reply.
void GetWallFacePolygon(const std::string& request, bool sameDirection, SegmentedPolygon& out, int job, double arcAngle,
                        const API_Coord& begin, const API_Coord& end, bool flipped);

// The mapping of a read reply into `out`. Loops of fewer than two points
// are left out. A curved wall's holes are placed with the last outer loop
// read; with none, they stay where the reply has them (mirrored about 0
// without same direction).
void AppendWallFace(const std::vector<WallJson::ReplyPolygon>& reply, const WallFaceFrame& wall, SegmentedPolygon& out);

// The sender's order: begin a job, describe the wall at the two depths,
// mark the request internal, and fetch the face (which ends the job); a
// description that is not a JSON object ends the job at once. False when
// no request was sent.
bool RequestWallFacePolygon(API_Guid wall, double startdepth, double enddepth, const WallFaceFrame& frame,
                            SegmentedPolygon& out);

// What became of a face request that may be stopped after its text is made.
enum class WallFaceRequest {
    NotSent,  // the description was no JSON object; the job is ended
    Stopped,  // `beforeFetch` answered false; the job is ended, nothing fetched
    Fetched,  // the library was asked; `out` holds the face when it answered
};

// The same order, with `beforeFetch` shown the request text before the
// face is fetched; it may stop the request there.
WallFaceRequest RequestWallFacePolygon(API_Guid wall, double startdepth, double enddepth, const WallFaceFrame& frame,
                                       SegmentedPolygon& out,
                                       const std::function<bool(const std::string& request)>& beforeFetch);

// The add-on's polygon: an outer ring and holes of straight edges only, each
// arc of a host polygon replaced by a chain of points on it.
//
// Rings list their vertices in order without repeating the first at the
// end. Built from a memo, every ring runs counter-clockwise, the memo's first
// vertex is the origin, and a vertex status list tells for each vertex (the
// contour's, then each hole's) whether it is ordinary (0), begins an arc (1)
// or was inserted on an arc (2).
//
// Empty rings: the signed area of an empty ring is 0; the bounding box of an
// empty contour is all zeros; the transforms have nothing to visit. The
// accessors take unchecked indices from their callers, but GS::Array still
// refuses an index beyond its ring with GS::OutOfRangeException, so nothing
// is read or written outside a ring.
//
// Malformed memo handles are clipped, never read beyond: a partial record at
// the end of a handle is ignored; a ring's vertex range is cut to the
// coordinates the handle holds (entry 0 is never a vertex); a hole that keeps
// no vertex is left out; an arc whose end index lies outside the
// coordinates, whose angle is not finite or whose part count does not fit
// 16 bits inserts nothing.
#pragma once
#include "platform/api/APIdefs.hpp"

class SegmentedPolygon {
public:
    GS::Array<API_Coord> contour;
    GS::Array<GS::Array<API_Coord>> holes;
    const UInt16 ArcResolution;  // parts of a full turn of arc

    SegmentedPolygon();

    // Replaces the rings by the memo's polygon (coordinates 1-based, contour
    // ends, arcs 0-based in any order; arcs may be null) and appends one
    // status value per vertex to `status`; values already in it stay as
    // they are.
    void BuildSegmentedPolygon(const API_Coord* const* coords, const Int32* const* pends, const PolyArcRec* const* parcs,
                               GS::Array<double>& status);
    // Appends vertices first .. end - 1 of the coordinates to `ring`, each
    // followed by the points inserted on the first arc that begins there.
    void AppendArcRange(const API_Coord* const* coords, UInt32 first, UInt32 end, const PolyArcRec* const* parcs,
                        GS::Array<API_Coord>& ring, GS::Array<double>& status) const;

    // Positive for a counter-clockwise ring.
    static double SignedContourArea(const GS::Array<API_Coord>& ring);
    API_Box ContourBoundingBox() const;

    // Each visits the contour, then every hole.
    void TranslateSegmentedPolygon(double dx, double dy);
    void RotateSegmentedPolygon(double angle);
    void ScaleSegmentedPolygon(double a, double b);

    API_Coord GetContourVertex(UInt32 index) const;
    API_Coord GetHoleVertex(UInt32 r, UInt32 c) const;
    UInt32 GetHoleVertexCount(UInt32 r) const;
    // Appends a copy of `ring` to the holes and leaves `ring` empty.
    void PushHoleFromContour(GS::Array<API_Coord>& ring);
    // Vertex c of hole r becomes (x - p.x, y - p.y).
    void OffsetHoleVertex(UInt32 r, UInt32 c, const API_Coord& p);
    // The x of vertex c of hole r becomes (a.x - b.x) - x.
    void MirrorHoleVertexX(UInt32 r, UInt32 c, const API_Coord& a, const API_Coord& b);

    // Reverses the whole list.
    static void ReverseFlagArray(GS::Array<double>& list);
    // After a ring reversal and ReverseFlagArray each 1 sits at the end of
    // its run of 2 values; this moves it back to the run's start, where the
    // reversed arc now begins.
    static void FixArcStartFlags(GS::Array<double>& list);
};

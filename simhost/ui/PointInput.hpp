// The host's point input and what the view shows around it: the user's
// scripted answers to point inputs (a path of cursor positions, then a
// click or a cancel), every point input shown with the rubber lines its
// callback drew at each position, the elements highlighted and the boxes
// the view was zoomed to.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <deque>
#include <string>
#include <utility>
#include <vector>

namespace SimHost {

// What the user does at the next point input: moves the cursor along the
// path, then clicks at `click` or cancels.
struct PointAnswer {
    std::vector<API_Coord3D> path;
    bool cancel = false;
    API_Coord3D click = {0, 0, 0};
};

struct DrawnLine {
    API_Coord3D c1 = {0, 0, 0};
    API_Coord3D c2 = {0, 0, 0};
    Int32 mode = 0;
};

// One position the host handed the rubber-line callback, and what it drew there.
struct CursorStop {
    API_Coord3D at = {0, 0, 0};
    bool click = false;
    std::vector<DrawnLine> lines;
};

struct ShownPointInput {
    std::string prompt;  // UTF-8
    bool changeFilter = false;
    bool changePlane = false;
    Int32 cursorCodes[8] = {0, 0, 0, 0, 0, 0, 0, 0};
    bool withFeedback = false;
    bool answered = false;  // false: no answer was scripted, the input was cancelled
    bool cancelled = false;
    API_Coord3D click = {0, 0, 0};
    std::vector<CursorStop> stops;
};

class PointInputScript {
public:
    void Give(const PointAnswer& answer) { answers.push_back(answer); }

    // The answers still to come, in order; a point input with none left is cancelled.
    std::deque<PointAnswer> answers;
    // Every point input shown, in order.
    std::vector<ShownPointInput> shown;
    // Every rubber line drawn, in order, over all point inputs.
    std::vector<DrawnLine> lines;
    // The stop the callback is drawing for; null outside the callback.
    CursorStop* drawing = nullptr;
};

}  // namespace SimHost

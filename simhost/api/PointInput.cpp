// The point input with its rubber lines, the element highlight and the zoom.
#include "simhost/api/Requests.hpp"
#include <cstdio>
#include <cstring>

namespace SimHost {

namespace {

std::string PointText(const API_Coord3D& p)
{
    char buf[96];
    std::snprintf(buf, sizeof buf, "(%.6g, %.6g, %.6g)", p.x, p.y, p.z);
    return buf;
}

}  // namespace

GSErrCode RequestHandlers::IPOI(API_GetPointType* point, APIRubberLineInfoProc* feedback)
{
    if (point == nullptr)
        return APIERR_BADPARS;
    PointInputScript& script = host.user.pointInputs;
    if (script.drawing != nullptr) {
        host.recorder.AddFault("'IPOI' from inside a point input's rubber-line callback");
        return APIERR_REFUSEDCMD;
    }
    ShownPointInput shown;
    const void* end = std::memchr(point->prompt, 0, sizeof point->prompt);
    if (end == nullptr)
        host.recorder.AddFault("'IPOI': the prompt is not ended within its 256 bytes");
    std::string prompt(point->prompt, end != nullptr ? static_cast<const char*>(end) - point->prompt : sizeof point->prompt);
    shown.prompt = GS::UniString(prompt.c_str(), CC_Default).ToUtf8();
    shown.changeFilter = point->changeFilter;
    shown.changePlane = point->changePlane;
    std::memcpy(shown.cursorCodes, point->cursorCodes, sizeof shown.cursorCodes);
    shown.withFeedback = feedback != nullptr;
    shown.answered = !script.answers.empty();
    PointAnswer answer;
    if (shown.answered) {
        answer = script.answers.front();
        script.answers.pop_front();
    } else {
        answer.cancel = true;
    }
    shown.cancelled = answer.cancel;
    shown.click = answer.click;

    // The host hands the callback every position the cursor stops at, the
    // click's too, as the cursor moves there before the click.
    std::vector<CursorStop> stops;
    for (const API_Coord3D& at : answer.path)
        stops.push_back({at, false, {}});
    if (!answer.cancel)
        stops.push_back({answer.click, true, {}});
    for (CursorStop& stop : stops) {
        if (feedback != nullptr) {
            API_RubberLineInfo info;
            std::memset(static_cast<void*>(&info), 0, sizeof info);
            info.actCoord = stop.at;
            script.drawing = &stop;
            {
                AddOnCallbackClock addOnTime(host.recorder);
                feedback(&info);
            }
            script.drawing = nullptr;
        }
    }
    shown.stops = stops;

    std::string line = "point input \"" + shown.prompt + "\" (cursor codes";
    for (Int32 code : shown.cursorCodes)
        line += " " + std::to_string(code);
    line += std::string(", option ") + (shown.changePlane ? "1" : "0") + "): ";
    if (!answer.path.empty())
        line += std::to_string(answer.path.size()) + " cursor positions, ";
    if (!shown.answered)
        line += "cancelled (no answer scripted)";
    else if (answer.cancel)
        line += "cancelled";
    else
        line += "clicked " + PointText(answer.click) + ", " + std::to_string(stops.back().lines.size()) +
                " rubber lines there";
    host.recorder.events.push_back(line);
    script.shown.push_back(shown);
    if (answer.cancel)
        return APIERR_CANCEL;
    std::memset(static_cast<void*>(&point->neig), 0, sizeof point->neig);
    point->pos = answer.click;
    return NoError;
}

GSErrCode RequestHandlers::DRLI(const API_RubberLineType* line)
{
    if (line == nullptr)
        return APIERR_BADPARS;
    PointInputScript& script = host.user.pointInputs;
    if (script.drawing == nullptr) {
        host.recorder.AddFault("'DRLI' outside a point input's rubber-line callback");
        return APIERR_REFUSEDCMD;
    }
    DrawnLine drawn{line->c1, line->c2, line->drawModes};
    script.drawing->lines.push_back(drawn);
    script.lines.push_back(drawn);
    return NoError;
}

GSErrCode RequestHandlers::HGEL(const GS::HashTable<API_Guid, API_RGBAColor>* elements, const bool* wireframe)
{
    View& view = host.view;
    view.highlight.clear();
    view.highlightWireframe = wireframe != nullptr && *wireframe;
    if (elements == nullptr) {
        host.recorder.events.push_back("highlight cleared");
        return NoError;
    }
    std::string line = "highlight:";
    for (const auto& item : *elements) {
        if (host.model.Find(item.first) == nullptr) {
            host.recorder.AddFault("'HGEL': element " + GuidText(item.first) + " is not in the model");
            continue;
        }
        view.highlight.push_back(item);
        char colour[96];
        std::snprintf(colour, sizeof colour, " (%.3g, %.3g, %.3g, %.3g)", item.second.f_red, item.second.f_green,
                      item.second.f_blue, item.second.f_alpha);
        line += " " + GuidText(item.first) + colour;
    }
    host.recorder.events.push_back(line);
    return NoError;
}

}  // namespace SimHost

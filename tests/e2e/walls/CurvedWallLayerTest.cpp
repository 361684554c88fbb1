// A layer on a curved wall through the Wall command, the click played on
// one face: the object must lie on that face, the layer's depth inside it,
// wherever the add-on reads it from (its start point, its face outline with
// the window, its curve radius and angle), for both faces, both arc
// directions, flipped and not; and again after the user moved the wall and
// the add-on brought the object along. Every value is worked out here from
// the wall's own geometry.
#include "tests/e2e/palette/PaletteFixture.hpp"
#include "platform/vomdix/JobLedger.hpp"
#include "simhost/model/ElementEdit.hpp"
#include "tests/e2e/walls/PlacingTestSupport.hpp"
#include <algorithm>
#include <cmath>

namespace {

using SimHost::GdlParam;
using PlacingTest::Layer;
using PlacingTest::Number;

constexpr double Thickness = 0.3;
constexpr double LayerPos = 0.05;
// The window: along the reference line from its begin, sill and height.
constexpr double WindowAlong = 1.0, WindowWidth = 0.6, WindowSill = 1.0, WindowHeight = 1.0;

// The wall's circle: the centre, the reference line's radius, the turn at
// its begin, and the sense (+1 counter-clockwise).
struct Circle {
    API_Coord centre{};
    double radius = 0, start = 0, sense = 1;
};

Circle CircleOf(const API_WallType& w)
{
    const double dx = w.endC.x - w.begC.x, dy = w.endC.y - w.begC.y, chord = std::hypot(dx, dy);
    // Counter-clockwise arcs have their centre to the left of the chord.
    const double d = chord / 2 / std::tan(w.angle / 2);
    Circle c;
    c.centre = {(w.begC.x + w.endC.x) / 2 - dy / chord * d, (w.begC.y + w.endC.y) / 2 + dx / chord * d};
    c.radius = std::hypot(w.begC.x - c.centre.x, w.begC.y - c.centre.y);
    c.start = std::atan2(w.begC.y - c.centre.y, w.begC.x - c.centre.x);
    c.sense = w.angle > 0 ? 1 : -1;
    return c;
}

API_Coord OnCircle(const Circle& c, double radius, double turn)
{
    const double t = c.start + c.sense * turn;
    return {c.centre.x + radius * std::cos(t), c.centre.y + radius * std::sin(t)};
}

// The radii of the two faces. The reference line lies on the outside face
// (offset 0), the left one (looking from begin to end) unless the wall is
// flipped; to the left is toward the centre on a counter-clockwise arc.
double LeftFaceRadius(const API_WallType& w, const Circle& c)
{
    return c.radius - c.sense * (w.flipped ? Thickness : 0.0);
}
double RightFaceRadius(const API_WallType& w, const Circle& c) { return LeftFaceRadius(w, c) + c.sense * Thickness; }

struct Case {
    double arc;
    bool flipped;
    bool inner;  // the face clicked
};

std::string Name(const Case& c)
{
    return std::string(c.arc > 0 ? "counter-clockwise" : "clockwise") + (c.flipped ? ", flipped" : "") +
           (c.inner ? ", inner face" : ", outer face");
}

class CurvedWallLayerTest : public PaletteTest {
protected:
    void SetUp() override
    {
        PaletteTest::SetUp();
        VOMDIX::ResetJobCounts();
        ASSERT_TRUE(Start());
        OpenFromMenu();
    }

    API_Guid AddCurvedWall(const Case& c)
    {
        SimHost::Element& e = host->model.Add(API_WallID);
        SimHost::WallPart& wall = *e.As<SimHost::WallPart>();
        wall.record.begC = {0, 0};
        wall.record.endC = {4, 0};
        wall.record.angle = c.arc;
        wall.record.thickness = Thickness;
        wall.record.height = 3;
        wall.record.flipped = c.flipped;
        wall.record.offsetFromOutside = 0;
        wall.openings.push_back({WindowAlong, WindowSill, WindowWidth, WindowHeight});
        return e.guid;
    }
    const API_WallType& Record(const API_Guid& wall) const
    {
        return host->model.Find(wall)->As<SimHost::WallPart>()->record;
    }

    // The one object linked to the wall.
    const SimHost::ObjectPart* LinkedObject(const API_Guid& wall) const
    {
        const std::vector<API_Guid>* linked = host->model.links.LinkedTo(wall);
        if (linked == nullptr || linked->size() != 1)
            return nullptr;
        const SimHost::Element* e = host->model.Find(linked->front());
        return e == nullptr ? nullptr : e->As<SimHost::ObjectPart>();
    }

    // The object against the layer worked out from the wall as it is now.
    void ExpectOnClickedFace(const API_Guid& wall, const Case& c)
    {
        const API_WallType& w = Record(wall);
        const Circle circle = CircleOf(w);
        const double left = LeftFaceRadius(w, circle), right = RightFaceRadius(w, circle);
        const bool clickedLeft = (left < right) == c.inner;
        const double face = clickedLeft ? left : right;
        // The layer lies LayerPosY inside the clicked face.
        const double layer = c.inner ? face + LayerPos : face - LayerPos;
        const double sweep = std::fabs(c.arc);

        const SimHost::ObjectPart* o = LinkedObject(wall);
        ASSERT_NE(o, nullptr) << host->recorder.CallLogText();
        auto param = [&](const char* name) {
            const GdlParam* p = SimHost::FindParam(o->params, name);
            return p == nullptr ? std::nan("") : p->number;
        };
        // A side to the left keeps the wall's direction: the layer starts at
        // the wall's begin; one to the right starts at its end.
        EXPECT_EQ(param("et_bSameDirection"), clickedLeft ? 1.0 : 0.0);
        EXPECT_NEAR(param("et_curveradius"), layer, 1e-9);
        EXPECT_NEAR(param("et_curveangle"), clickedLeft ? -c.arc : c.arc, 1e-12);
        const API_Coord start = OnCircle(circle, layer, clickedLeft ? 0 : sweep);
        EXPECT_NEAR(o->pos.x, start.x, 1e-9);
        EXPECT_NEAR(o->pos.y, start.y, 1e-9);

        // The outline: the layer's circle unrolled from the start point,
        // the whole height, the window as a hole where it lies along it.
        const GdlParam* coords = SimHost::FindParam(o->params, "et_coords");
        ASSERT_NE(coords, nullptr);
        ASSERT_EQ(coords->dim2, 3);
        double x0 = HUGE_VAL, x1 = -HUGE_VAL, z0 = HUGE_VAL, z1 = -HUGE_VAL;
        double hx0 = HUGE_VAL, hx1 = -HUGE_VAL, hz0 = HUGE_VAL, hz1 = -HUGE_VAL;
        bool inHole = false;
        for (Int32 r = 0; r < coords->dim1; ++r) {
            const double status = coords->numbers[static_cast<size_t>(r * 3)];
            const double x = coords->numbers[static_cast<size_t>(r * 3 + 1)];
            const double z = coords->numbers[static_cast<size_t>(r * 3 + 2)];
            if (status == -1) {  // the end of a ring
                inHole = true;
                continue;
            }
            if (!inHole) {
                x0 = std::min(x0, x), x1 = std::max(x1, x), z0 = std::min(z0, z), z1 = std::max(z1, z);
            } else {
                hx0 = std::min(hx0, x), hx1 = std::max(hx1, x), hz0 = std::min(hz0, z), hz1 = std::max(hz1, z);
            }
        }
        EXPECT_NEAR(x0, 0, 1e-6);
        EXPECT_NEAR(x1, layer * sweep, 1e-6) << "the outline's length";
        EXPECT_NEAR(z0, 0, 1e-6);
        EXPECT_NEAR(z1, 3, 1e-6);
        const double turn0 = WindowAlong / circle.radius, turn1 = (WindowAlong + WindowWidth) / circle.radius;
        const double from = clickedLeft ? turn0 : sweep - turn1, to = clickedLeft ? turn1 : sweep - turn0;
        EXPECT_NEAR(hx0, from * layer, 1e-6) << "the window's near side";
        EXPECT_NEAR(hx1, to * layer, 1e-6) << "the window's far side";
        EXPECT_NEAR(hz0, WindowSill, 1e-6);
        EXPECT_NEAR(hz1, WindowSill + WindowHeight, 1e-6);
    }

    void ExpectJobsEnded() const
    {
        const VOMDIX::JobCounts c = VOMDIX::GetJobCounts();
        EXPECT_EQ(c.begun, c.ended);
        EXPECT_EQ(c.endedTwice, 0);
        EXPECT_EQ(c.endedUnknown, 0);
        EXPECT_EQ(c.open, 0);
    }
};

TEST_F(CurvedWallLayerTest, LayerLiesOnTheClickedFaceWhenPlacedAndAfterTheWallMoved)
{
    const Case cases[] = {
        {1, false, true}, {1, false, false}, {1, true, true},  {1, true, false},
        {-1, false, true}, {-1, false, false}, {-1, true, true}, {-1, true, false},
    };
    size_t steps = 0;
    for (const Case& c : cases) {
        SCOPED_TRACE(Name(c));
        const API_Guid wall = AddCurvedWall(c);
        const API_WallType& w = Record(wall);
        const Circle circle = CircleOf(w);
        const double left = LeftFaceRadius(w, circle), right = RightFaceRadius(w, circle);
        const double face = (left < right) == c.inner ? left : right;

        host->user.ChangeSelection({wall});
        host->user.settingsDialogs.push_back(Layer("rf_mesh", {Number("iPosition", 2), Number("LayerPosY", LayerPos)}));
        // On the face, a little way from the wall's begin.
        const API_Coord click = OnCircle(circle, face, 0.02);
        SimHost::PointAnswer answer;
        answer.click = {click.x, click.y, 0};
        host->user.pointInputs.Give(answer);
        host->user.alertButtons = {1};
        ASSERT_TRUE(host->user.ClickPaletteEntry(Wall));
        EXPECT_TRUE(host->recorder.alerts.empty());
        ASSERT_EQ(host->undo.steps.size(), ++steps);
        ExpectOnClickedFace(wall, c);

        SimHost::ElementEdit move;
        move.move = API_Coord{1.5, -2.0};
        std::string why;
        ASSERT_TRUE(host->user.ChangeElements(
            move.ActionName(), APINotifyElement_Edit, {wall},
            [&](SimHost::Element& e, std::string& reason) { return SimHost::ApplyEdit(move, host->model, e, reason); },
            why))
            << why;
        ASSERT_EQ(host->undo.steps.size(), ++steps);
        EXPECT_NEAR(Record(wall).begC.x, 1.5, 1e-12);
        ExpectOnClickedFace(wall, c);
    }
    ExpectJobsEnded();
}

}  // namespace

// Re-assembling a placed complex element against the stand-in host: the
// complex object rewritten, the copies in its detail drawing matched by
// their links (overwritten and moved, deleted, added), a user's own objects
// there left alone, the drawing found by its reference or made anew, and
// the element's cutting list.
#include "addon/complex/BuildComplex.hpp"
#include "addon/complex/ComplexSteps.hpp"
#include "addon/complex/DetailDrawing.hpp"
#include "addon/complex/UpdateComplex.hpp"
#include "addon/host/HostCalls.hpp"
#include "addon/schedule/ReadReinforcement.hpp"
#include "tests/e2e/schedule/InHostFixture.hpp"
#include <algorithm>
#include <cstring>
#include <map>
#include <vector>
#include "tests/support/GdlParams.hpp"

namespace {

using TestParams::Numbers;

class UpdateComplexInHostTest : public InHostTest {
protected:
    void SetUp() override
    {
        InHostTest::SetUp();
        CurrentComplexSteps().clickPoint = [this](const char*, PlacementOutline, API_Coord3D& point) {
            ++clicks;
            if (!listClick)
                return APIERR_CANCEL;
            point = {20, 30, 0};
            return NoError;
        };
    }
    void Release() override { CurrentComplexSteps() = DefaultComplexSteps(); }

    API_Guid Bar(double x, double y, double position = 1)
    {
        SimHost::Element& e = Place("rf_rebar", {Number("iPosition", position), Number("bOnlyOneBar", 1),
                                                 Number("A", 1), Number("B", 0.1)});
        e.Object().pos = {x, y};
        return e.guid;
    }
    API_Guid Stirrup(double x, double y, double position = 2)
    {
        SimHost::Element& e =
            Place("rf_stirrup", {Number("iPosition", position), Number("bOnlyOneBar", 0),
                                 Numbers("ironType", 1, 4, {0, 1, 4, 0}), Numbers("ironData", 1, 4, {0.3, 0.4, 0.3, 0.4})});
        e.Object().pos = {x, y};
        return e.guid;
    }

    // Bars 1 to 4 and 6, 7 are rebars, bar 5 a stirrup.
    void PlaceBars()
    {
        bars = {Bar(3.5, 2.5), Bar(4.0, 2.0), Bar(4.5, 2.5), Bar(5.0, 3.0), Stirrup(6.0, 2.2), Bar(5.5, 2.0),
                Bar(7.0, 2.0)};
    }
    std::vector<API_Guid> BarsOf(std::initializer_list<size_t> numbers) const
    {
        std::vector<API_Guid> v;
        for (size_t n : numbers)
            v.push_back(bars[n - 1]);
        return v;
    }

    // The element built from bars 1 to 6 as the create command builds it.
    API_Guid BuildB1(ComplexElementKind kind = BeamKind, Int16 layer = 1)
    {
        host->model.Select(BarsOf({1, 2, 3, 4, 5, 6}));
        EXPECT_TRUE(BuildComplexElement(ObjectCreator(kind), "B1", layer, false, {10, 5, 0}));
        return Newest(kind == BeamKind ? "rf_beam" : "rf_crowning");
    }
    API_Guid Newest(const std::string& part) const
    {
        API_Guid found = APINULLGuid;
        for (const SimHost::Element& e : host->model.Elements())
            if (e.type == API_ObjectID && e.Object().libInd == host->libraries.IndexOfPart(part))
                found = e.guid;
        return found;
    }

    // Reads the selection into numbered groups as an edit run does, and
    // updates the objects inside an undoable step.
    bool Update(ComplexElementKind kind, const std::vector<API_Guid>& selection, const std::vector<API_Guid>& objects,
                bool withList = false, const API_Guid& list = APINULLGuid)
    {
        host->model.Select(selection);
        PlacementManager manager;
        RunGroups run;
        GS::VAArray<API_Guid> selected{50};
        API_Guid listGuid = APINULLGuid;
        if (!ReadNumberedSelection(kind, manager, run, &selected, &listGuid))
            return false;
        NormalizeBarPositions(ObjectCreator(kind), run.groups);
        GS::VAArray<API_Guid> targets{50};
        for (const API_Guid& g : objects)
            targets.Push(g);
        bool result = false;
        const GS::UniString name("update");
        const UndoableBody body = [&]() -> GSErrCode {
            const GSErrCode err = UpdateComplexElement(ObjectModifier(kind), run.groups, targets, "B1", list, withList);
            result = err == NoError;
            return err;
        };
        EXPECT_EQ(HostRunUndoableCommand(&name, &body) == NoError, result);
        return result;
    }

    const SimHost::DetailDrawing& Detail(size_t i = 0) const { return host->model.databases.details.at(i); }
    std::vector<const SimHost::Element*> In(const API_Guid& database) const
    {
        std::vector<const SimHost::Element*> v;
        for (const SimHost::Element& e : host->model.Elements())
            if (e.database == database)
                v.push_back(&e);
        return v;
    }
    static BarLinkRecord LinkOf(const SimHost::Element& e)
    {
        BarLinkRecord link;
        std::memset(static_cast<void*>(&link), 0, sizeof link);
        if (e.userData && e.userData->bytes.size() >= sizeof link)
            std::memcpy(&link, e.userData->bytes.data(), sizeof link);
        return link;
    }
    // The copy of each bar in the drawing, by the bar its link names.
    std::map<std::string, std::vector<const SimHost::Element*>> CopiesByBar(const API_Guid& database) const
    {
        std::map<std::string, std::vector<const SimHost::Element*>> copies;
        for (const SimHost::Element* e : In(database))
            if (e->userData && e->Object().libInd != host->libraries.IndexOfPart("rf_list"))
                copies[SimHost::GuidText(LinkOf(*e).barGuid)].push_back(e);
        return copies;
    }
    const SimHost::GdlParam* Param(const API_Guid& guid, const char* name) const
    {
        return SimHost::FindParam(host->model.Find(guid)->Object().params, name);
    }
    std::string TextOf(const API_Guid& guid, const char* name) const
    {
        const SimHost::GdlParam* p = Param(guid, name);
        return p != nullptr ? std::string(p->text.begin(), p->text.end()) : "";
    }

    std::vector<API_Guid> bars;
    bool listClick = true;
    Int32 clicks = 0;
};

TEST_F(UpdateComplexInHostTest, CopiesFollowTheNewSelection)
{
    PlaceBars();
    const API_Guid beam = BuildB1();
    ASSERT_NE(beam, APINULLGuid);
    const API_Guid detail = Detail().id;
    std::map<std::string, std::vector<const SimHost::Element*>> before = CopiesByBar(detail);
    ASSERT_EQ(before.size(), 6u);
    const API_Guid copyOf1 = before[SimHost::GuidText(bars[0])][0]->guid;
    const API_Guid copyOf6 = before[SimHost::GuidText(bars[5])][0]->guid;
    // A second copy of bar 1, and the user's own objects in the drawing: one
    // without user data, one of another part carrying a link.
    SimHost::Element second = *host->model.Find(copyOf1);
    second.guid = host->model.NewGuid();
    const API_Guid secondCopy = host->model.Add(second)->guid;
    SimHost::Element own = *host->model.Find(copyOf1);
    own.guid = host->model.NewGuid();
    own.userData.reset();
    own.Object().pos = {50, 50};
    const API_Guid ownGuid = host->model.Add(own)->guid;
    SimHost::Element foreign = *host->model.Find(copyOf1);
    foreign.guid = host->model.NewGuid();
    foreign.Object().libInd = host->libraries.IndexOfPart("rf_list");
    const API_Guid foreignGuid = host->model.Add(foreign)->guid;
    // Bar 2 moves; the element now starts at bar 1 as before.
    host->model.Find(bars[1])->Object().pos.y = 2.25;

    std::vector<API_Guid> selection = BarsOf({1, 2, 3, 4, 5, 7});
    selection.push_back(beam);
    ASSERT_TRUE(Update(BeamKind, selection, {beam}));

    EXPECT_EQ(host->model.databases.details.size(), 1u) << "the drawing is found by its reference";
    EXPECT_EQ(host->model.currentDatabase, APINULLGuid);
    const std::map<std::string, std::vector<const SimHost::Element*>> after = CopiesByBar(detail);
    for (size_t n : {1, 2, 3, 4, 5}) {
        const auto found = after.find(SimHost::GuidText(bars[n - 1]));
        ASSERT_NE(found, after.end()) << "bar " << n;
        ASSERT_EQ(found->second.size(), 1u) << "bar " << n;
        const SimHost::Element& copy = *found->second[0];
        EXPECT_EQ(copy.guid, before[SimHost::GuidText(bars[n - 1])][0]->guid) << "bar " << n << " overwritten";
        const API_Coord barPos = host->model.Find(bars[n - 1])->Object().pos;
        EXPECT_NEAR(copy.Object().pos.x, barPos.x - 3.5, 1e-9) << "bar " << n;
        EXPECT_NEAR(copy.Object().pos.y, barPos.y - 2.0, 1e-9) << "bar " << n;
        EXPECT_EQ(TextOf(copy.guid, "strIronID"), TextOf(bars[n - 1], "strIronID"));
    }
    EXPECT_EQ(host->model.Find(copyOf6), nullptr) << "the copy of bar 6 goes";
    EXPECT_EQ(host->model.Find(secondCopy), nullptr) << "the second copy of bar 1 goes";
    ASSERT_NE(host->model.Find(ownGuid), nullptr);
    EXPECT_EQ(host->model.Find(ownGuid)->Object().pos.x, 50);
    EXPECT_NE(host->model.Find(foreignGuid), nullptr);
    const auto seven = after.find(SimHost::GuidText(bars[6]));
    ASSERT_NE(seven, after.end()) << "bar 7 gets a copy";
    ASSERT_EQ(seven->second.size(), 1u);
    const BarLinkRecord link = LinkOf(*seven->second[0]);
    EXPECT_EQ(link.copyGuid, seven->second[0]->guid);
    EXPECT_EQ(link.detailDatabaseId, detail);
    EXPECT_EQ(seven->second[0]->userData->version, BarLinkVersion);
    EXPECT_EQ(seven->second[0]->userData->platformSign, BarLinkPlatformSign);
    EXPECT_EQ(seven->second[0]->groupGuid, APINULLGuid);

    // The beam: one row per sub-bar of the new selection, the ID kept.
    EXPECT_EQ(TextOf(beam, "strIronID"), "B1");
    ASSERT_NE(Param(beam, "ironID"), nullptr);
    EXPECT_EQ(Param(beam, "ironID")->dim1, 6);
    EXPECT_EQ(Param(beam, "ironPos")->dim1, 6);
    EXPECT_EQ(host->model.Find(beam)->infoString, u"B1");
}

TEST_F(UpdateComplexInHostTest, DetailDrawingByItsReference)
{
    struct Case {
        const char* what;
        std::u16string name;
        std::u16string ref;
        size_t drawings;
    };
    const std::vector<Case> cases = {
        {"renamed by the user", u"My beam", u"B1", 1},
        {"another reference", u"B1 beam", u"B9", 2},
    };
    for (const Case& c : cases) {
        SCOPED_TRACE(c.what);
        host->model.databases.details.clear();
        PlaceBars();
        const API_Guid beam = BuildB1();
        const size_t first = host->model.databases.details.size() - 1;
        host->model.databases.details[first].name = c.name;
        host->model.databases.details[first].ref = c.ref;
        std::vector<API_Guid> selection = BarsOf({1, 2, 3, 4, 5, 6});
        selection.push_back(beam);
        ASSERT_TRUE(Update(BeamKind, selection, {beam}));
        ASSERT_EQ(host->model.databases.details.size(), c.drawings);
        const SimHost::DetailDrawing& updated = host->model.databases.details.back();
        EXPECT_EQ(updated.ref, u"B1");
        EXPECT_EQ(CopiesByBar(updated.id).size(), 6u);
        if (c.drawings == 2) {
            EXPECT_EQ(updated.name.substr(0, 3), u"B1 ");
        }
    }
}

TEST_F(UpdateComplexInHostTest, CrowningKeepsItsListingData)
{
    bars = {Bar(0, 0, 2), Bar(1, 0, 2), Stirrup(0.5, 0.5, 1)};
    host->model.Select(bars);
    ASSERT_TRUE(BuildComplexElement(ObjectCreator(CrowningKind), "B1", 1, false, {10, 5, 0}));
    const API_Guid crowning = Newest("rf_crowning");
    ASSERT_NE(crowning, APINULLGuid);
    const SimHost::GdlParam* listing = Param(crowning, "ironListingData");
    ASSERT_NE(listing, nullptr);
    const SimHost::GdlParam before = *listing;
    std::vector<API_Guid> selection = {bars[0], bars[2], crowning};
    ASSERT_TRUE(Update(CrowningKind, selection, {crowning}, true));
    EXPECT_EQ(Param(crowning, "ironListingData")->numbers, before.numbers);
    EXPECT_EQ(Param(crowning, "ironListingData")->dim1, before.dim1);
    EXPECT_EQ(Param(crowning, "ironPos")->dim1, 2);
}

TEST_F(UpdateComplexInHostTest, SelectedListIsFilled)
{
    PlaceBars();
    const API_Guid beam = BuildB1();
    Layer(4, false, true);
    const API_Guid list = Place("rf_list", {}, 4).guid;
    std::vector<API_Guid> selection = BarsOf({1, 2, 3, 4, 5});
    selection.push_back(beam);
    ASSERT_TRUE(Update(BeamKind, selection, {beam}, true, list));
    EXPECT_EQ(clicks, 0) << "a selected list is no new one";
    EXPECT_EQ(TextOf(list, "ironListName"), "B1");
    EXPECT_EQ(Param(list, "ironListType")->number, 12);
    EXPECT_EQ(Param(list, "bDataInput")->number, 1);
    EXPECT_EQ(Param(list, "ironStringData")->dim1, 2) << "bars and stirrups: two groups";
    EXPECT_EQ(host->model.Find(list)->layer, 4);
    EXPECT_TRUE(host->model.layers[4].locked) << "its layer locked again";
}

TEST_F(UpdateComplexInHostTest, NewListOnTheLayerOfTheLastBeam)
{
    PlaceBars();
    const API_Guid first = BuildB1(BeamKind, 1);
    Layer(3, false, false);
    const API_Guid second = Place("rf_beam", {Text("strIronID", "B1")}, 3).guid;
    Layer(3, false, true);
    std::vector<API_Guid> selection = BarsOf({1, 2, 3, 4, 5});
    ASSERT_TRUE(Update(BeamKind, selection, {first, second}, true));
    EXPECT_EQ(clicks, 1);
    const API_Guid list = Newest("rf_list");
    ASSERT_NE(list, APINULLGuid);
    EXPECT_EQ(host->model.Find(list)->layer, 3);
    EXPECT_EQ(host->model.Find(list)->Object().pos.x, 20);
    EXPECT_EQ(TextOf(list, "ironListName"), "B1");
    EXPECT_TRUE(host->model.layers[3].locked);

    // No click: no list, and the update still ran to its end.
    listClick = false;
    ASSERT_TRUE(Update(BeamKind, selection, {first}, true));
    EXPECT_EQ(Newest("rf_list"), list);
}

}  // namespace

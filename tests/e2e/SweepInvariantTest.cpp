// The sweep's model comparison: elements made during a command compare by
// the order they were made, not by their GUIDs, and any change of what the
// user would see makes two models differ.
#include "tests/e2e/SweepInvariant.hpp"
#include "tests/support/GdlParams.hpp"

namespace {

using TestParams::Text;

struct TwoHosts : ::testing::Test {
    SimHost::Host a, b;
    std::set<std::string> knownA, knownB;

    void SetUp() override
    {
        a.PlaceObject("rf_rebar");
        b.PlaceObject("rf_rebar");
        knownA = SweepInvariant::KnownGuids(a);
        knownB = SweepInvariant::KnownGuids(b);
    }
};

TEST_F(TwoHosts, ElementsMadeLaterCompareByOrderNotGuid)
{
    // B used GUIDs in a step it took back, so its new element has another GUID.
    b.model.NewGuid();
    b.model.NewGuid();
    const SimHost::Element& made = a.PlaceObject("rf_list");
    const SimHost::Element& madeB = b.PlaceObject("rf_list");
    a.model.links.Link(a.model.Elements().begin()->guid, made.guid);
    b.model.links.Link(b.model.Elements().begin()->guid, madeB.guid);
    ASSERT_NE(SimHost::GuidText(made.guid), SimHost::GuidText(madeB.guid));
    EXPECT_EQ(SweepInvariant::ModelText(a, &knownA), SweepInvariant::ModelText(b, &knownB));
}

TEST_F(TwoHosts, WhatTheUserWouldSeeMakesModelsDiffer)
{
    const std::string same = SweepInvariant::ModelText(a, &knownA);
    ASSERT_EQ(same, SweepInvariant::ModelText(b, &knownB));
    struct Case {
        const char* what;
        std::function<void(SimHost::Host&)> change;
    } cases[] = {
        {"a text parameter", [](SimHost::Host& h) { h.PlaceObject("rf_rebar", {Text("strIronID", u"A1")}); }},
        {"a layer locked", [](SimHost::Host& h) { h.model.layers[1].locked = true; }},
        {"an element gone", [](SimHost::Host& h) { h.model.Remove(h.model.Elements().begin()->guid); }},
        {"the selection", [](SimHost::Host& h) { h.model.Select({h.model.Elements().begin()->guid}); }},
    };
    for (const Case& c : cases) {
        SimHost::Host changed;
        changed.PlaceObject("rf_rebar");
        const std::set<std::string> known = SweepInvariant::KnownGuids(changed);
        c.change(changed);
        EXPECT_NE(SweepInvariant::ModelText(changed, &known), same) << c.what;
    }
}

}  // namespace

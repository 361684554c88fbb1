// The element collector's sources, filters and handed-out items, and the
// layer functions, against the stand-in host.
#include "addon/schedule/ElementCollector.hpp"
#include "tests/e2e/schedule/InHostFixture.hpp"
#include <vector>

namespace {

class ElementCollectorTest : public InHostTest {
protected:
    void SetUp() override
    {
        InHostTest::SetUp();
        Layer(2, true, false);   // hidden
        Layer(3, false, true);   // locked
        onStory0 = Place("rf_rebar").guid;
        onStory1 = Place("rf_rebar", {}, 1, 1).guid;
        hidden = Place("rf_rebar", {}, 2).guid;
        locked = Place("rf_rebar", {}, 3).guid;
        wall = host->model.Add(API_WallID).guid;
    }

    std::vector<API_Guid> Collect(Int32 mode, Int32 story, bool visibleOnly = true,
                                  std::vector<API_ElemTypeID> typeList = {API_ObjectID})
    {
        GS::VAArray<API_ElemTypeID> types;
        for (API_ElemTypeID t : typeList)
            types.Push(t);
        ElementCollector collector(types, mode, ElementCollector::WithElement);
        collector.story = story;
        collector.visibleLayerOnly = visibleOnly;
        collector.CollectElements();
        return std::vector<API_Guid>(collector.guids.begin(), collector.guids.end());
    }

    API_Guid onStory0{}, onStory1{}, hidden{}, locked{}, wall{};
};

TEST_F(ElementCollectorTest, SourcesAndFilters)
{
    struct Case {
        const char* name;
        std::vector<API_Guid> selection;
        Int32 mode;
        Int32 story;
        bool visibleOnly;
        std::vector<API_Guid> expected;
    };
    const std::vector<Case> cases = {
        {"all of the story, hidden layer dropped, locked kept", {}, ElementCollector::AllOfTypes, 0, true,
         {onStory0, locked}},
        {"every story", {}, ElementCollector::AllOfTypes, ElementCollector::AnyStory, true, {onStory0, onStory1, locked}},
        {"hidden layers too", {}, ElementCollector::AllOfTypes, 0, false, {onStory0, hidden, locked}},
        {"selection or all, nothing selected", {}, ElementCollector::SelectionOrAll, 0, true, {onStory0, locked}},
        {"selection or all, a wall selected", {wall}, ElementCollector::SelectionOrAll, 0, true, {}},
        {"selection, nothing selected", {}, ElementCollector::Selection, ElementCollector::AnyStory, true, {}},
        {"selection in its order, filtered", {onStory1, hidden, onStory0}, ElementCollector::Selection, 0, true,
         {onStory0}},
        {"selection of every story", {onStory1, onStory0}, ElementCollector::Selection, ElementCollector::AnyStory, true,
         {onStory1, onStory0}},
    };
    for (const Case& c : cases) {
        host->model.Select(c.selection);
        EXPECT_EQ(Collect(c.mode, c.story, c.visibleOnly), c.expected) << c.name;
    }
}

TEST_F(ElementCollectorTest, EmptyTypeListAcceptsEverySelectedType)
{
    host->model.Select({wall, onStory0});
    EXPECT_EQ(Collect(ElementCollector::Selection, 0, true, {}), (std::vector<API_Guid>{wall, onStory0}));
}

TEST_F(ElementCollectorTest, HostFailures)
{
    // A failed listing ends the collection; an element that cannot be read
    // is skipped; a selection the host fails to give (for another cause than
    // an empty one) gives nothing, and no fallback to all elements.
    struct Case {
        const char* name;
        HostSlot slot;
        std::vector<API_Guid> selection;
        Int32 mode;
        std::vector<API_Guid> expected;
    };
    const std::vector<Case> cases = {
        {"listing fails", HostSlot::ListElementsByType, {}, ElementCollector::AllOfTypes, {}},
        {"first read fails", HostSlot::GetElement, {}, ElementCollector::AllOfTypes, {onStory1, locked}},
        {"selection fails", HostSlot::GetSelection, {onStory0}, ElementCollector::SelectionOrAll, {}},
    };
    for (const Case& c : cases) {
        host->model.Select(c.selection);
        host->faultPlan.FailSlot(c.slot, APIERR_GENERAL, 1);
        EXPECT_EQ(Collect(c.mode, ElementCollector::AnyStory), c.expected) << c.name;
    }
}

TEST_F(ElementCollectorTest, ItemsCarryRecordAndMemo)
{
    GS::VAArray<API_ElemTypeID> types;
    types.Push(API_ObjectID);
    ElementCollector collector(types, ElementCollector::AllOfTypes, ElementCollector::WithElement | ElementCollector::WithMemo);
    collector.CollectElements();
    ASSERT_EQ(collector.GetItemCount(), 3);
    auto item = collector.GetElementItem(1);
    EXPECT_EQ(item->guid, onStory1);
    EXPECT_EQ(item->element.header.guid, onStory1);
    EXPECT_EQ(item->element.header.floorInd, 1);
    EXPECT_NE(item->memo.params, nullptr);
    EXPECT_THROW(collector.GetElementItem(3), GS::OutOfRangeException);

    ElementCollector guidsOnly(types, ElementCollector::AllOfTypes, 0);
    guidsOnly.CollectElements();
    auto bare = guidsOnly.GetElementItem(0);
    EXPECT_EQ(bare->guid, onStory0);
    EXPECT_EQ(bare->element.header.guid, APINULLGuid);
    EXPECT_EQ(bare->memo.params, nullptr);
}

TEST_F(ElementCollectorTest, LayerFunctions)
{
    EXPECT_FALSE(IsLayerLocked(1));
    EXPECT_TRUE(IsLayerLocked(3));
    EXPECT_TRUE(IsLayerUsable(1));
    EXPECT_FALSE(IsLayerUsable(2));
    EXPECT_TRUE(IsLayerUsable(3));

    UnlockLayer(3);
    EXPECT_FALSE(host->model.layers[3].locked);
    LockLayer(1);
    EXPECT_TRUE(host->model.layers[1].locked);
    EXPECT_FALSE(host->model.layers[1].hidden) << "only the lock changes";
    LockLayer(2);
    EXPECT_TRUE(host->model.layers[2].hidden && host->model.layers[2].locked);

    // A layer that does not exist: unlocked, unusable, and nothing changes.
    const auto before = host->model.layers.size();
    EXPECT_FALSE(IsLayerLocked(42));
    EXPECT_FALSE(IsLayerUsable(42));
    LockLayer(42);
    UnlockLayer(42);
    EXPECT_EQ(host->model.layers.size(), before);
}

}  // namespace

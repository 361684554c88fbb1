// The element database: found by GUID, references that survive growth,
// a part per element type, a wall's body kept until the wall changes.
#include "simhost/model/Model.hpp"
#include <gtest/gtest.h>
#include <algorithm>

namespace {

TEST(ModelTest, ElementsAreFoundByGuidAndStayPutAsOthersAreAdded)
{
    SimHost::Model model;
    SimHost::Element& first = model.Add(API_ObjectID);
    first.Object().libInd = 3;
    const API_Guid firstGuid = first.guid;
    std::vector<API_Guid> guids;
    for (int i = 0; i < 10000; ++i)
        guids.push_back(model.Add(i % 2 == 0 ? API_WallID : API_SlabID).guid);
    // The reference taken before the model grew is still the element.
    EXPECT_EQ(&first, model.Find(firstGuid));
    EXPECT_EQ(first.Object().libInd, 3);
    for (USize i = 0; i < guids.size(); i += 997) {
        const SimHost::Element* e = model.Find(guids[i]);
        ASSERT_NE(e, nullptr);
        EXPECT_EQ(e->guid, guids[i]);
    }
    EXPECT_EQ(model.Elements().size(), 10001u);
    EXPECT_EQ(model.Elements().begin()->guid, firstGuid) << "in the order they were added";
    EXPECT_EQ(model.Find(APINULLGuid), nullptr);
}

// Elements removed out of order from a large model, and GUIDs given again:
// every element left is still found, no removed one is, and an element
// added with a removed one's GUID is found in its place.
TEST(ModelTest, ManyRemovedOutOfOrderLeaveTheOthersFound)
{
    SimHost::Model model;
    std::vector<API_Guid> guids;
    for (int i = 0; i < 3000; ++i)
        guids.push_back(model.Add(API_ObjectID).guid);
    std::vector<bool> removed(guids.size(), false);
    for (USize step : {3u, 7u, 2u}) {
        for (USize i = step - 1; i < guids.size(); i += step) {
            if (!removed[i]) {
                ASSERT_TRUE(model.Remove(guids[i])) << i;
                removed[i] = true;
            }
        }
    }
    for (USize i = 0; i < guids.size(); ++i) {
        const SimHost::Element* e = model.Find(guids[i]);
        if (removed[i]) {
            EXPECT_EQ(e, nullptr) << i;
            EXPECT_FALSE(model.Remove(guids[i])) << i;
        } else {
            ASSERT_NE(e, nullptr) << i;
            EXPECT_EQ(e->guid, guids[i]) << i;
        }
    }
    SimHost::Element again;
    again.guid = guids[2];
    again.type = API_WallID;
    ASSERT_NE(model.Add(again), nullptr);
    EXPECT_EQ(model.Add(again), nullptr) << "its GUID is taken now";
    ASSERT_NE(model.Find(guids[2]), nullptr);
    EXPECT_EQ(model.Find(guids[2])->type, API_WallID);
}

TEST(ModelTest, RemovingAnElementLeavesTheOthersAndTheSelection)
{
    SimHost::Model model;
    SimHost::Element& keep = model.Add(API_RoofID);
    const API_Guid gone = model.Add(API_WallID).guid;
    model.Select({gone, keep.guid});
    EXPECT_TRUE(model.Remove(gone));
    EXPECT_FALSE(model.Remove(gone));
    EXPECT_EQ(model.Find(gone), nullptr);
    EXPECT_EQ(model.Find(keep.guid), &keep);
    EXPECT_EQ(model.selection, std::vector<API_Guid>{keep.guid});
    // A new element never takes a GUID in use, nor one given before.
    SimHost::Element taken;
    taken.guid = keep.guid;
    EXPECT_EQ(model.Add(taken), nullptr);
    EXPECT_NE(model.Add(API_WallID).guid, gone);
}

TEST(ModelTest, EachTypeCarriesItsOwnPart)
{
    SimHost::Model model;
    EXPECT_NE(model.Add(API_ObjectID).As<SimHost::ObjectPart>(), nullptr);
    EXPECT_NE(model.Add(API_OpeningID).As<SimHost::OpeningPart>(), nullptr);
    EXPECT_NE(model.Add(API_WallID).As<SimHost::WallPart>(), nullptr);
    EXPECT_NE(model.Add(API_SlabID).As<SimHost::SlabPart>(), nullptr);
    EXPECT_NE(model.Add(API_RoofID).As<SimHost::RoofPart>(), nullptr);
    EXPECT_EQ(model.Add(API_WallID).As<SimHost::ObjectPart>(), nullptr);
    SimHost::Element bare;
    bare.type = API_ObjectID;
    SimHost::Element* added = model.Add(bare);
    ASSERT_NE(added, nullptr);
    EXPECT_NE(added->As<SimHost::ObjectPart>(), nullptr);
}

// A wall's body is built once and handed out until the wall changes: a
// changed record or a new window gives the body of the wall as it is now,
// never the one kept; a copy (the undo history's) keeps its own state.
TEST(ModelTest, WallBodyIsKeptUntilTheWallChanges)
{
    SimHost::WallPart wall;
    wall.record.endC = {4, 0};
    wall.Body();
    const std::shared_ptr<const SimHost::WallBodyCache> first = wall.body;
    wall.Body();
    EXPECT_EQ(wall.body, first) << "built once";
    const size_t solid = first->mesh.vertices.size();
    EXPECT_EQ(solid, SimHost::BuildWallBody(wall).vertices.size());

    const SimHost::WallPart before = wall;
    wall.openings.push_back({1, 1, 1, 1});
    EXPECT_EQ(wall.Body().mesh.vertices.size(), SimHost::BuildWallBody(wall).vertices.size());
    EXPECT_GT(wall.Body().mesh.vertices.size(), solid) << "the window's corners";
    EXPECT_EQ(before.Body().mesh.vertices.size(), solid) << "the copy keeps the wall it was";

    wall.record.endC = {6, 0};
    double far = 0;
    for (const API_VertType& v : wall.Body().mesh.vertices)
        far = std::max(far, v.x);
    EXPECT_DOUBLE_EQ(far, 6);
    // The polygon-edge entries numbered on through the polygons.
    const SimHost::WallBodyCache& body = wall.Body();
    size_t entries = 0;
    for (size_t i = 0; i < body.mesh.polygons.size(); ++i) {
        EXPECT_EQ(body.firstEdgeEntry[i], static_cast<Int32>(entries + 1));
        for (size_t k = 0; k < body.mesh.polygons[i].edges.size(); ++k)
            EXPECT_EQ(body.edgeEntries[entries + k], body.mesh.polygons[i].edges[k]);
        entries += body.mesh.polygons[i].edges.size();
    }
    EXPECT_EQ(body.edgeEntries.size(), entries);
}

}  // namespace

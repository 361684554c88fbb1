// The element database: found by GUID, references that survive growth,
// a part per element type.
#include "simhost/model/Model.hpp"
#include <gtest/gtest.h>

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

}  // namespace

// Creating and deleting objects, and element user data.
#include "tests/unit/simhost/HostTestSupport.hpp"

namespace {

using namespace HostTest;
using SimHost::FindParam;

class CreationTest : public HostFixture {
protected:
    // Runs `body` as one undoable command.
    GSErrCode InCommand(const std::function<GSErrCode()>& body) { return RunUndoable("test", body); }
};

TEST_F(CreationTest, ObjectIsCreatedFromRecordAndMemoAndComputesItsParameters)
{
    host->model.lastStory = 2;
    host->model.layers[3] = SimHost::Layer{"Bars", false, false};
    API_Element element = ObjectRecord("rf_rebar");
    element.header.guid = host->PlaceObject("rf_rebar").guid;  // a stale GUID the host must not reuse
    element.header.layer = 3;
    element.header.floorInd = 2;
    element.object.pos = {1.5, -2.0};
    element.object.level = 0.25;
    element.object.angle = 0.5;
    element.object.reflected = true;

    SimHost::GdlParams params = host->libraries.PartOfIndex(element.object.libInd)->defaults;
    *FindParam(params, "ironType") = Numbers("ironType", 1, 4, {0, 0, 2, 0});
    *FindParam(params, "ironData") = Numbers("ironData", 1, 2, {1.5, 2.0});
    API_ElementMemo memo = Zeroed<API_ElementMemo>();
    memo.params = SimHost::BuildParamHandle(params);
    GS::UniString info("B1 - 1");
    memo.elemInfoString = &info;

    const API_Guid stale = element.header.guid;
    ASSERT_EQ(InCommand([&] { return Create(element, &memo); }), NoError);
    SimHost::KillParamHandle(&memo.params);

    EXPECT_NE(element.header.guid, stale);
    const SimHost::Element* e = host->model.Find(element.header.guid);
    ASSERT_NE(e, nullptr);
    EXPECT_EQ(e->type, API_ObjectID);
    EXPECT_EQ(e->layer, 3);
    EXPECT_EQ(e->story, 2);
    EXPECT_EQ(e->database, APINULLGuid);
    EXPECT_EQ(e->infoString, u"B1 - 1");
    const SimHost::ObjectPart& object = e->Object();
    EXPECT_EQ(object.libInd, element.object.libInd);
    EXPECT_DOUBLE_EQ(object.pos.x, 1.5);
    EXPECT_DOUBLE_EQ(object.pos.y, -2.0);
    EXPECT_DOUBLE_EQ(object.level, 0.25);
    EXPECT_DOUBLE_EQ(object.angle, 0.5);
    EXPECT_TRUE(object.mirrored);
    const SimHost::GdlParam* extra = FindParam(object.params, "ironExtraData");
    ASSERT_NE(extra, nullptr);
    ASSERT_FALSE(extra->numbers.empty());
    EXPECT_DOUBLE_EQ(extra->numbers[0], 3.5) << "the bar computed its length on creation";
    EXPECT_EQ(host->recorder.createdElements, std::vector<API_Guid>{element.header.guid});

    // Without parameters in the memo the object takes the part's defaults;
    // it goes into the current database.
    host->model.currentDatabase = host->model.NewGuid();
    API_Element plain = ObjectRecord("rf_list");
    ASSERT_EQ(InCommand([&] { return Create(plain); }), NoError);
    const SimHost::Element* list = host->model.Find(plain.header.guid);
    ASSERT_NE(list, nullptr);
    EXPECT_EQ(list->Object().params.size(), host->libraries.PartOfIndex(plain.object.libInd)->defaults.size());
    EXPECT_EQ(list->database, host->model.currentDatabase);
    EXPECT_TRUE(host->recorder.faults.empty());
}

TEST_F(CreationTest, BadCreationIsRefusedWithNothingAdded)
{
    host->model.layers[2] = SimHost::Layer{"Locked", false, true};
    struct Case {
        const char* name;
        std::function<void(API_Element&)> spoil;
        GSErrCode expected;
    };
    const Case cases[] = {
        {"unknown part", [](API_Element& e) { e.object.libInd = 999; }, APIERR_BADINDEX},
        {"no part", [](API_Element& e) { e.object.libInd = 0; }, APIERR_BADINDEX},
        {"unknown layer", [](API_Element& e) { e.header.layer = 7; }, APIERR_BADINDEX},
        {"locked layer", [](API_Element& e) { e.header.layer = 2; }, APIERR_NOTEDITABLE},
        {"no such story", [](API_Element& e) { e.header.floorInd = 1; }, APIERR_BADINDEX},
    };
    for (const Case& c : cases) {
        API_Element element = ObjectRecord("rf_rebar");
        c.spoil(element);
        EXPECT_EQ(InCommand([&] { return Create(element); }), c.expected) << c.name;
        EXPECT_EQ(element.header.guid, APINULLGuid) << c.name;
    }
    EXPECT_EQ(InCommand([&] { return Slot<HostSlot::CreateElement>(*host)(nullptr, nullptr, nullptr); }), APIERR_BADPARS);

    // A parameter handle that is not whole records is the add-on's fault.
    API_Element element = ObjectRecord("rf_rebar");
    API_ElementMemo memo = Zeroed<API_ElementMemo>();
    memo.params = reinterpret_cast<API_AddParType**>(BMhAllClear(100));
    EXPECT_EQ(InCommand([&] { return Create(element, &memo); }), APIERR_BADPARS);
    GSHandle h = reinterpret_cast<GSHandle>(memo.params);
    BMhKill(&h);
    EXPECT_EQ(host->recorder.faults.size(), 1u);
    EXPECT_EQ(host->model.Elements().size(), 0u);
}

TEST_F(CreationTest, DeletingIsAllOrNothing)
{
    const API_Guid a = host->PlaceObject("rf_rebar").guid, b = host->PlaceObject("rf_rebar").guid;
    host->model.Select({a, b});
    EXPECT_EQ(InCommand([&] { return Delete({a, host->model.NewGuid()}); }), APIERR_BADID);
    EXPECT_EQ(host->model.Elements().size(), 2u);
    EXPECT_EQ(InCommand([&] { return Slot<HostSlot::DeleteElements>(*host)(nullptr, nullptr); }), APIERR_BADPARS);

    ASSERT_EQ(InCommand([&] { return Delete({a, a}); }), NoError) << "a GUID given twice is deleted once";
    EXPECT_EQ(host->model.Find(a), nullptr);
    EXPECT_EQ(host->model.selection, std::vector<API_Guid>{b});
    EXPECT_EQ(host->recorder.deletedElements, std::vector<API_Guid>{a});
    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_NE(host->model.Find(a), nullptr);
    EXPECT_EQ(host->model.selection, (std::vector<API_Guid>{a, b}));
}

TEST_F(CreationTest, UserDataTravelsWithTheElement)
{
    const API_Guid bar = host->PlaceObject("rf_rebar").guid;
    API_Elem_Head head = Zeroed<API_Elem_Head>();
    head.guid = bar;
    auto set = Slot<HostSlot::SetUserData>(*host);
    auto get = Slot<HostSlot::GetUserData>(*host);

    API_ElementUserData read = Zeroed<API_ElementUserData>();
    EXPECT_EQ(get(nullptr, &head, &read), APIERR_NOUSERDATA);
    EXPECT_EQ(read.dataHdl, nullptr);

    API_ElementUserData data = Zeroed<API_ElementUserData>();
    data.dataVersion = 256;
    data.platformSign = 0x5757;
    data.dataHdl = BMhAll(12);
    const Int32 partId[3] = {0, 0, 7};
    std::memcpy(*data.dataHdl, partId, sizeof partId);
    ASSERT_EQ(InCommand([&] { return set(nullptr, &head, &data); }), NoError);
    std::memset(*data.dataHdl, 0, 12);  // the host keeps its own copy
    BMhKill(&data.dataHdl);

    ASSERT_EQ(get(nullptr, &head, &read), NoError);
    EXPECT_EQ(read.dataVersion, 256);
    EXPECT_EQ(read.platformSign, 0x5757);
    ASSERT_NE(read.dataHdl, nullptr);
    ASSERT_EQ(BMhGetSize(read.dataHdl), 12);
    EXPECT_EQ(std::memcmp(*read.dataHdl, partId, sizeof partId), 0);
    BMhKill(&read.dataHdl);

    // Taken back by undo; a null handle removes it.
    ASSERT_TRUE(host->UndoLastStep());
    EXPECT_FALSE(host->model.Find(bar)->userData.has_value());

    // An element on a locked layer takes no user data.
    host->model.layers[2] = SimHost::Layer{"locked", false, true};
    API_Elem_Head locked = Zeroed<API_Elem_Head>();
    locked.guid = host->PlaceObject("rf_rebar", {}, 2).guid;
    data.dataHdl = BMhAll(12);
    EXPECT_EQ(InCommand([&] { return set(nullptr, &locked, &data); }), APIERR_NOTEDITABLE);
    BMhKill(&data.dataHdl);
    EXPECT_FALSE(host->model.Find(locked.guid)->userData.has_value());

    head.guid = host->model.NewGuid();
    EXPECT_EQ(get(nullptr, &head, &read), APIERR_BADID);
    EXPECT_EQ(InCommand([&] { return set(nullptr, &head, &data); }), APIERR_BADID);
    EXPECT_EQ(get(nullptr, nullptr, &read), APIERR_BADPARS);
    EXPECT_EQ(host->recorder.faults.size(), 0u);
}

}  // namespace

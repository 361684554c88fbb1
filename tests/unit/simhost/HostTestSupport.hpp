// A fresh stand-in host with the object library active, its table's slots
// typed, and the check that no memory handle outlived the case.
#pragma once
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include "platform/gs/Memory.hpp"
#include "simhost/model/ParamHandles.hpp"
#include <cstring>
#include <gtest/gtest.h>
#include <memory>
#include "tests/support/GdlParams.hpp"

namespace HostTest {

using TestParams::Numbers;

template <HostSlot S> HostSlotFn<S> Slot(const SimHost::Host& host)
{
    return reinterpret_cast<HostSlotFn<S>>(host.Table()[static_cast<UInt32>(S)]);
}

template <typename T> T Zeroed()
{
    T value;
    std::memset(static_cast<void*>(&value), 0, sizeof value);
    return value;
}

class HostFixture : public ::testing::Test {
protected:
    void SetUp() override
    {
        before = GS::LiveMemoryHandleCount();
        host = std::make_unique<SimHost::Host>();
        std::string error;
        ASSERT_TRUE(host->libraries.Activate(IO::Location(std::string(LIBRARY_DIR) + "/Zolva_Reinforcement.lcf"), error)) << error;
    }
    void TearDown() override
    {
        host.reset();
        EXPECT_EQ(GS::LiveMemoryHandleCount(), before) << "memory handles leaked";
    }

    // A zeroed object record of the part, on the default layer.
    API_Element ObjectRecord(const std::string& part) const
    {
        API_Element element = Zeroed<API_Element>();
        element.header.typeID = API_ObjectID;
        element.header.layer = 1;
        element.object.libInd = host->libraries.IndexOfPart(part);
        return element;
    }

    GSErrCode RunUndoable(const char* name, const UndoableBody& body)
    {
        GS::UniString text(name, CC_UTF8);
        return Slot<HostSlot::RunUndoableCommand>(*host)(nullptr, &text, &body);
    }
    GSErrCode Create(API_Element& element, API_ElementMemo* memo = nullptr)
    {
        return Slot<HostSlot::CreateElement>(*host)(nullptr, &element, memo);
    }
    GSErrCode Delete(std::initializer_list<API_Guid> guids)
    {
        GS::Array<API_Guid> list;
        for (const API_Guid& g : guids)
            list.Push(g);
        return Slot<HostSlot::DeleteElements>(*host)(nullptr, &list);
    }

    std::unique_ptr<SimHost::Host> host;
    Int64 before = 0;
};

}  // namespace HostTest

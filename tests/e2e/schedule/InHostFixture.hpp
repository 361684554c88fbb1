// The add-on's own objects, linked into the test, against a fresh stand-in
// host's real table: the host's library is active, the add-on's calls carry
// the host's token, and every test ends without an add-on fault and without
// a leaked memory handle.
#pragma once
#include "addon/host/HostBinding.hpp"
#include "platform/gs/Memory.hpp"
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include <gtest/gtest.h>
#include <memory>
#include <string>

class InHostTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        handlesBefore = GS::LiveMemoryHandleCount();
        host = std::make_unique<SimHost::Host>();
        std::string error;
        ASSERT_TRUE(host->libraries.Activate(IO::Location(std::string(LIBRARY_DIR) + "/" + LibraryFile()), error))
            << error;
        HostBinding::ReceiveTable(host->Table());
        HostBinding::SetToken(host->session.AttachLinkedAddOn());
    }

    void TearDown() override
    {
        Release();
        HostBinding::Reset();
        host->session.DetachLinkedAddOn();
        for (const auto& f : host->recorder.faults)
            ADD_FAILURE() << "add-on fault: " << f.what << "\n" << host->recorder.CallLogText();
        host.reset();
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handlesBefore) << "memory handles leaked";
    }

    // Frees what the test holds of the add-on's before the host goes.
    virtual void Release() {}

    static const char* LibraryFile()
    {
        return HOST_VERSION == 25 ? "Zolva_Reinforcement_SLO.lcf" : "Zolva_Reinforcement.lcf";
    }

    static SimHost::GdlParam Text(const std::string& name, const std::string& utf8)
    {
        SimHost::GdlParam p;
        p.name = name;
        p.kind = SimHost::GdlParam::Kind::Text;
        p.text = std::u16string(utf8.begin(), utf8.end());
        return p;
    }
    static SimHost::GdlParam Number(const std::string& name, double value)
    {
        SimHost::GdlParam p;
        p.name = name;
        p.number = value;
        return p;
    }

    // Places an object of the part on the layer and story.
    SimHost::Element& Place(const std::string& part, const SimHost::GdlParams& params = {}, Int32 layer = 1,
                            Int16 story = 0)
    {
        SimHost::Element& e = host->PlaceObject(part, params, layer);
        e.story = story;
        return e;
    }

    void Layer(Int32 index, bool hidden, bool locked)
    {
        host->model.layers[index] = SimHost::Layer{"Layer " + std::to_string(index), hidden, locked};
    }

    std::unique_ptr<SimHost::Host> host;
    Int64 handlesBefore = 0;
};

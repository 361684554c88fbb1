// A freshly loaded add-on in a fresh stand-in host for every test, checked
// at the end for add-on faults, leaked memory handles and palettes left
// behind.
#pragma once
#include "simhost/core/SimHost.hpp"
#include "simhost/ui/ScriptedUser.hpp"
#include "platform/dg/DGUserInput.hpp"
#include "platform/gs/Memory.hpp"
#include <gtest/gtest.h>
#include <functional>
#include <memory>

class AddOnTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        handlesBefore = GS::LiveMemoryHandleCount();
        host = std::make_unique<SimHost::Host>();
    }

    void TearDown() override
    {
        if (host->session.AddOnLoaded())
            host->session.UnloadAddOn(true);
        for (const auto& f : host->recorder.faults)
            ADD_FAILURE() << "add-on fault: " << f.what << "\n" << host->recorder.CallLogText();
        host.reset();
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handlesBefore) << "memory handles leaked";
        EXPECT_TRUE(DG::UserInput::Palettes().empty()) << "a palette outlived the add-on";
    }

    // Loads the add-on of this host version and runs its entry points.
    bool Start()
    {
        Load();
        return host->session.StartAddOn();
    }

    void Load(bool handOverTable = true)
    {
        std::string error;
        ASSERT_TRUE(host->session.LoadAddOn(ADDON_PATH, error, handOverTable)) << error;
    }

    std::unique_ptr<SimHost::Host> host;
    Int64 handlesBefore = 0;
};

// Plays a command once for every host call it makes, the N-th call failing
// (N = 1, 2, ... until a run has no call left to fail). Each run has a fresh
// host and add-on: `prepare` sets them up, then the failure is armed and
// `command` plays, and the add-on is unloaded. Every run must end without an
// add-on fault and without a leaked handle.
inline void SweepEachHostCall(const std::function<void(SimHost::Host&)>& prepare,
                              const std::function<void(SimHost::Host&)>& command, Int64 limit = 400)
{
    for (Int64 n = 1; n <= limit; ++n) {
        Int64 handles = GS::LiveMemoryHandleCount();
        bool failed = false;
        {
            SimHost::Host host;
            std::string error;
            if (!host.session.LoadAddOn(ADDON_PATH, error)) {
                ADD_FAILURE() << error;
                return;
            }
            prepare(host);
            host.faultPlan.FailNthCall(n, static_cast<GSErrCode>(0x81060310));
            command(host);
            host.session.UnloadAddOn(true);
            failed = host.faultPlan.NthCallFailed();
            for (const auto& f : host.recorder.faults)
                ADD_FAILURE() << "call " << n << ": " << f.what;
        }
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handles) << "call " << n << " leaked";
        if (!failed)
            return;
    }
    ADD_FAILURE() << "the command makes more than " << limit << " host calls";
}

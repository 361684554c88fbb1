// A freshly loaded add-on in a fresh stand-in host for every test, checked
// at the end for add-on faults, leaked memory handles and palettes left
// behind.
#pragma once
#include "core/SimHost.hpp"
#include "dg/DGUserInput.hpp"
#include "gs/Memory.hpp"
#include <gtest/gtest.h>
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
        if (host->AddOnLoaded())
            host->UnloadAddOn(true);
        for (const auto& f : host->faults)
            ADD_FAILURE() << "add-on fault: " << f.what << "\n" << host->CallLogText();
        host.reset();
        EXPECT_EQ(GS::LiveMemoryHandleCount(), handlesBefore) << "memory handles leaked";
        EXPECT_TRUE(DG::UserInput::Palettes().empty()) << "a palette outlived the add-on";
    }

    // Loads the add-on of this host version and runs its entry points.
    bool Start()
    {
        Load();
        return host->StartAddOn();
    }

    void Load(bool handOverTable = true)
    {
        std::string error;
        ASSERT_TRUE(host->LoadAddOn(ADDON_PATH, error, handOverTable)) << error;
    }

    std::unique_ptr<SimHost::Host> host;
    Int64 handlesBefore = 0;
};

// The add-on started in a fresh host, with helpers to open its palette and
// read its entries as the user sees them.
#pragma once
#include "tests/e2e/AddOnFixture.hpp"
#include "simhost/api/HostApi.hpp"
#include "platform/dg/DGUserInput.hpp"
#include "simhost/core/AddOnFolder.hpp"
#include "simhost/ui/PaletteView.hpp"
#include <algorithm>
#include <string>

// Entries in palette order.
enum Entry : USize { Crowning, Beam, Column, Slab, Wall, Roof, CuttingList, Export };

class PaletteTest : public AddOnTest {
protected:
    // Runs a copy of the add-on from a folder of its own, with or without
    // its object library beside it.
    void StartInFolder(bool withLibrary, const std::string& subPath = "")
    {
        host->session.addOnFolder = std::make_unique<SimHost::AddOnFolder>(ADDON_PATH, withLibrary, subPath);
        std::string error;
        ASSERT_TRUE(host->session.LoadAddOn(host->session.addOnFolder->AddOnPath(), error)) << error;
        ASSERT_TRUE(host->session.StartAddOn());
    }

    // The user's way: the add-on's menu, item 1.
    void OpenFromMenu()
    {
        ASSERT_EQ(host->user.RunMenuCommand(32510, 1), NoError);
        ASSERT_NE(host->user.AddOnPalette(), nullptr);
    }

    DG::Palette& Palette() const { return *host->user.AddOnPalette(); }
    std::vector<SimHost::PaletteEntryView> Entries() const { return SimHost::PaletteEntries(Palette()); }

    // The entries' enabled states in palette order, '1' for enabled:
    // Crowning, Beam, Column, Slab, Wall, Roof, Cutting List, Export.
    std::string Enabled() const
    {
        std::string states;
        for (const auto& e : Entries())
            states += e.control->IsEnabled() ? '1' : '0';
        return states;
    }

    // Sets the entries' controls as `states` (the form Enabled gives).
    void SetEnabled(const std::string& states) const
    {
        auto entries = Entries();
        for (USize i = 0; i < entries.size() && i < states.size(); ++i)
            entries[i].control->SetStatus(states[i] == '1');
    }

    API_Guid Add(API_ElemTypeID type) { return host->model.Add(type).guid; }

    USize Count(const std::vector<std::string>& log, const std::string& what) const
    {
        return static_cast<USize>(std::count(log.begin(), log.end(), what));
    }
};

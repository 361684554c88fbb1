// The parameter names the add-on reads and writes are the ones its object
// library declares, part by part, letter case included.
#include "addon/schedule/ParamNames.hpp"
#include <fstream>
#include <gtest/gtest.h>
#include <map>
#include <set>
#include <sstream>
#include <string>
#include <vector>

namespace {

// Part name: its parameter names, from a library container file.
std::map<std::string, std::set<std::string>> DeclaredParameters(const std::string& file)
{
    std::map<std::string, std::set<std::string>> parts;
    std::ifstream in(file);
    std::string line, current;
    while (std::getline(in, line)) {
        std::istringstream words(line);
        std::string first, second;
        words >> first >> second;
        if (first == "part")
            current = second;
        else if (!current.empty() && (first == "number" || first == "numbers" || first == "text" || first == "texts"))
            parts[current].insert(second);
    }
    return parts;
}

struct Vocabulary {
    const char* group;
    std::vector<std::string> parts;
    std::vector<const char*> names;
};

TEST(ParamNamesTest, TheLibraryDeclaresEveryName)
{
    using namespace ParamName;
    const std::vector<std::string> individual = {"rf_rebar", "rf_single_rebar", "rf_stirrup", "rf_concrete"};
    const Vocabulary vocabulary[] = {
        {"host-element objects", {"rf_rebar", "rf_mesh", "rf_complex"},
         {EtCoords, EtThickness, EtCurveAngle, EtCurveRadius, EtSameDirection, WallReinforcement, IronAngleX, IronAngleY, LayerPosY,
          Position, PlacedManual}},
        {"individual objects", individual,
         {Position, PlacedManual, Dummy, IronType, IronData, IronExtraData, IronListingData, IronId, IronQuality, FilterLength,
          IsListing, SymbolPositions, OnlyOneBar}},
        {"complex objects", {"rf_crowning", "rf_beam", "rf_column", "rf_complex", "rf_mesh"},
         {IronType, IronData, IronExtraData, IronListingData, IronId, IsListing, SubBarPositions, SubBarRotations, SubBarMirrored,
          SubBarBox, SubBarIds, SubBarQualities, ApiGenerated}},
        {"complex objects with pictures", {"rf_crowning", "rf_beam", "rf_column"}, {ShowSection, Bounding}},
        {"the list", {"rf_list"},
         {IronType, IronData, IronExtraData, IronListingData, ListStrings, ListType, ListName, DataInput, TableContentTexts}},
        {"the named parts",
         {"rf_rebar", "rf_single_rebar", "rf_stirrup", "rf_concrete", "rf_mesh", "rf_crowning", "rf_beam", "rf_column", "rf_list"},
         {MinApiVersion, MaxApiVersion}},
    };
    for (const char* file : {"Zolva_Reinforcement.lcf", "Zolva_Reinforcement_SLO.lcf"}) {
        const auto parts = DeclaredParameters(std::string(LIBRARY_DIR) + "/" + file);
        ASSERT_EQ(parts.size(), 10u) << file;
        for (const Vocabulary& v : vocabulary)
            for (const std::string& part : v.parts)
                for (const char* name : v.names)
                    EXPECT_EQ(parts.at(part).count(name), 1u) << file << ": " << part << " lacks " << name << " (" << v.group << ")";
    }
}

}  // namespace

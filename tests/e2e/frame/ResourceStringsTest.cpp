#include "tests/e2e/AddOnFixture.hpp"
#include <dlfcn.h>
#include <set>

namespace {

const Int16 kLists[] = {130, 131, 201, 202, 32501, 32510, 32515};

std::set<std::pair<Int16, Int16>> EntriesOf(GSResModule module)
{
    std::set<std::pair<Int16, Int16>> entries;
    for (Int16 list : kLists)
        for (Int16 i = 1; i <= 120; ++i) {
            GS::UniString text;
            if (RSGetIndString(&text, list, i, module))
                entries.insert({list, i});
        }
    return entries;
}

using ResourceStringsTest = AddOnTest;

// Both builds carry the same lists with the same entry numbers.
TEST_F(ResourceStringsTest, BothLanguagesHaveTheSameEntries)
{
    ASSERT_TRUE(Start());
    void* other = dlopen(OTHER_ADDON_PATH, RTLD_NOW | RTLD_LOCAL);
    ASSERT_NE(other, nullptr);
    auto own = EntriesOf(host->session.AddOnResources());
    auto theirs = EntriesOf(RSModuleOfFile(OTHER_ADDON_PATH));
    dlclose(other);
    EXPECT_EQ(own, theirs);
    EXPECT_EQ(own.count({130, 72}), 1u) << "the missing-part message needs a text";
    EXPECT_EQ(own.count({130, 30}), 0u);
    EXPECT_GT(own.size(), 80u);
}

// The add-on's strings are found by the name it was loaded under and by any
// other name of the same file; a file that is no loaded module has none.
TEST_F(ResourceStringsTest, TheModuleIsFoundByAnyNameOfItsFile)
{
    ASSERT_TRUE(Start());
    const std::string path = ADDON_PATH;
    const std::string slash = path.substr(0, path.rfind('/'));
    const std::string spelled = slash + "/." + path.substr(slash.size());
    const GSResModule own = host->session.AddOnResources();
    ASSERT_NE(own, InvalidResModule);
    EXPECT_EQ(RSModuleOfFile(ADDON_PATH), own);
    EXPECT_EQ(RSModuleOfFile(spelled.c_str()), own) << spelled;
    EXPECT_EQ(RSModuleOfFile((slash + "/no-such-module.so").c_str()), InvalidResModule);
    EXPECT_EQ(RSModuleOfFile(nullptr), InvalidResModule);
}

TEST_F(ResourceStringsTest, LibraryContainerNameIsPerLanguage)
{
    ASSERT_TRUE(Start());
    EXPECT_EQ(host->session.AddOnString(131, 1), HOST_VERSION == 24 ? "Zolva_Reinforcement.lcf" : "Zolva_Reinforcement_SLO.lcf");
}

#if HOST_VERSION == 24
struct EnglishText {
    Int16 list, index;
    const char* text;
};

// A sample of the English texts whose exact form matters: names, file
// names, line breaks, trailing blanks.
TEST_F(ResourceStringsTest, EnglishTextsAreExact)
{
    ASSERT_TRUE(Start());
    const EnglishText texts[] = {
        {32501, 1, "[zolva] Reinforcement"},
        {32501, 2, "[zolva] Reinforcement for ArchiCAD"},
        {32510, 1, "ZOLVA Solutions"},
        {32510, 3, "Load library / start toolbar^E3^ES^EE^EI^ED^EL^EW^ET^32600"},
        {32510, 4, "User's manual^E3^ES^EE^EI^ED^EL^EW^ET^32604"},
        {32515, 1, "Reinforcement"},
        {131, 4, "Merging ID's (individual)"},
        {131, 12, "Click onto a side of the highlighted wall, where you want to place reinforcement."},
        {201, 7, "Cutting List"},
        {202, 1, "Create Crowning,\nplease select at least\n1 rebar or 1 stirrup!"},
        {202, 9, "...placeholder..."},
        {130, 1, "Optimalization finished!"},
        {130, 36, "Only singular Rebars can be used for creating complex elements! "},
        {130, 46, "Could not find the temp. library, or the library is write-protected!\nThe images of reinforcement elements "
                  "will not be shown in complex element lists!"},
        {130, 71, "Multi-plane roof was modified greatly, existing reinforcement was removed."},
    };
    for (const auto& t : texts)
        EXPECT_EQ(host->session.AddOnString(t.list, t.index), t.text) << t.list << "/" << t.index;
}
#endif

}  // namespace

// The resource compiler run as the build runs it, on small resource files
// of two languages.
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <sstream>
#include <string>
#include <sys/wait.h>
#include <unistd.h>

namespace {

const char* const English = R"([STRS 130 Messages]
1 First = "One"
2 Second = "Two"

[STRS 201 PaletteLabels]
1 Crowning = "Crowning"
)";

struct Outcome {
    int exitCode = -1;
    std::string errors, header;
};

class RescompTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        std::string pattern = ::testing::TempDir() + "rescompXXXXXX";
        ASSERT_NE(mkdtemp(pattern.data()), nullptr);
        folder = pattern;
    }
    void TearDown() override { std::system(("rm -rf '" + folder + "'").c_str()); }

    std::string Write(const std::string& name, const std::string& text) const
    {
        std::string path = folder + "/" + name;
        std::ofstream(path) << text;
        return path;
    }

    static std::string Read(const std::string& path)
    {
        std::ifstream in(path);
        std::stringstream text;
        text << in.rdbuf();
        return text.str();
    }

    // Compiles `own` (1252) with `other` as the other language.
    Outcome Compile(const std::string& own, const std::string& other) const
    {
        std::string ownPath = Write("en.txt", own), otherPath = Write("sl.txt", other);
        std::string command = std::string("'") + RESCOMP_PATH + "' --codepage 1252 --symbol Image --out '" + folder +
                              "/out.cpp' --header '" + folder + "/ids.hpp' '" + ownPath + "' --other '" + otherPath +
                              "' 2>'" + folder + "/errors.txt'";
        Outcome run;
        int status = std::system(command.c_str());
        run.exitCode = WIFEXITED(status) ? WEXITSTATUS(status) : -1;
        run.errors = Read(folder + "/errors.txt");
        run.header = Read(folder + "/ids.hpp");
        return run;
    }

    std::string folder;
};

TEST_F(RescompTest, HeaderNamesEveryListAndEntry)
{
    Outcome run = Compile(English, English);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.header.find("namespace Messages {\nconstexpr GSResID ListId = 130;\n"
                              "constexpr RSStringId First{130, 1};\nconstexpr RSStringId Second{130, 2};\n"),
              std::string::npos)
        << run.header;
    EXPECT_NE(run.header.find("namespace PaletteLabels {\nconstexpr GSResID ListId = 201;\n"
                              "constexpr RSStringId Crowning{201, 1};\n"),
              std::string::npos)
        << run.header;
}

const char* const EnglishDialog = R"([DLOG 32510 LockedLayers]
title = "Warning"
rect = 40 40 400 150
1 Yes = button 210 115 80 24 "Yes"
2 No = button 300 115 80 24 "No"
3 Kinds = popup 10 10 100 20 "Bar" "Mesh"
)";

const char* const SlovenianDialog = R"([DLOG 32510 LockedLayers]
title = "Opozorilo"
rect = 40 40 420 150
1 Yes = button 230 115 80 24 "Da"
2 No = button 320 115 80 24 "Ne"
3 Kinds = popup 10 10 100 20 "Palica" "Mreža"
)";

// Texts and rectangles are each language's own; the items are shared.
TEST_F(RescompTest, HeaderNamesEveryDialogAndItem)
{
    Outcome run = Compile(EnglishDialog, SlovenianDialog);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.header.find("namespace LockedLayers {\nconstexpr Int16 DialogId = 32510;\n"
                              "constexpr Int16 Yes = 1;\nconstexpr Int16 No = 2;\nconstexpr Int16 Kinds = 3;\n"),
              std::string::npos)
        << run.header;
    const std::string image = Read(folder + "/out.cpp");
    EXPECT_NE(image.find("{0x444c4754u, 32510, "), std::string::npos) << "a 'DLGT' record of the dialog's id";
}

const char* const EnglishAlert = R"([ALRT 32520 AdditionalLayer]
title = "Reinforce"
text = "More?"
detail = "They go over each other."
1 Finish = button "No, finish"
2 More = button "More"
)";

const char* const SlovenianAlert = R"([ALRT 32520 AdditionalLayer]
title = "Armiranje"
text = "Še?"
detail = "Ena nad drugo."
1 Finish = button "Ne, zaključi"
2 More = button "Še"
)";

// An alert becomes an 'ALRT' record; the header names it and its buttons.
TEST_F(RescompTest, HeaderNamesEveryAlertAndButton)
{
    Outcome run = Compile(EnglishAlert, SlovenianAlert);
    ASSERT_EQ(run.exitCode, 0) << run.errors;
    EXPECT_NE(run.header.find("namespace ResAlert {\n\nnamespace AdditionalLayer {\nconstexpr Int16 AlertId = 32520;\n"
                              "constexpr Int16 Finish = 1;\nconstexpr Int16 More = 2;\n"),
              std::string::npos)
        << run.header;
    const std::string image = Read(folder + "/out.cpp");
    EXPECT_NE(image.find("{0x414c5254u, 32520, "), std::string::npos) << "an 'ALRT' record of the alert's id";
}

// A detail text of 255 bytes: one more than a string holds.
const std::string LongDetailAlert =
    "[ALRT 5 A]\ntitle = \"T\"\ntext = \"t\"\ndetail = \"" + std::string(255, 'x') + "\"\n1 Ok = button \"OK\"\n";

struct RefusalCase {
    const char* name;
    const char* own;
    const char* other;
    const char* message;  // what the error names, file and line first
};

class RescompRefusalTest : public RescompTest, public ::testing::WithParamInterface<RefusalCase> {};

// Whatever one language lacks, or names otherwise, fails the build in
// both directions, naming where the entry stands.
TEST_P(RescompRefusalTest, FailsNamingTheEntry)
{
    const RefusalCase& c = GetParam();
    Outcome run = Compile(c.own, c.other);
    EXPECT_EQ(run.exitCode, 1);
    EXPECT_NE(run.errors.find(c.message), std::string::npos) << run.errors;
}

INSTANTIATE_TEST_SUITE_P(
    Cases, RescompRefusalTest,
    ::testing::Values(
        RefusalCase{"otherLacksAnEntry", English,
                    "[STRS 130 Messages]\n1 First = \"Ena\"\n[STRS 201 PaletteLabels]\n1 Crowning = \"Venec\"\n",
                    "en.txt:3: error: string 130/2 (Second) is missing in the other language"},
        RefusalCase{"ownLacksAnEntry",
                    "[STRS 130 Messages]\n1 First = \"One\"\n[STRS 201 PaletteLabels]\n1 Crowning = \"Crowning\"\n",
                    English, "sl.txt:3: error: string 130/2 (Second) is missing in the other language"},
        RefusalCase{"otherLacksAList", English, "[STRS 130 Messages]\n1 First = \"Ena\"\n2 Second = \"Dve\"\n",
                    "en.txt:5: error: list 201 (PaletteLabels) is missing in the other language"},
        RefusalCase{"entryNamedOtherwise", English,
                    "[STRS 130 Messages]\n1 First = \"Ena\"\n2 Other = \"Dve\"\n[STRS 201 PaletteLabels]\n"
                    "1 Crowning = \"Venec\"\n",
                    "en.txt:3: error: string 130/2 is named 'Second' here and 'Other' at "},
        RefusalCase{"entryWithoutName", "[STRS 130 Messages]\n1 = \"One\"\n", "[STRS 130 Messages]\n1 = \"One\"\n",
                    "en.txt:2: error: string 130/1 needs a name"},
        RefusalCase{"listWithoutName", "[STRS 130]\n1 First = \"One\"\n", "[STRS 130]\n1 First = \"One\"\n",
                    "en.txt:1: error: STRS needs a list id and a list name"},
        RefusalCase{"nameTakenInTheList", "[STRS 130 Messages]\n1 First = \"One\"\n2 First = \"Two\"\n",
                    "[STRS 130 Messages]\n1 First = \"One\"\n2 First = \"Two\"\n",
                    "en.txt:3: error: string 130/2: name 'First' is taken at "},
        RefusalCase{"otherLacksADialog", EnglishDialog, "",
                    "en.txt:1: error: dialog 32510 (LockedLayers) is missing in the other language"},
        RefusalCase{"otherLacksAnItem", EnglishDialog,
                    "[DLOG 32510 LockedLayers]\ntitle = \"W\"\nrect = 0 0 1 1\n1 Yes = button 1 1 1 1 \"Da\"\n"
                    "2 No = button 1 1 1 1 \"Ne\"\n",
                    "en.txt:6: error: dialog 32510 item 3 (Kinds) is missing in the other language"},
        RefusalCase{"itemOfAnotherType", EnglishDialog,
                    "[DLOG 32510 LockedLayers]\ntitle = \"W\"\nrect = 0 0 1 1\n1 Yes = button 1 1 1 1 \"Da\"\n"
                    "2 No = checkbox 1 1 1 1 \"Ne\"\n3 Kinds = popup 1 1 1 1 \"a\" \"b\"\n",
                    "en.txt:5: error: dialog 32510 item 2 is button 'No' here and checkbox 'No' at "},
        RefusalCase{"popUpWithOtherEntries", EnglishDialog,
                    "[DLOG 32510 LockedLayers]\ntitle = \"W\"\nrect = 0 0 1 1\n1 Yes = button 1 1 1 1 \"Da\"\n"
                    "2 No = button 1 1 1 1 \"Ne\"\n3 Kinds = popup 1 1 1 1 \"a\"\n",
                    "en.txt:6: error: dialog 32510 item 3 has 2 entries here and 1 at "},
        RefusalCase{"itemsWithAGap", "[DLOG 1 D]\ntitle = \"T\"\nrect = 0 0 1 1\n2 A = button 1 1 1 1\n", "",
                    "en.txt:4: error: item 2 of dialog 1: items are numbered 1, 2, ... in order (1 expected)"},
        RefusalCase{"unknownItemType", "[DLOG 1 D]\ntitle = \"T\"\nrect = 0 0 1 1\n1 A = slider 1 1 1 1\n", "",
                    "en.txt:4: error: item 1 of dialog 1: unknown item type 'slider'"},
        RefusalCase{"listViewWithText", "[DLOG 1 D]\ntitle = \"T\"\nrect = 0 0 1 1\n1 A = listview 1 1 1 1 \"x\"\n", "",
                    "en.txt:4: error: item 1 of dialog 1: a list view has no text"},
        RefusalCase{"badRectangle", "[DLOG 1 D]\ntitle = \"T\"\nrect = 0 0 1 1\n1 A = button 1 1 1 \"x\"\n", "",
                    "en.txt:4: error: a rectangle is four numbers"},
        RefusalCase{"noTitle", "[DLOG 1 D]\nrect = 0 0 1 1\n1 A = button 1 1 1 1\n", "",
                    "en.txt:1: error: dialog 1 has no title"},
        RefusalCase{"otherLacksAnAlert", EnglishAlert, "",
                    "en.txt:1: error: alert 32520 (AdditionalLayer) is missing in the other language"},
        RefusalCase{"alertButtonNamedOtherwise", EnglishAlert,
                    "[ALRT 32520 AdditionalLayer]\ntitle = \"T\"\ntext = \"t\"\ndetail = \"d\"\n"
                    "1 Finish = button \"a\"\n2 Again = button \"b\"\n",
                    "en.txt:6: error: alert 32520 button 2 is 'More' here and 'Again' at "},
        RefusalCase{"alertWithoutDetail", "[ALRT 5 A]\ntitle = \"T\"\ntext = \"t\"\n1 Ok = button \"OK\"\n", "",
                    "en.txt:1: error: alert 5 needs a title, a text and a detail"},
        RefusalCase{"alertWithFourButtons",
                    "[ALRT 5 A]\ntitle = \"T\"\ntext = \"t\"\ndetail = \"d\"\n1 A = button \"a\"\n"
                    "2 B = button \"b\"\n3 C = button \"c\"\n4 D = button \"d\"\n",
                    "", "en.txt:8: error: button 4 of alert 5: an alert has at most three buttons"},
        RefusalCase{"alertItemNotAButton",
                    "[ALRT 5 A]\ntitle = \"T\"\ntext = \"t\"\ndetail = \"d\"\n1 A = checkbox \"a\"\n", "",
                    "en.txt:5: error: button 1 of alert 5: an alert's items are buttons"},
        RefusalCase{"alertTextTooLong",
                    LongDetailAlert.c_str(), "",
                    "en.txt:4: error: the detail of alert 5 takes 255 bytes; at most 254 fit"},
        RefusalCase{"textTheCodePageLacks",
                    "[DLOG 1 D]\ntitle = \"T\"\nrect = 0 0 1 1\n1 A = button 1 1 1 1 \"\xc4\x8d\"\n", "",
                    "en.txt:4: error: item 1 of dialog 1's text has a character that code page 1252 lacks"}),
    [](const ::testing::TestParamInfo<RefusalCase>& info) { return std::string(info.param.name); });

}  // namespace

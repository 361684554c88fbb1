// Reading placed objects into records, on parameter handles the tests build
// and a fake host that answers the recompute, the memo and the bounding box.
#include "addon/schedule/ReadIronParams.hpp"
#include "addon/services/ResStrings.hpp"
#include "tests/unit/schedule/ScheduleTestSupport.hpp"

namespace {

class ReadIronParamsTest : public FakeHostTest {
protected:
    // A bar's parameters as its object holds them.
    static void BarParams(ParamsBuilder& p, double placedManual = 1.0)
    {
        p.Number("dummy", 0)
            .Numbers("ironType", 1, 4, {0, 1, 5, 0})
            .Numbers("ironData", 1, 6, {12, 3, 4, 5, 6, 7})
            .Numbers("ironExtraData", 1, 2, {2.5, 9})
            .Numbers("ironListingData", 2, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10})
            .Text("strIronID", "A7")
            .Text("strIronQuality", "B500B")
            .Number("bFilterLength", 1)
            .Number("bIsListing", 0.00001)
            .Numbers("symbPos", 3, 3, {1, 5, 0, -1, 2, 3, 4, 0, -2})
            .Number("bIronPlacedManual", placedManual);
    }

    // `kind`: the complex element read for, none in the cutting list.
    bool Read(API_AddParType** params, std::optional<ComplexElementKind> kind, bool isBar = true,
              bool isStirrup = false, bool isConcrete = false)
    {
        ParamsMemo memo(params);
        const API_Element element = ObjectElement(3, 10, 20, 1.5, 0.25, true);
        IronReadOptions options;
        options.isBar = isBar;
        options.isStirrup = isStirrup;
        options.isConcrete = isConcrete;
        options.editedKind = kind;
        return ReadIronParams(element, memo.memo, options, id, record);
    }

    std::string id;
    IronProperties record;
};

TEST_F(ReadIronParamsTest, CuttingListReadsEveryParameterAndOnlySetsDummy)
{
    ParamsBuilder p;
    BarParams(p, 0.0);  // not placed by hand: no matter in the cutting list
    ASSERT_TRUE(Read(p.Build(), std::nullopt));
    EXPECT_EQ(host.log, (std::vector<std::string>{"CHNG dummy=1", "CABO"}));

    EXPECT_EQ(id, "A7");
    EXPECT_EQ(record.quality, "B500B");
    EXPECT_TRUE(record.isBar);
    EXPECT_FALSE(record.isStirrup || record.isConcrete);
    EXPECT_TRUE(record.filterLength);
    EXPECT_FALSE(record.isListing) << "a flag is set above 1e-5 only";
    EXPECT_EQ(record.guid, GuidOf(3));
    EXPECT_TRUE(record.mirrored);
    EXPECT_EQ(record.rotation, 0.25);
    EXPECT_EQ((std::vector<double>(record.position, record.position + 3)), (std::vector<double>{10, 20, 1.5}));
    EXPECT_EQ(record.ironType, Rows({{0, 1, 5, 0}}));
    EXPECT_EQ(record.ironData, Rows({{12, 3, 4, 5, 6, 7}}));
    EXPECT_EQ(record.ironExtraData, Rows({{2.5, 9}}));
    EXPECT_EQ(record.listingColumns, Listing({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}));
    EXPECT_EQ((std::vector<double>(record.symbolBox, record.symbolBox + 6)), (std::vector<double>{-1, 0, -2, 4, 5, 3}));
    EXPECT_EQ((std::vector<double>(record.planBox, record.planBox + 4)), (std::vector<double>{1, 2, 4, 5}));
}

TEST_F(ReadIronParamsTest, ComplexElementReadsRecomputedParameters)
{
    ParamsBuilder before;
    BarParams(before);
    host.recomputedParams = [] {
        ParamsBuilder after;
        BarParams(after);
        after.Text("strIronID", "recomputed");
        return after.Build();
    };
    ASSERT_TRUE(Read(before.Build(), BeamKind));
    EXPECT_EQ(host.log, (std::vector<std::string>{"CHNG dummy=1", "RPAS", "CHNG dummy=0", "MEMO", "CABO"}));
    EXPECT_EQ(id, "recomputed") << "the memo read again is the one read";
    EXPECT_EQ(record.ironData, Rows({{12, 3, 4, 5, 6, 7}})) << "a beam's bars keep their data";
}

struct PlacedCase {
    const char* name;
    bool isBar;
    std::optional<ComplexElementKind> kind;
    double placedManual;
    bool accepted;
};

TEST_F(ReadIronParamsTest, OnlyBarsPlacedByHandGoIntoComplexElements)
{
    const PlacedCase cases[] = {
        {"generated bar for a crowning", true, CrowningKind, 0.0, false},
        {"0.85 for a column", true, ColumnKind, 0.85, false},
        {"0.95 for a column", true, ColumnKind, 0.95, true},
        {"1.05 for a beam", true, BeamKind, 1.05, true},
        {"generated stirrup for a beam", false, BeamKind, 0.0, true},
        {"generated bar in the cutting list", true, std::nullopt, 0.0, true},
    };
    for (const PlacedCase& c : cases) {
        host.log.clear();
        host.recomputedParams = [&] {
            ParamsBuilder p;
            BarParams(p, c.placedManual);
            return p.Build();
        };
        ParamsBuilder p;
        BarParams(p, c.placedManual);
        record = IronProperties();
        EXPECT_EQ(Read(p.Build(), c.kind, c.isBar, !c.isBar), c.accepted) << c.name;
        EXPECT_EQ(host.Count(std::string("REPORT ") + GetResString(130, 8)), c.accepted ? 0 : 1) << c.name;
    }
}

struct CrowningCase {
    const char* name;
    bool isBar, isStirrup, isConcrete;
    bool reduced;
};

TEST_F(ReadIronParamsTest, CrowningBarsAreReducedToTheirPlacementPoint)
{
    const CrowningCase cases[] = {
        {"bar", true, false, false, true},
        {"stirrup", false, true, false, false},
        {"concrete block", false, false, true, false},
    };
    for (const CrowningCase& c : cases) {
        host.recomputedParams = [] {
            ParamsBuilder p;
            BarParams(p);
            return p.Build();
        };
        ParamsBuilder p;
        BarParams(p);
        record = IronProperties();
        ASSERT_TRUE(Read(p.Build(), CrowningKind, c.isBar, c.isStirrup, c.isConcrete)) << c.name;
        if (c.reduced) {
            // Value 0 kept, 1 and 2 become 1, 3 and 4 (below the count 5) 0.
            EXPECT_EQ(record.ironData, Rows({{12, 1, 1, 0, 0, 7}})) << c.name;
            EXPECT_EQ((std::vector<double>(record.symbolBox, record.symbolBox + 6)), (std::vector<double>{10, 20, 1.5, 10, 20, 1.5}));
            EXPECT_EQ((std::vector<double>(record.planBox, record.planBox + 4)), (std::vector<double>{10, 20, 10, 20}));
        } else {
            EXPECT_EQ(record.ironData, Rows({{12, 3, 4, 5, 6, 7}})) << c.name;
            EXPECT_EQ(record.symbolBox[0], -1) << c.name;
            EXPECT_EQ(record.planBox[2], 4) << c.name;
        }
    }
}

TEST_F(ReadIronParamsTest, FailingHostCallsEndTheReading)
{
    {
        host.rpasResult = APIERR_BADID;
        ParamsBuilder p;
        BarParams(p);
        EXPECT_FALSE(Read(p.Build(), CrowningKind));
        EXPECT_EQ(host.Count("REPORT"), 0);
        EXPECT_EQ(host.Count("MEMO"), 0);
        host.rpasResult = NoError;
    }
    {
        host.caboResult = APIERR_BADID;
        ParamsBuilder p;
        BarParams(p);
        EXPECT_FALSE(Read(p.Build(), std::nullopt));
        EXPECT_EQ(host.Count("REPORT"), 0);
        host.caboResult = NoError;
    }
    {
        // The memo cannot be read again: the first one is read.
        host.memoResult = APIERR_BADID;
        ParamsBuilder p;
        BarParams(p);
        id.clear();
        EXPECT_TRUE(Read(p.Build(), BeamKind));
        EXPECT_EQ(id, "A7");
    }
}

TEST_F(ReadIronParamsTest, ArraysThatDoNotFitTheReading)
{
    ParamsBuilder p;
    p.Numbers("ironListingData", 2, 3, {1, 2, 3, 4, 5, 6})  // three columns: the others stay 0
        .Numbers("symbPos", 2, 2, {1, 5, 3, -1})  // no z: it counts as 0
        .Numbers("ironType", 1, 4, {0, 1, 2, 0})  // fewer rows than the data
        .Numbers("ironData", 3, 2, {1, 2, 3, 4, 5, 6}, 3);  // the handle holds one whole row
    ASSERT_TRUE(Read(p.Build(), std::nullopt));
    EXPECT_EQ(record.listingColumns, Listing({{1, 2, 3, 0, 0}, {4, 5, 6, 0, 0}}));
    EXPECT_EQ((std::vector<double>(record.symbolBox, record.symbolBox + 6)), (std::vector<double>{1, -1, 0, 3, 5, 0}));
    EXPECT_EQ(record.ironData, Rows({{1, 2}}));
    EXPECT_EQ(record.ironType, Rows({{0, 1, 2, 0}}));
}

TEST_F(ReadIronParamsTest, NoSymbolPointsLeaveTheBoxZero)
{
    ParamsBuilder p;
    p.Number("bIsListing", 1).Number("symbpos", 1);  // another letter case is another parameter
    ASSERT_TRUE(Read(p.Build(), std::nullopt));
    EXPECT_TRUE(record.isListing);
    EXPECT_EQ((std::vector<double>(record.symbolBox, record.symbolBox + 6)), (std::vector<double>(6, 0.0)));
    EXPECT_TRUE(record.ironType.IsEmpty());
    EXPECT_TRUE(id.empty());
}

TEST_F(ReadIronParamsTest, TextsAreConvertedToTheHostCodePage)
{
    ParamsBuilder p;
    const std::string longId(255, 'x');
    p.Text("strIronID", longId).Text("strIronQuality", "\xC5\xA0" "500");  // Š: in both code pages
    ASSERT_TRUE(Read(p.Build(), std::nullopt));
    EXPECT_EQ(id, longId);
    EXPECT_EQ(record.quality, GS::EncodeText(u"\u0160" u"500", CC_Default));
}

// --------------------------------------------------------------- complex

class ReadComplexIronParamsTest : public FakeHostTest {
protected:
    static void CrowningParams(ParamsBuilder& p)
    {
        p.Text("strIronID", "K1")
            .Numbers("ironType", 2, 4, {0, 1, 2, 0, 90, 1, 3, 0})
            .Numbers("ironData", 2, 3, {12, 1, 0, 16, 2, 1})
            .Numbers("ironExtraData", 2, 10, std::vector<double>(20, 0.5))
            .Numbers("ironPos", 2, 3, {0, 0, 0, 1, 2, 3})
            .Numbers("ironRotate", 2, 1, {0, 90})
            .Numbers("ironMirrored", 3, 1, {-1, 1, 0.000001})
            .Numbers("ironListingData", 2, 5, {1, 2, 3, 4, 5, 6, 7, 8, 9, 10})
            .Texts("ironID", 2, 1, {"A", "B"})
            .Texts("IronQualityData", 2, 2, {"B500B", "x", "B500A", "y"})
            .Number("bIsListing", 1);
    }

    bool Read(API_AddParType** params)
    {
        ParamsMemo memo(params);
        return ReadComplexIronParams(ObjectElement(4), memo.memo, id, record);
    }

    std::string id;
    ComplexIronProperties record;
};

TEST_F(ReadComplexIronParamsTest, ReadsTheRecomputedObject)
{
    host.recomputedParams = [] {
        ParamsBuilder p;
        CrowningParams(p);
        return p.Build();
    };
    ParamsBuilder stale;
    stale.Text("strIronID", "stale");
    ASSERT_TRUE(Read(stale.Build()));
    EXPECT_EQ(host.log, (std::vector<std::string>{"RPAS", "CHNG dummy=-1", "MEMO"}));
    EXPECT_EQ(id, "K1");
    EXPECT_EQ(record.guid, GuidOf(4));
    EXPECT_EQ(record.count, 3) << "the last array read sets the count";
    EXPECT_EQ(record.ironType.values, (std::vector<double>{0, 1, 2, 0, 90, 1, 3, 0}));
    EXPECT_EQ(record.ironPos.values.size(), 6u);
    EXPECT_EQ(record.mirroredFlags.values, (std::vector<UInt8>{0, 0, 1})) << "-1 and 1 are not mirrored flags";
    EXPECT_EQ(record.listingRows, 2);
    EXPECT_EQ(record.listingColumns, Listing({{1, 2, 3, 4, 5}, {6, 7, 8, 9, 10}}));
    EXPECT_EQ(record.ironIds.values, (std::vector<std::string>{"A", "B"}));
    EXPECT_EQ(record.qualityTexts.values, (std::vector<std::string>{"B500B", "B500A"})) << "each row's first column";
    EXPECT_TRUE(record.isListing);
    EXPECT_FALSE(record.ironData.values.empty());
}

TEST_F(ReadComplexIronParamsTest, MissingParametersStayAbsent)
{
    host.recomputedParams = [] {
        ParamsBuilder p;
        p.Numbers("ironType", 1, 4, {0, 1, 1, 0});
        return p.Build();
    };
    ParamsBuilder p;
    ASSERT_TRUE(Read(p.Build()));
    EXPECT_TRUE(record.ironType.present);
    EXPECT_FALSE(record.ironData.present || record.qualityTexts.present || record.mirroredFlags.present);
}

TEST_F(ReadComplexIronParamsTest, TextArraysEndWithTheirHandle)
{
    host.recomputedParams = [] {
        ParamsBuilder p;
        p.Texts("ironID", 3, 1, {"A", "B"});  // three rows announced, two held
        return p.Build();
    };
    ParamsBuilder p;
    ASSERT_TRUE(Read(p.Build()));
    EXPECT_EQ(record.listingRows, 3);
    EXPECT_EQ(record.ironIds.values, (std::vector<std::string>{"A", "B"}));
}

TEST_F(ReadComplexIronParamsTest, RecomputeFailureEndsTheReading)
{
    host.rpasResult = APIERR_BADID;
    ParamsBuilder p;
    CrowningParams(p);
    EXPECT_FALSE(Read(p.Build()));
    EXPECT_EQ(host.log, (std::vector<std::string>{"RPAS"}));
}

}  // namespace

// Alerts read from a module's 'ALRT' record and answered by whoever the
// window system asks.
#include "platform/dg/DGAlert.hpp"
#include <gtest/gtest.h>
#include <string>
#include <vector>

namespace {

constexpr Int16 AlertId = 32520;

void PutText(std::vector<unsigned char>& out, const std::string& text)
{
    out.push_back(static_cast<unsigned char>(text.size() & 0xff));
    out.push_back(static_cast<unsigned char>(text.size() >> 8));
    out.insert(out.end(), text.begin(), text.end());
}

std::vector<unsigned char> AlertRecord(const std::vector<std::string>& buttons)
{
    std::vector<unsigned char> out;
    PutText(out, "Reinforce");
    PutText(out, "More?");
    PutText(out, "Over each other.");
    out.push_back(static_cast<unsigned char>(buttons.size()));
    out.push_back(0);
    for (const std::string& b : buttons)
        PutText(out, b);
    return out;
}

class DGAlertTest : public ::testing::Test {
protected:
    void SetUp() override
    {
        record = AlertRecord({"Finish", "More"});
        blobs[0] = {0x414c5254u, AlertId, record.data(), static_cast<UInt32>(record.size())};
        blobs[1] = {0, 0, nullptr, 0};
        image = {RSImageMagic, strings, 0, blobs, 1};
        module = RSOpenModule(&image);
    }
    void TearDown() override
    {
        DG::UserInput::SetAlertAnswer(nullptr);
        RSCloseModule(module);
    }

    std::vector<unsigned char> record;
    RSStringEntry strings[1] = {{0, 0, nullptr}};
    RSBlobEntry blobs[2];
    RSImage image{};
    GSResModule module = InvalidResModule;
};

// The user's button comes back; the alert shown carries its texts. A
// button the alert lacks, or nobody to answer, is the default button 1.
TEST_F(DGAlertTest, AnswersTheButtonPressedOrTheDefault)
{
    std::vector<DG::AlertResource> shown;
    Int16 press = 2;
    DG::UserInput::SetAlertAnswer([&](const DG::AlertResource& alert) {
        shown.push_back(alert);
        return press;
    });
    EXPECT_EQ(DGResAlert(module, AlertId), 2);
    ASSERT_EQ(shown.size(), 1u);
    EXPECT_EQ(shown[0].id, AlertId);
    EXPECT_EQ(shown[0].title.ToUtf8(), "Reinforce");
    EXPECT_EQ(shown[0].text.ToUtf8(), "More?");
    EXPECT_EQ(shown[0].detail.ToUtf8(), "Over each other.");
    ASSERT_EQ(shown[0].buttons.size(), 2u);
    EXPECT_EQ(shown[0].buttons[1].ToUtf8(), "More");
    for (Int16 outside : {Int16(0), Int16(3), Int16(-1)}) {
        press = outside;
        EXPECT_EQ(DGResAlert(module, AlertId), 1) << outside;
    }
    DG::UserInput::SetAlertAnswer(nullptr);
    EXPECT_EQ(DGResAlert(module, AlertId), 1);
}

TEST_F(DGAlertTest, AnAlertTheModuleLacksIsNotShown)
{
    bool asked = false;
    DG::UserInput::SetAlertAnswer([&](const DG::AlertResource&) {
        asked = true;
        return Int16(1);
    });
    EXPECT_EQ(DGResAlert(module, 32521), 0);
    EXPECT_EQ(DGResAlert(InvalidResModule, AlertId), 0);
    EXPECT_FALSE(asked);
}

// Every cut of the record, bytes after its end, and button counts of 0
// and 4 are refused rather than read past its size.
TEST(AlertRecord, TruncatedOverlongOrMiscountedRecordsAreRefused)
{
    std::vector<unsigned char> record = AlertRecord({"Finish", "More"});
    DG::AlertResource alert;
    ASSERT_TRUE(DG::DecodeAlertResource(record.data(), static_cast<UInt32>(record.size()), &alert));
    for (size_t cut = 0; cut < record.size(); ++cut)
        EXPECT_FALSE(DG::DecodeAlertResource(record.data(), static_cast<UInt32>(cut), &alert)) << cut;
    record.push_back(0);
    EXPECT_FALSE(DG::DecodeAlertResource(record.data(), static_cast<UInt32>(record.size()), &alert));
    for (const auto& buttons : {std::vector<std::string>{}, std::vector<std::string>{"a", "b", "c", "d"}}) {
        const std::vector<unsigned char> r = AlertRecord(buttons);
        EXPECT_FALSE(DG::DecodeAlertResource(r.data(), static_cast<UInt32>(r.size()), &alert)) << buttons.size();
    }
}

}  // namespace

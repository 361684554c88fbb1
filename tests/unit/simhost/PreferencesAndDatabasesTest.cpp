// The add-on's stored preferences (kept in a file between hosts, read no
// further than the caller's buffer) and the detail drawings the host keeps.
#include "platform/api/HostRequests.hpp"
#include "platform/gs/Memory.hpp"
#include "simhost/core/SimHost.hpp"
#include <cstdio>
#include <cstring>
#include <gtest/gtest.h>
#include <unistd.h>

// This file is compiled in one unit with other test files; its helpers
// keep to a namespace of their own, so that none meets a name of theirs.
namespace PreferencesAndDatabasesTests {

template <HostSlot S> HostSlotFn<S> Slot(const SimHost::Host& host)
{
    return reinterpret_cast<HostSlotFn<S>>(host.Table()[static_cast<UInt32>(S)]);
}

GSErrCode Database(SimHost::Host& host, const char (&code)[5], void* p1)
{
    return Slot<HostSlot::Database>(host)(nullptr, RequestCode(code), p1, nullptr, nullptr);
}

TEST(PreferencesTest, KeptInTheInstallationsFileAndNeverReadPastTheBuffer)
{
    char path[] = "/tmp/simhost_prefs_XXXXXX";
    const int fd = mkstemp(path);
    ASSERT_GE(fd, 0);
    close(fd);
    std::remove(path);
    {
        SimHost::Host host;
        host.preferences.SetFile(path);
        Int32 version = -1, size = -1;
        EXPECT_EQ(Slot<HostSlot::GetPreferences>(host)(nullptr, &version, &size, nullptr, nullptr), NoError);
        EXPECT_EQ(version, 0);
        EXPECT_EQ(size, 0);
        const unsigned char record[8] = {1, 2, 3, 4, 5, 6, 7, 8};
        EXPECT_EQ(Slot<HostSlot::SetPreferences>(host)(nullptr, 256, 8, record), NoError);
        EXPECT_EQ(Slot<HostSlot::SetPreferences>(host)(nullptr, 256, 8, nullptr), APIERR_BADPARS);
    }
    {
        SimHost::Host host;
        host.preferences.SetFile(path);
        Int32 version = 0, size = 0;
        EXPECT_EQ(Slot<HostSlot::GetPreferences>(host)(nullptr, &version, &size, nullptr, nullptr), NoError);
        EXPECT_EQ(version, 256);
        EXPECT_EQ(size, 8);
        unsigned char buffer[8] = {};
        UInt16 sign = 0;
        size = 4;
        EXPECT_EQ(Slot<HostSlot::GetPreferences>(host)(nullptr, &version, &size, buffer, &sign), NoError);
        EXPECT_EQ(size, 4);
        EXPECT_EQ(sign, 0x5757);
        EXPECT_EQ(std::vector<unsigned char>(buffer, buffer + 8), (std::vector<unsigned char>{1, 2, 3, 4, 0, 0, 0, 0}));
        EXPECT_EQ(Slot<HostSlot::GetPreferences>(host)(nullptr, nullptr, &size, buffer, &sign), APIERR_BADPARS);
    }
    std::remove(path);
}

TEST(PreferencesTest, FileTextRoundTripsAndRefusesDamage)
{
    SimHost::PreferencesRecord r;
    r.version = 256;
    r.platformSign = 0x4D4D;
    r.bytes = {0, 255, 16};
    const std::string text = SimHost::Preferences::Encode(r);
    const auto back = SimHost::Preferences::Decode(text);
    ASSERT_TRUE(back.has_value());
    EXPECT_EQ(back->version, 256);
    EXPECT_EQ(back->platformSign, 0x4D4D);
    EXPECT_EQ(back->bytes, r.bytes);
    for (const char* damaged : {"", "armbrix-preferences 2\n256 22359 0\n", "armbrix-preferences 1\n256 22359 3\n00ff\n",
                                "armbrix-preferences 1\n256 99999 0\n", "other 1\n256 22359 0\n"})
        EXPECT_FALSE(SimHost::Preferences::Decode(damaged).has_value()) << damaged;
}

TEST(DatabasesTest, DetailDrawingsAreMadeListedReadAndShown)
{
    const Int64 handles = GS::LiveMemoryHandleCount();
    {
        SimHost::Host host;
        API_DatabaseInfo info;
        std::memset(static_cast<void*>(&info), 0, sizeof info);
        info.typeID = APIWind_DetailID;
        std::memcpy(info.name, u"B1 beam", 7 * sizeof(char16_t));
        std::memcpy(info.ref, u"B1", 2 * sizeof(char16_t));
        ASSERT_EQ(Database(host, "NDAT", &info), NoError);
        EXPECT_NE(std::memcmp(&info.databaseUnId, &APINULLGuid, sizeof(API_Guid)), 0);

        GS::Array<API_Guid> ids;
        ASSERT_EQ(Database(host, "GDDI", &ids), NoError);
        ASSERT_EQ(ids.GetSize(), 1u);
        API_DatabaseInfo read;
        std::memset(static_cast<void*>(&read), 0, sizeof read);
        read.databaseUnId = ids[0];
        ASSERT_EQ(Database(host, "GDBI", &read), NoError);
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(read.name)), u"B1 beam");
        EXPECT_EQ(std::u16string(reinterpret_cast<const char16_t*>(read.ref)), u"B1");
        read.databaseUnId = host.model.NewGuid();
        EXPECT_EQ(Database(host, "GDBI", &read), APIERR_BADID);

        // The window shows the drawing, which lists only its own elements,
        // and switches back to the floor plan.
        host.model.Add(API_ObjectID);
        API_DatabaseInfo plan;
        std::memset(static_cast<void*>(&plan), 0, sizeof plan);
        ASSERT_EQ(Database(host, "GDAT", &plan), NoError);
        ASSERT_EQ(Slot<HostSlot::Automate>(host)(nullptr, RequestCode("CHWD"), &info, nullptr, nullptr), NoError);
        API_DatabaseInfo current;
        std::memset(static_cast<void*>(&current), 0, sizeof current);
        ASSERT_EQ(Database(host, "GDAT", &current), NoError);
        EXPECT_EQ(current.typeID, APIWind_DetailID);
        EXPECT_EQ(std::memcmp(&current.databaseUnId, &info.databaseUnId, sizeof(API_Guid)), 0);
        GS::Array<API_Guid> objects;
        EXPECT_EQ(Slot<HostSlot::ListElementsByType>(host)(nullptr, API_ObjectID, &objects, 0, 0, APINULLGuid), NoError);
        EXPECT_EQ(objects.GetSize(), 0u);
        ASSERT_EQ(Slot<HostSlot::Automate>(host)(nullptr, RequestCode("CHWD"), &plan, nullptr, nullptr), NoError);
        EXPECT_EQ(host.model.databaseType, APIWind_FloorPlanID);
        EXPECT_EQ(Slot<HostSlot::ListElementsByType>(host)(nullptr, API_ObjectID, &objects, 0, 0, APINULLGuid), NoError);
        EXPECT_EQ(objects.GetSize(), 1u);

        info.typeID = APIWind_SectionID;
        EXPECT_EQ(Database(host, "NDAT", &info), APIERR_BADPARS);
        EXPECT_EQ(Database(host, "NDAT", nullptr), APIERR_BADPARS);
        EXPECT_TRUE(host.recorder.faults.empty());
    }
    EXPECT_EQ(GS::LiveMemoryHandleCount(), handles);
}

}  // namespace PreferencesAndDatabasesTests

// The scripted wall-geometry library as the add-on's unit tests drive it:
// the reply it gives, the length it announces, the requests it got, and
// the job ledger's account of this test alone.
#pragma once
#include "platform/vomdix/JobLedger.hpp"
#include <cstdio>
#include <cstdlib>
#include <fstream>
#include <gtest/gtest.h>
#include <iterator>
#include <string>
#include <unistd.h>

class ScriptedWallLibrary {
public:
    ScriptedWallLibrary()
        : replyFile("/tmp/armbrix_reply_" + std::to_string(getpid())),
          logFile("/tmp/armbrix_requests_" + std::to_string(getpid()))
    {
        VOMDIX::ResetJobCounts();
        std::remove(logFile.c_str());
        Reply("");
        setenv("VOMDIX_REPLY_FILE", replyFile.c_str(), 1);
        setenv("VOMDIX_REQUEST_LOG", logFile.c_str(), 1);
        unsetenv("VOMDIX_REPLY_LENGTH");
    }
    ~ScriptedWallLibrary()
    {
        unsetenv("VOMDIX_REPLY_FILE");
        unsetenv("VOMDIX_REQUEST_LOG");
        unsetenv("VOMDIX_REPLY_LENGTH");
        std::remove(replyFile.c_str());
        std::remove(logFile.c_str());
    }
    ScriptedWallLibrary(const ScriptedWallLibrary&) = delete;
    ScriptedWallLibrary& operator=(const ScriptedWallLibrary&) = delete;

    void Reply(const std::string& bytes)
    {
        std::ofstream out(replyFile, std::ios::binary | std::ios::trunc);
        out << bytes;
    }
    void AnnounceLength(const char* length)
    {
        if (length != nullptr)
            setenv("VOMDIX_REPLY_LENGTH", length, 1);
        else
            unsetenv("VOMDIX_REPLY_LENGTH");
    }
    std::string Requests() const
    {
        std::ifstream in(logFile, std::ios::binary);
        return std::string(std::istreambuf_iterator<char>(in), std::istreambuf_iterator<char>());
    }
    // Every job begun since the last check ended exactly once.
    void ExpectJobsEndedOnce(Int64 jobs) const
    {
        const VOMDIX::JobCounts c = VOMDIX::GetJobCounts();
        EXPECT_EQ(c.begun, jobs);
        EXPECT_EQ(c.ended, jobs);
        EXPECT_EQ(c.endedTwice, 0);
        EXPECT_EQ(c.endedUnknown, 0);
        EXPECT_EQ(c.open, 0);
        VOMDIX::ResetJobCounts();
    }

private:
    std::string replyFile;
    std::string logFile;
};

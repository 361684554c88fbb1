// The add-on's side of the wall-geometry library: jobs and the two-call
// reply protocol. Every job begun here is ended exactly once, on every path.
#pragma once
#include <optional>
#include <string>

// A new job of the library (0 when it handed none out).
int BeginWallGeometryJob();
void EndWallGeometryJob(int job);

// Asks for the reply to `request` in the job: the length first, then the
// text into a zeroed buffer of that length and a terminating byte; ends the
// job. The reply's text up to its first zero byte, or nothing when the
// library announces no length, a length beyond what a reply can sensibly
// be, or memory cannot be had. Never reads past the announced length.
std::optional<std::string> FetchWallPolygonReply(int job, const std::string& request);

// A job that ends when this goes, or earlier with End; never twice.
class WallGeometryJobScope {
public:
    WallGeometryJobScope() : job(BeginWallGeometryJob()) {}
    ~WallGeometryJobScope() { End(); }
    WallGeometryJobScope(const WallGeometryJobScope&) = delete;
    WallGeometryJobScope& operator=(const WallGeometryJobScope&) = delete;
    int Id() const { return job; }
    void End()
    {
        if (!ended)
            EndWallGeometryJob(job);
        ended = true;
    }

private:
    int job;
    bool ended = false;
};

// The longest reply taken: far beyond any wall face, well below what a
// length of 32 bits could ask the host to allocate.
constexpr int MaxWallReplyLength = 64 * 1024 * 1024;

// The wall-geometry library's three functions, bound at load time.
//
// A caller begins a job, asks for the length of the reply to a wall
// description (reply null), fetches the reply into a buffer of that length
// plus a terminating zero byte, and ends the job. Results are 0 on success.
#pragma once

#if defined(VOMDIX_BUILDING)
#define VOMDIX_API __attribute__((visibility("default")))
#else
#define VOMDIX_API
#endif

extern "C" {
VOMDIX_API int VOMDIX_BeginJob(int* job);
VOMDIX_API int VOMDIX_GetWallPolygon(int job, const char* request, char* reply, int* length);
VOMDIX_API int VOMDIX_EndJob(int job);
}

// Results of the three functions.
constexpr int VOMDIX_Ok = 0;
constexpr int VOMDIX_BadArguments = -1;
constexpr int VOMDIX_UnknownJob = -2;
constexpr int VOMDIX_InternalError = -3;

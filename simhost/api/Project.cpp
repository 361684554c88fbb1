// The project's stories and the current window.
#include "simhost/api/Requests.hpp"
#include <algorithm>
#include <cstring>

namespace SimHost {

GSErrCode RequestHandlers::GSTO(API_StoryInfo* stories)
{
    if (stories == nullptr)
        return APIERR_BADPARS;
    std::memset(static_cast<void*>(stories), 0, sizeof *stories);
    stories->firstStory = host.model.firstStory;
    stories->lastStory = host.model.lastStory;
    stories->actStory = host.model.currentStory;
    return NoError;
}

GSErrCode RequestHandlers::GDAT(API_DatabaseInfo* database)
{
    if (database == nullptr)
        return APIERR_BADPARS;
    std::memset(static_cast<void*>(database), 0, sizeof *database);
    database->typeID = host.model.databaseType;
    database->index = host.model.databaseType == APIWind_FloorPlanID ? host.model.currentStory : 1;
    // A detail drawing in the window is named by its unique ID, name and
    // reference, so that the window can be switched back to it.
    if (const DetailDrawing* d = host.model.databases.Find(host.model.currentDatabase)) {
        database->index = d->number;
        database->databaseUnId = d->id;
        const size_t units = sizeof database->name / sizeof database->name[0];
        const size_t n = std::min(d->name.size(), units - 1);
        std::memcpy(database->name, d->name.data(), n * sizeof(GS::uchar_t));
        const size_t r = std::min(d->ref.size(), units - 1);
        std::memcpy(database->ref, d->ref.data(), r * sizeof(GS::uchar_t));
    }
    return NoError;
}

}  // namespace SimHost

// The project's stories and the current window.
#include "simhost/api/Requests.hpp"
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
    return NoError;
}

}  // namespace SimHost

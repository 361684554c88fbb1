// Detail drawings: created by the add-on ('NDAT'), listed ('GDDI'), read
// ('GDBI'), shown in the window ('CHWD'); and the view's rebuild ('RBLD').
// The layer chooser of a dialog ('SUCC') is answered here too, as the
// window system's control.
#include "simhost/api/Requests.hpp"
#include "platform/gs/CH.hpp"
#include <algorithm>
#include <cstring>

namespace SimHost {

namespace {
void CopyText(GS::uchar_t* field, size_t units, const std::u16string& text)
{
    std::memset(field, 0, units * sizeof(GS::uchar_t));
    const size_t n = std::min(text.size(), units - 1);
    std::memcpy(field, text.data(), n * sizeof(GS::uchar_t));
}

constexpr size_t FieldUnits = sizeof(API_DatabaseInfo::name) / sizeof(GS::uchar_t);

void FillDetail(const DetailDrawing& d, API_DatabaseInfo& info)
{
    info.typeID = APIWind_DetailID;
    info.index = d.number;
    info.databaseUnId = d.id;
    CopyText(info.name, FieldUnits, d.name);
    CopyText(info.ref, FieldUnits, d.ref);
}
}  // namespace

GSErrCode RequestHandlers::NDAT(API_DatabaseInfo* database)
{
    if (database == nullptr)
        return APIERR_BADPARS;
    if (database->typeID != APIWind_DetailID)
        return APIERR_BADPARS;  // only detail drawings are made here
    Databases& dbs = host.model.databases;
    DetailDrawing d;
    d.id = host.model.NewGuid();
    d.number = static_cast<Int32>(dbs.details.size()) + 1;
    d.name = DatabaseText(database->name, FieldUnits);
    d.ref = DatabaseText(database->ref, FieldUnits);
    dbs.details.push_back(d);
    database->databaseUnId = d.id;
    database->index = d.number;
    host.recorder.events.push_back("detail drawing created: " + GS::EncodeText(d.name, CC_UTF8));
    return NoError;
}

GSErrCode RequestHandlers::GDDI(GS::Array<API_Guid>* databases)
{
    if (databases == nullptr)
        return APIERR_BADPARS;
    databases->Clear();
    for (const DetailDrawing& d : host.model.databases.details)
        databases->Push(d.id);
    return NoError;
}

GSErrCode RequestHandlers::GDBI(API_DatabaseInfo* database)
{
    if (database == nullptr)
        return APIERR_BADPARS;
    const DetailDrawing* d = host.model.databases.Find(database->databaseUnId);
    if (d == nullptr)
        return APIERR_BADID;
    FillDetail(*d, *database);
    return NoError;
}

GSErrCode RequestHandlers::CHWD(const API_DatabaseInfo* database)
{
    if (database == nullptr)
        return APIERR_BADPARS;
    Databases& dbs = host.model.databases;
    if (database->typeID == APIWind_FloorPlanID) {
        host.model.currentDatabase = APINULLGuid;
        host.model.databaseType = APIWind_FloorPlanID;
        host.recorder.events.push_back("window: floor plan");
        return NoError;
    }
    const DetailDrawing* d = dbs.Find(database->databaseUnId);
    if (d == nullptr)
        return APIERR_BADID;
    host.model.currentDatabase = d->id;
    host.model.databaseType = APIWind_DetailID;
    host.recorder.events.push_back("window: detail drawing " + GS::EncodeText(d->name, CC_UTF8));
    return NoError;
}

GSErrCode RequestHandlers::SUCC(const API_UCCallbackType* control)
{
    if (control == nullptr || control->type != APIControl_LayerChooser)
        return APIERR_BADPARS;
    host.recorder.events.push_back("dialog " + std::to_string(control->dialogID) + ": item " +
                                   std::to_string(control->itemID) + " is the layer chooser");
    return NoError;
}

}  // namespace SimHost

// The project's databases beside the floor plan: detail drawings, each
// with a unique ID, a name and a reference ID. The database the window
// shows, where new elements go, is the model's currentDatabase (the null
// GUID is the floor plan).
#pragma once
#include "platform/api/APIdefs.hpp"
#include <string>
#include <vector>

namespace SimHost {

struct DetailDrawing {
    API_Guid id{};
    Int32 number = 0;  // from 1, in creation order
    std::u16string name;
    std::u16string ref;
};

struct Databases {
    std::vector<DetailDrawing> details;
    Int32 rebuilds = 0;  // 'RBLD' requests

    DetailDrawing* Find(const API_Guid& id);
    const DetailDrawing* Find(const API_Guid& id) const;
    DetailDrawing* ByNumber(Int32 number);
};

// Text of a database record's UTF-16 field (up to its terminator, never
// past the field).
std::u16string DatabaseText(const GS::uchar_t* field, size_t units);

}  // namespace SimHost

#include "simhost/model/Databases.hpp"
#include <cstring>

namespace SimHost {

DetailDrawing* Databases::Find(const API_Guid& id)
{
    for (DetailDrawing& d : details)
        if (std::memcmp(&d.id, &id, sizeof id) == 0)
            return &d;
    return nullptr;
}

const DetailDrawing* Databases::Find(const API_Guid& id) const
{
    return const_cast<Databases*>(this)->Find(id);
}

DetailDrawing* Databases::ByNumber(Int32 number)
{
    return number >= 1 && static_cast<size_t>(number) <= details.size() ? &details[static_cast<size_t>(number) - 1]
                                                                         : nullptr;
}

std::u16string DatabaseText(const GS::uchar_t* field, size_t units)
{
    size_t n = 0;
    while (n < units && field[n] != 0)
        ++n;
    return std::u16string(reinterpret_cast<const char16_t*>(field), n);
}

}  // namespace SimHost

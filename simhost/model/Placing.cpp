#include "simhost/model/Placing.hpp"
#include <algorithm>

namespace SimHost {

void ElementLinks::Link(const API_Guid& source, const API_Guid& target)
{
    std::vector<API_Guid>& list = linked[source];
    if (std::find(list.begin(), list.end(), target) == list.end())
        list.push_back(target);
}

const std::vector<API_Guid>* ElementLinks::LinkedTo(const API_Guid& source) const
{
    auto it = linked.find(source);
    return it == linked.end() ? nullptr : &it->second;
}

Int32 ElementLinks::ObserverCount(const API_Guid& element) const
{
    auto it = observers.find(element);
    return it == observers.end() ? 0 : it->second;
}

}  // namespace SimHost

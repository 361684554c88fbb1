// What the stand-in host keeps for placing reinforcement into host
// elements: the links between elements, the element observers, and the
// object tool's default element.
#pragma once
#include "platform/api/APIdefs.hpp"
#include <map>
#include <string>
#include <vector>

namespace SimHost {

struct GuidLess {
    bool operator()(const API_Guid& a, const API_Guid& b) const { return std::memcmp(&a, &b, sizeof a) < 0; }
};

struct ElementLinks {
    // Source element to its linked elements, in linking order.
    std::map<API_Guid, std::vector<API_Guid>, GuidLess> linked;
    // How often an observer was attached to each element.
    std::map<API_Guid, Int32, GuidLess> observers;

    void Link(const API_Guid& source, const API_Guid& target);
    const std::vector<API_Guid>* LinkedTo(const API_Guid& source) const;
    Int32 ObserverCount(const API_Guid& element) const;
};

}  // namespace SimHost

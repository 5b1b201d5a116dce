// \brief What a delivery route gives back.
#pragma once

#include <string>

namespace kestrix {

struct RouteResult {
    bool Sent = false;
    // Why not, for the developer: the step and the peer's answer.
    std::string Error;
};

}  // namespace kestrix

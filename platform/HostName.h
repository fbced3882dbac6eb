#pragma once

#include <string>

namespace korvex::platform {

// This machine's name as the network knows it; "localhost" when the system
// has none set.
std::string hostName();

}  // namespace korvex::platform

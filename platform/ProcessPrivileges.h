#pragma once

namespace korvex::platform {

// The process can read every folder regardless of permissions: it runs as
// root or holds CAP_DAC_READ_SEARCH in its effective capabilities.
bool processCanReadEverything();

}  // namespace korvex::platform

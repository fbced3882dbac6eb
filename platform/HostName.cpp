#include "platform/HostName.h"

#include <unistd.h>

#include <climits>

namespace korvex::platform {

std::string hostName() {
    char name[HOST_NAME_MAX + 1] = {};
    if (::gethostname(name, sizeof name - 1) != 0 || name[0] == '\0') {
        return "localhost";
    }
    return name;
}

}  // namespace korvex::platform

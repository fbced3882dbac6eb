#include "cleanup/removers/ElevatedRemovalContext.h"

#include "cleanup/elevated/BashTasksManager.h"
#include "scan/format/PathsGenerator.h"

#include <unistd.h>

namespace korvex {

ElevatedRemovalContext ElevatedRemovalContext::current() {
    return {&BashTasksManager::sharedManager(), PathsGenerator::GetInstance().buildTrashDirectory(),
            ::getuid()};
}

}  // namespace korvex

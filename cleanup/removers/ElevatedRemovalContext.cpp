#include "cleanup/removers/ElevatedRemovalContext.h"

#include "cleanup/elevated/ElevatedHelper.h"
#include "scan/format/PathsGenerator.h"

namespace korvex {

ElevatedRemovalContext ElevatedRemovalContext::current() {
    static const std::shared_ptr<ElevatedHelper> helper = ElevatedHelper::create();
    return {helper, PathsGenerator::GetInstance().buildTrashDirectory()};
}

}  // namespace korvex

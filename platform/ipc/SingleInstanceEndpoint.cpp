#include "platform/ipc/SingleInstanceEndpoint.h"

#include "platform/ipc/SingleInstance.h"

namespace korvex::platform {

void SingleInstanceEndpoint::OpenFiles(const QStringList& paths) {
    mOwner.openFilesRequested(paths);
}

void SingleInstanceEndpoint::Activate() {
    mOwner.activateRequested();
}

}  // namespace korvex::platform

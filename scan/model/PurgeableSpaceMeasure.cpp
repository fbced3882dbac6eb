#include "scan/model/PurgeableSpaceMeasure.h"

namespace korvex {

namespace {
PurgeableSpaceMeasure::Factory& factorySlot() {
    static PurgeableSpaceMeasure::Factory factory;
    return factory;
}
}  // namespace

void PurgeableSpaceMeasure::setFactory(Factory factory) {
    factorySlot() = std::move(factory);
}

std::shared_ptr<PurgeableSpaceMeasure> PurgeableSpaceMeasure::makeForPath(const std::string& path) {
    return factorySlot() ? factorySlot()(path) : nullptr;
}

}  // namespace korvex

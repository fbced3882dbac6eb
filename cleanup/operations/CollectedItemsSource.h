#pragma once

#include "scan/tree/ItemRef.h"

namespace korvex {

// Where an operation takes its nodes from: the collection's storage.
class CollectedItemsSource {
  public:
    virtual ~CollectedItemsSource() = default;
    virtual ItemList getItems() const = 0;
};

}  // namespace korvex

#pragma once

#include "scan/model/BlockingScan.h"
#include "scan/walker/ScanBiggestFiles.h"
#include "support/TempTree.h"

#include <gtest/gtest.h>

namespace korvex::test {

// A temporary tree and a scan model that scans it to the end.
class ScanFixture : public ::testing::Test {
  protected:
    BlockingScanResult scan(const std::string& path) {
        return runBlockingScan(model, path, &biggest);
    }
    TempTree tree;
    CModel model;
    ScanBiggestFiles biggest;
};

}  // namespace korvex::test

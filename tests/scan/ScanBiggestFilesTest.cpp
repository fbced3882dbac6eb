#include "scan/tree/FolderSystemItem.h"
#include "scan/walker/ScanBiggestFiles.h"

#include <gtest/gtest.h>

namespace korvex {
namespace {

class ScanBiggest : public ::testing::Test {
  protected:
    ItemRef file(std::string_view name, std::int64_t size) {
        return FileSystemItem::initWithPathSize(name, root.get(), size, 0, false, false);
    }
    FolderRef root =
        FolderSystemItem::initWithPathSizeNoParent("/r", nullptr, 0, false, 0, false, false);
    ScanBiggestFiles list;
};

TEST_F(ScanBiggest, ThresholdAppearsOnlyOnceTheListIsFull) {
    for (int i = 0; i < 99; ++i) {
        list.tryAddtoScanArray(file("f" + std::to_string(i), 1000 + i).get(), false);
    }
    EXPECT_EQ(list.getPorogforScan(), 0);
    list.tryAddtoScanArray(file("last", 500).get(), false);
    EXPECT_EQ(list.getPorogforScan(), 500);
    EXPECT_FALSE(list.tryAddtoScanArray(file("same", 500).get(), false));
    EXPECT_TRUE(list.tryAddtoScanArray(file("more", 501).get(), false));
    EXPECT_EQ(list.getPorogforScan(), 501);
    EXPECT_EQ(list.files().size(), kBiggestFilesBound);
}

TEST_F(ScanBiggest, EqualSizesKeepTheOrderOfOffering) {
    ItemRef first = file("first", 10);
    ItemRef second = file("second", 10);
    list.tryAddtoScanArray(first.get(), false);
    list.tryAddtoScanArray(second.get(), false);
    EXPECT_EQ(list.files()[0], first);
    EXPECT_EQ(list.files()[1], second);
}

TEST_F(ScanBiggest, GrownPackageMovesUpOnceAndTheTopStays) {
    FolderRef pkg =
        FolderSystemItem::initWithPathSize("P.app", root.get(), 0, true, 0, false, false);
    ItemRef big = file("big", 100);
    list.tryAddtoScanArray(big.get(), false);
    list.tryAddtoScanArray(file("mid", 50).get(), false);
    pkg->addFileSizeForAll(10);
    pkg->calctotalsize();
    list.tryAddtoScanArray(pkg.get(), true);
    ASSERT_EQ(list.files().size(), 3u);
    EXPECT_EQ(list.files()[2], ItemRef(pkg));

    pkg->addFileSizeForAll(70);
    pkg->calctotalsize();
    EXPECT_TRUE(list.tryAddtoScanArray(pkg.get(), true));
    ASSERT_EQ(list.files().size(), 3u);
    EXPECT_EQ(list.files()[1], ItemRef(pkg));

    pkg->addFileSizeForAll(1000);
    pkg->calctotalsize();
    EXPECT_TRUE(list.tryAddtoScanArray(pkg.get(), true));
    EXPECT_EQ(list.files()[0], ItemRef(pkg));
    EXPECT_FALSE(list.tryAddtoScanArray(pkg.get(), true));  // already at the top
    EXPECT_EQ(list.files()[1], big);
}

}  // namespace
}  // namespace korvex

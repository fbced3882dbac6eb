#include "SavedTreeSupport.h"

#include "scan/saved/NcduExport.h"
#include "scan/saved/SavedScanReader.h"
#include "scan/saved/SavedScanWriter.h"
#include "support/ScannedTree.h"

#include <gtest/gtest.h>

#include <random>

namespace korvex::test {
namespace {

// A small real tree, so that the encoded files are short enough to cut at
// every length.
class DamagedScanFile : public ::testing::Test {
  protected:
    void SetUp() override {
        tree.files().file("a/one", 5'000);
        tree.files().file("a/b/two\nlines", 9'000);
        tree.files().file("three", 100);
        scan = savedScanOfTree(tree.scan());
    }

    // A refusal must say where the reader stopped.
    static void expectRefusedWithOffset(const SavedScanResult& result, std::size_t length) {
        ASSERT_FALSE(result.scan) << "a cut at " << length << " bytes was accepted";
        EXPECT_NE(result.error.find("byte"), std::string::npos)
            << "cut at " << length << ": " << result.error;
    }

    // Flipped bytes may still decode (a size or a name changed), but never
    // crash; what is refused names the byte.
    template <typename Decode>
    static void flipEveryByte(const std::string& good, Decode decode) {
        std::mt19937 random(24);
        for (std::size_t at = 0; at < good.size(); ++at) {
            std::string bad = good;
            bad[at] = static_cast<char>(bad[at] ^ (1 + random() % 255));
            const SavedScanResult result = decode(bad);
            if (!result.scan) {
                EXPECT_NE(result.error.find("byte"), std::string::npos)
                    << "flip at " << at << ": " << result.error;
            }
        }
    }

    ScannedTree tree;
    SavedScan scan;
};

TEST_F(DamagedScanFile, EveryTruncationOfASavedScanIsRefused) {
    const std::string good = encodeSavedScan(scan);
    ASSERT_TRUE(decodeSavedScan(good).scan);
    for (std::size_t length = 0; length < good.size(); ++length) {
        expectRefusedWithOffset(decodeSavedScan(good.substr(0, length)), length);
    }
    const SavedScanResult longer = decodeSavedScan(good + "x");
    EXPECT_FALSE(longer.scan);
}

TEST_F(DamagedScanFile, EveryTruncationOfAnNcduExportIsRefused) {
    const std::string good = encodeNcduExport(scan);
    ASSERT_TRUE(decodeNcduExport(good).scan);
    // The final newline is whitespace; any cut before it breaks the text.
    const std::size_t end = good.find_last_not_of("\n ") + 1;
    for (std::size_t length = 0; length < end; ++length) {
        expectRefusedWithOffset(decodeNcduExport(good.substr(0, length)), length);
    }
}

TEST_F(DamagedScanFile, FlippedBytesNeverCrashEitherReader) {
    flipEveryByte(encodeSavedScan(scan),
                  [](const std::string& bytes) { return decodeSavedScan(bytes); });
    flipEveryByte(encodeNcduExport(scan),
                  [](const std::string& bytes) { return decodeNcduExport(bytes); });
}

TEST_F(DamagedScanFile, HostileExportsAreRefusedWithTheirOffset) {
    const std::string head = R"([1,0,{"progname":"x"},)";
    struct Case {
        std::string text;
        std::string says;
    };
    const std::vector<Case> cases = {
        {head + R"([{"name":"/r"},{"name":"../up","dsize":1}]])", "byte"},
        {head + R"([{"name":"/r"},{"name":"a/b","dsize":1}]])", "byte"},
        {head + R"([{"name":"relative"}]])", "byte"},
        {head + R"([{"name":"/r"},{"name":"x","dsize":-5}]])", "byte"},
        {head + R"([{"name":"/r"},{"name":"x","dsize":99999999999999999999999}]])", "byte"},
        {head + R"([{"name":"/r"},{"name":"x\u0000y"}]])", "byte"},
        {head + R"([{"name":"/r"},{"dsize":4}]])", "no name"},
        {R"([2,0,{}, [{"name":"/r"}]])", "byte"},
        {head + std::string(100'000, '['), "byte"},
    };
    for (const Case& hostile : cases) {
        const SavedScanResult result = decodeNcduExport(hostile.text);
        EXPECT_FALSE(result.scan) << hostile.text.substr(0, 80);
        EXPECT_NE(result.error.find(hostile.says), std::string::npos)
            << hostile.text.substr(0, 80) << ": " << result.error;
    }
}

TEST_F(DamagedScanFile, ForgedSizesInASavedScanAreRefusedBeforeAllocating) {
    std::string forged = encodeSavedScan(scan);
    // The unpacked size in the header claims far more than any scan takes.
    for (std::size_t i = 16; i < 24; ++i) {
        forged[i] = '\x7f';
    }
    const SavedScanResult result = decodeSavedScan(forged);
    ASSERT_FALSE(result.scan);
    EXPECT_NE(result.error.find("byte 16"), std::string::npos) << result.error;

    std::string wrongVersion = encodeSavedScan(scan);
    wrongVersion[8] = 9;
    EXPECT_NE(decodeSavedScan(wrongVersion).error.find("version 9"), std::string::npos);
}

}  // namespace
}  // namespace korvex::test

#include "cleanup/elevated/records/ElevatedRecords.h"

#include <gtest/gtest.h>

#include <unistd.h>

namespace korvex::elevated {
namespace {

Record trashRequest() {
    Record record;
    record.kind = RecordKind::MoveToTrash;
    record.id = 0x0102030405060708ULL;
    record.homeTrash = "/home/u/.local/share/Trash";
    record.items = {{std::string("a\0b\n\"$(x)\xff", 10), 1ULL << 40, 7}, {"/-rf", 0, ~0ULL}};
    return record;
}

TEST(ElevatedRecords, EveryKindSurvivesTheRoundTripWithAnyBytes) {
    Record result;
    result.kind = RecordKind::Result;
    result.id = 9;
    result.cancelled = true;
    result.outcomes = {{0, ""}, {-5, std::string("\0\n", 2)}};
    Record ready;
    ready.version = kProtocolVersion;
    Record cancel;
    cancel.kind = RecordKind::Cancel;
    cancel.id = 3;
    for (const Record& record : {trashRequest(), result, ready, cancel}) {
        const std::string bytes = encodeRecord(record);
        EXPECT_EQ(decodeRecord(std::string_view(bytes).substr(4)), record);
    }
}

TEST(ElevatedRecords, TruncatedExtendedOrForgedPayloadsAreRejected) {
    const std::string payload = encodeRecord(trashRequest()).substr(4);
    for (std::size_t cut = 0; cut < payload.size(); ++cut) {
        EXPECT_FALSE(decodeRecord(std::string_view(payload).substr(0, cut))) << cut;
    }
    EXPECT_FALSE(decodeRecord(payload + "x"));
    std::string unknown = payload;
    unknown[0] = 42;
    EXPECT_FALSE(decodeRecord(unknown));
    // A count far beyond what the payload holds.
    Record cancel;
    cancel.kind = RecordKind::Cancel;
    std::string forged = encodeRecord(trashRequest()).substr(4);
    const std::size_t countAt = 1 + 8 + 4 + trashRequest().homeTrash.size();
    forged[countAt + 3] = '\x7f';
    EXPECT_FALSE(decodeRecord(forged));
}

TEST(ElevatedRecords, AStreamReadsRecordByRecordAndTellsAnEndFromABreak) {
    int ends[2];
    ASSERT_EQ(::pipe(ends), 0);
    ASSERT_TRUE(writeRecord(ends[1], trashRequest()));
    const std::string half = encodeRecord(trashRequest()).substr(0, 9);
    ASSERT_EQ(::write(ends[1], half.data(), half.size()), static_cast<ssize_t>(half.size()));
    ::close(ends[1]);
    std::string payload;
    ASSERT_EQ(readRecord(ends[0], payload), ReadStatus::Record);
    EXPECT_EQ(decodeRecord(payload), trashRequest());
    EXPECT_EQ(readRecord(ends[0], payload), ReadStatus::Broken);
    EXPECT_EQ(readRecord(ends[0], payload), ReadStatus::End);
    ::close(ends[0]);

    ASSERT_EQ(::pipe(ends), 0);
    const char huge[4] = {'\xff', '\xff', '\xff', '\x7f'};
    ASSERT_EQ(::write(ends[1], huge, 4), 4);
    ::close(ends[1]);
    EXPECT_EQ(readRecord(ends[0], payload), ReadStatus::Broken);
    ::close(ends[0]);
}

}  // namespace
}  // namespace korvex::elevated

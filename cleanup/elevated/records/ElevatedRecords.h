#pragma once

#include <cstdint>
#include <optional>
#include <string>
#include <string_view>
#include <vector>

namespace korvex::elevated {

// Every record is a 32-bit little-endian length followed by that many bytes:
// a kind byte and the kind's fields. Numbers are little-endian, texts and
// paths a 32-bit length and their raw bytes, so any file name survives.
enum class RecordKind : std::uint8_t {
    // Application to helper.
    MoveToTrash = 1,
    RemovePermanently = 2,
    Cancel = 3,
    // Helper to application.
    Ready = 10,
    Result = 11,
};

inline constexpr std::uint32_t kProtocolVersion = 1;
// Far above any real request; a longer length means the stream is broken.
inline constexpr std::uint32_t kMaxRecordSize = 64u << 20;

// Exit statuses of the helper besides 0 (the application closed the pipe):
// it ended after the idle time without reading anything, so a request sent
// at that moment was never seen and may be sent again; it refused to start.
inline constexpr int kIdleExitStatus = 75;
inline constexpr int kRefusedStartStatus = 78;

// An item as the user collected it: the path and the file it named then.
struct TargetItem {
    std::string path;
    std::uint64_t device = 0;
    std::uint64_t inode = 0;
    bool operator==(const TargetItem&) const = default;
};

// What became of one item: error 0 when it was done, else an errno value and
// a sentence for the user.
struct ItemOutcome {
    std::int32_t error = 0;
    std::string message;
    bool operator==(const ItemOutcome&) const = default;
};

// One record of either direction; each kind uses some of the fields.
struct Record {
    RecordKind kind = RecordKind::Ready;
    std::uint64_t id = 0;               // requests, Cancel, Result
    std::string homeTrash;              // MoveToTrash: the user's home Trash folder
    std::vector<TargetItem> items;      // MoveToTrash, RemovePermanently
    std::vector<ItemOutcome> outcomes;  // Result, one per item of the request
    bool cancelled = false;             // Result: the request stopped early
    std::uint32_t version = 0;          // Ready
    bool operator==(const Record&) const = default;
};

// The record with its length prefix.
std::string encodeRecord(const Record& record);
// Nothing when the payload is not a whole, well-formed record.
std::optional<Record> decodeRecord(std::string_view payload);

enum class ReadStatus { Record, End, Broken };
// Reads one record's payload from a blocking descriptor: End at a clean end
// of the stream, Broken when it ends inside a record or announces one that is
// too long.
ReadStatus readRecord(int fd, std::string& payload);
// False when the descriptor refused the bytes (the other side has gone).
bool writeRecord(int fd, const Record& record);

}  // namespace korvex::elevated

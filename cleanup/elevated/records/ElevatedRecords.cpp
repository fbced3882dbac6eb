#include "cleanup/elevated/records/ElevatedRecords.h"

#include <unistd.h>

#include <cerrno>

namespace korvex::elevated {

namespace {

class Writer {
  public:
    void byte(std::uint8_t value) { mBytes.push_back(static_cast<char>(value)); }
    void number32(std::uint32_t value) {
        for (int shift = 0; shift < 32; shift += 8) {
            byte(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void number64(std::uint64_t value) {
        for (int shift = 0; shift < 64; shift += 8) {
            byte(static_cast<std::uint8_t>(value >> shift));
        }
    }
    void bytes(std::string_view text) {
        number32(static_cast<std::uint32_t>(text.size()));
        mBytes.append(text);
    }
    const std::string& result() const { return mBytes; }

  private:
    std::string mBytes;
};

// Reads fields off a payload; once a read runs past the end every later one
// fails too, so a record is checked once at the end.
class Reader {
  public:
    explicit Reader(std::string_view bytes) : mRest(bytes) {}
    std::uint8_t byte() {
        if (mRest.empty()) {
            mFailed = true;
            return 0;
        }
        const auto value = static_cast<std::uint8_t>(mRest.front());
        mRest.remove_prefix(1);
        return value;
    }
    std::uint64_t number(int width) {
        std::uint64_t value = 0;
        for (int i = 0; i < width; ++i) {
            value |= std::uint64_t{byte()} << (8 * i);
        }
        return value;
    }
    std::uint32_t number32() { return static_cast<std::uint32_t>(number(4)); }
    std::uint64_t number64() { return number(8); }
    std::string bytes() {
        const std::uint32_t size = number32();
        if (mFailed || size > mRest.size()) {
            mFailed = true;
            return {};
        }
        std::string text(mRest.substr(0, size));
        mRest.remove_prefix(size);
        return text;
    }
    // A count of entries that each take at least `entryBytes`: never more
    // than the payload can hold, so a forged count cannot exhaust memory.
    std::uint32_t count(std::size_t entryBytes) {
        const std::uint32_t value = number32();
        if (value > mRest.size() / entryBytes) {
            mFailed = true;
            return 0;
        }
        return value;
    }
    bool wholeAndValid() const { return !mFailed && mRest.empty(); }

  private:
    std::string_view mRest;
    bool mFailed = false;
};

bool isKnownKind(std::uint8_t kind) {
    switch (static_cast<RecordKind>(kind)) {
        case RecordKind::MoveToTrash:
        case RecordKind::RemovePermanently:
        case RecordKind::Cancel:
        case RecordKind::Ready:
        case RecordKind::Result:
            return true;
    }
    return false;
}

// Reads exactly `size` bytes; answers how many came before the end.
std::size_t readFully(int fd, char* into, std::size_t size) {
    std::size_t done = 0;
    while (done < size) {
        const ssize_t got = ::read(fd, into + done, size - done);
        if (got > 0) {
            done += static_cast<std::size_t>(got);
        } else if (got == 0 || errno != EINTR) {
            break;
        }
    }
    return done;
}

}  // namespace

std::string encodeRecord(const Record& record) {
    Writer body;
    body.byte(static_cast<std::uint8_t>(record.kind));
    switch (record.kind) {
        case RecordKind::MoveToTrash:
        case RecordKind::RemovePermanently:
            body.number64(record.id);
            body.bytes(record.homeTrash);
            body.number32(static_cast<std::uint32_t>(record.items.size()));
            for (const TargetItem& item : record.items) {
                body.bytes(item.path);
                body.number64(item.device);
                body.number64(item.inode);
            }
            break;
        case RecordKind::Cancel:
            body.number64(record.id);
            break;
        case RecordKind::Ready:
            body.number32(record.version);
            break;
        case RecordKind::Result:
            body.number64(record.id);
            body.byte(record.cancelled ? 1 : 0);
            body.number32(static_cast<std::uint32_t>(record.outcomes.size()));
            for (const ItemOutcome& outcome : record.outcomes) {
                body.number32(static_cast<std::uint32_t>(outcome.error));
                body.bytes(outcome.message);
            }
            break;
    }
    Writer framed;
    framed.number32(static_cast<std::uint32_t>(body.result().size()));
    return framed.result() + body.result();
}

std::optional<Record> decodeRecord(std::string_view payload) {
    Reader in(payload);
    const std::uint8_t kind = in.byte();
    if (!isKnownKind(kind)) {
        return std::nullopt;
    }
    Record record;
    record.kind = static_cast<RecordKind>(kind);
    switch (record.kind) {
        case RecordKind::MoveToTrash:
        case RecordKind::RemovePermanently: {
            record.id = in.number64();
            record.homeTrash = in.bytes();
            const std::uint32_t count = in.count(4 + 8 + 8);
            for (std::uint32_t i = 0; i < count; ++i) {
                TargetItem item;
                item.path = in.bytes();
                item.device = in.number64();
                item.inode = in.number64();
                record.items.push_back(std::move(item));
            }
            break;
        }
        case RecordKind::Cancel:
            record.id = in.number64();
            break;
        case RecordKind::Ready:
            record.version = in.number32();
            break;
        case RecordKind::Result: {
            record.id = in.number64();
            const std::uint8_t cancelled = in.byte();
            if (cancelled > 1) {
                return std::nullopt;
            }
            record.cancelled = cancelled == 1;
            const std::uint32_t count = in.count(4 + 4);
            for (std::uint32_t i = 0; i < count; ++i) {
                ItemOutcome outcome;
                outcome.error = static_cast<std::int32_t>(in.number32());
                outcome.message = in.bytes();
                record.outcomes.push_back(std::move(outcome));
            }
            break;
        }
    }
    if (!in.wholeAndValid()) {
        return std::nullopt;
    }
    return record;
}

ReadStatus readRecord(int fd, std::string& payload) {
    char prefix[4];
    const std::size_t got = readFully(fd, prefix, sizeof prefix);
    if (got == 0) {
        return ReadStatus::End;
    }
    if (got != sizeof prefix) {
        return ReadStatus::Broken;
    }
    std::uint32_t size = 0;
    for (int i = 0; i < 4; ++i) {
        size |= std::uint32_t{static_cast<unsigned char>(prefix[i])} << (8 * i);
    }
    if (size == 0 || size > kMaxRecordSize) {
        return ReadStatus::Broken;
    }
    payload.assign(size, '\0');
    return readFully(fd, payload.data(), size) == size ? ReadStatus::Record : ReadStatus::Broken;
}

bool writeRecord(int fd, const Record& record) {
    const std::string bytes = encodeRecord(record);
    std::size_t done = 0;
    while (done < bytes.size()) {
        const ssize_t put = ::write(fd, bytes.data() + done, bytes.size() - done);
        if (put > 0) {
            done += static_cast<std::size_t>(put);
        } else if (put < 0 && errno != EINTR) {
            return false;
        }
    }
    return true;
}

}  // namespace korvex::elevated

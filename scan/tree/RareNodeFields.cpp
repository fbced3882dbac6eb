#include "scan/tree/RareNodeFields.h"

#include <mutex>
#include <unordered_map>

namespace korvex::rareNodeFields {

namespace {

template <class Value>
class Table {
  public:
    template <class Make>
    Value& get(const FileSystemItem* node, Make make) {
        std::lock_guard lock(mLock);
        auto it = mEntries.find(node);
        if (it == mEntries.end()) {
            it = mEntries.emplace(node, make()).first;
        }
        return it->second;  // entries are never moved by later inserts
    }
    void set(const FileSystemItem* node, Value value) {
        std::lock_guard lock(mLock);
        mEntries.insert_or_assign(node, std::move(value));
    }
    void forget(const FileSystemItem* node) {
        std::lock_guard lock(mLock);
        mEntries.erase(node);
    }
    std::size_t size() {
        std::lock_guard lock(mLock);
        return mEntries.size();
    }

  private:
    std::mutex mLock;
    std::unordered_map<const FileSystemItem*, Value> mEntries;
};

// Never destroyed: nodes may be released while statics go away at exit.
Table<std::string>& names() {
    static auto* table = new Table<std::string>();
    return *table;
}

Table<std::int64_t>& sizes() {
    static auto* table = new Table<std::int64_t>();
    return *table;
}

Table<FileSystemItemAttributes>& dates() {
    static auto* table = new Table<FileSystemItemAttributes>();
    return *table;
}

}  // namespace

void setName(const FileSystemItem* node, std::string_view name) {
    names().set(node, std::string(name));
}

std::string_view name(const FileSystemItem* node) {
    return names().get(node, [] { return std::string(); });
}

void forgetName(const FileSystemItem* node) {
    names().forget(node);
}

void setSize(const FileSystemItem* node, std::int64_t bytes) {
    sizes().set(node, bytes);
}

std::int64_t size(const FileSystemItem* node) {
    return sizes().get(node, [] { return std::int64_t{0}; });
}

void forgetSize(const FileSystemItem* node) {
    sizes().forget(node);
}

FileSystemItemAttributes& attributes(const FileSystemItem* node, const std::string& path) {
    return dates().get(node, [&] { return FileSystemItemAttributes::initWithPath(path); });
}

void forgetAttributes(const FileSystemItem* node) {
    dates().forget(node);
}

std::size_t entries() {
    return names().size() + sizes().size() + dates().size();
}

}  // namespace korvex::rareNodeFields

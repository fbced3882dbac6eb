#include "scan/saved/JsonScanner.h"
#include "scan/saved/NcduExport.h"
#include "scan/saved/NcduExportKeys.h"
#include "scan/saved/TreeAssembler.h"
#include "scan/skip/PackageRules.h"

#include <memory>
#include <unordered_set>
#include <vector>

namespace korvex {

namespace {

using saved::JsonScanner;
using saved::NodeKind;

// Names are single components; this is generous for any file system.
constexpr std::size_t kMaxName = 64 * 1024;

struct Info {
    std::string name;
    std::int64_t dsize = 0;
    std::optional<std::uint64_t> device;
    std::uint64_t inode = 0;
    bool hardLinked = false;
    bool readError = false;
    bool excluded = false;
    bool notRegular = false;
    bool package = false;
};

Info readInfo(JsonScanner& json, bool isRoot) {
    Info info;
    const std::size_t start = json.offset();
    bool named = false;
    if (!json.expect('{')) {
        return info;
    }
    if (json.accept('}')) {
        json.fail("an entry has no name", start);
        return info;
    }
    do {
        const std::string key = json.string(64);
        json.expect(':');
        if (key == ncdu::kName) {
            info.name = json.string(isRoot ? 4096 : kMaxName);
            named = true;
        } else if (key == ncdu::kDiskSize) {
            info.dsize = static_cast<std::int64_t>(json.unsignedNumber());
        } else if (key == ncdu::kDevice) {
            info.device = json.unsignedNumber();
        } else if (key == ncdu::kInode) {
            info.inode = json.unsignedNumber();
        } else if (key == ncdu::kHardLinkCount || key == ncdu::kHardLink) {
            info.hardLinked = json.boolean() || info.hardLinked;
        } else if (key == ncdu::kLinkCount) {
            info.hardLinked = json.unsignedNumber() > 1 || info.hardLinked;
        } else if (key == ncdu::kReadError) {
            info.readError = json.boolean();
        } else if (key == ncdu::kNotRegular) {
            info.notRegular = json.boolean();
        } else if (key == ncdu::kPackage) {
            info.package = json.boolean();
        } else if (key == ncdu::kExcluded) {
            json.skipValue();
            info.excluded = true;
        } else {
            json.skipValue();
        }
    } while (!json.failed() && json.accept(','));
    json.expect('}');
    if (!named && !json.failed()) {
        json.fail("an entry has no name", start);
    }
    return info;
}

struct Metadata {
    std::int64_t timestamp = 0;
    std::string host;
};

Metadata readMetadata(JsonScanner& json) {
    Metadata meta;
    if (json.peek() != '{') {
        json.skipValue();
        return meta;
    }
    json.expect('{');
    if (json.accept('}')) {
        return meta;
    }
    do {
        const std::string key = json.string(kMaxName);
        json.expect(':');
        if (key == ncdu::kTimestamp && json.peek() >= '0' && json.peek() <= '9') {
            meta.timestamp = static_cast<std::int64_t>(json.unsignedNumber());
        } else if (key == ncdu::kHost && json.peek() == '"') {
            meta.host = json.string(4096);
        } else {
            json.skipValue();
        }
    } while (!json.failed() && json.accept(','));
    json.expect('}');
    return meta;
}

class ExportReader {
  public:
    explicit ExportReader(std::string_view text) : mJson(text) {}

    SavedScanResult read() {
        SavedScan scan;
        mJson.expect('[');
        const std::size_t versionAt = mJson.offset();
        const std::uint64_t major = mJson.unsignedNumber();
        if (!mJson.failed() && major != 1) {
            mJson.fail("export format " + std::to_string(major) + " is not version 1", versionAt);
        }
        mJson.expect(',');
        mJson.unsignedNumber();
        mJson.expect(',');
        Metadata meta = readMetadata(mJson);
        scan.scanTime = meta.timestamp;
        scan.host = std::move(meta.host);
        mJson.expect(',');
        readTree();
        mJson.expect(']');
        mJson.expectEnd();
        if (mJson.failed()) {
            return {std::nullopt, *mJson.error()};
        }
        scan.root = mTree.finish();
        scan.entriesRead = mEntries;
        if (!mIdentities->empty()) {
            mIdentities->seal();
            scan.identities = std::move(mIdentities);
        }
        return {std::move(scan), {}};
    }

  private:
    struct Open {
        std::uint64_t device;
    };

    void refuse(const std::optional<std::string>& why, std::size_t at) {
        if (why) {
            mJson.fail(*why, at);
        }
    }

    // The directory tree: nested arrays, walked with a stack of open folders.
    void readTree() {
        std::size_t at = mJson.offset();
        if (!mJson.expect('[')) {
            return;
        }
        Info root = readInfo(mJson, true);
        if (mJson.failed()) {
            return;
        }
        beginFolder(root, at);
        while (!mOpen.empty() && !mJson.failed()) {
            if (mJson.accept(']')) {
                mOpen.pop_back();
                refuse(mTree.endFolder(), mJson.offset());
                continue;
            }
            mJson.expect(',');
            at = mJson.offset();
            if (mJson.accept('[')) {
                Info folder = readInfo(mJson, false);
                if (!mJson.failed()) {
                    beginFolder(folder, at);
                }
            } else if (mJson.peek() == '{') {
                Info leaf = readInfo(mJson, false);
                if (!mJson.failed()) {
                    addLeaf(leaf, at);
                }
            } else if (!mJson.failed()) {
                mJson.fail("expected an entry", at);
            }
        }
    }

    SavedNode nodeFor(const Info& info, NodeKind kind) const {
        SavedNode node;
        node.kind = kind;
        node.name = info.name;
        node.size = info.dsize;
        node.hidden = !mOpen.empty() && isHiddenName(info.name);
        node.denied = info.readError && kind == NodeKind::Folder;
        node.hardLinked = info.hardLinked;
        return node;
    }

    void beginFolder(const Info& info, std::size_t at) {
        const std::uint64_t device = info.device.value_or(mOpen.empty() ? 0 : mOpen.back().device);
        ++mEntries;
        if (info.package) {
            // A package is kept as one leaf; whatever the export lists in it
            // was counted into its own size when it was written.
            refuse(mTree.addLeaf(nodeFor(info, NodeKind::Package)), at);
            mOpen.push_back({device});
            mSkipping.push_back(true);
            return;
        }
        if (!mSkipping.empty() && mSkipping.back()) {
            mOpen.push_back({device});
            mSkipping.push_back(true);
            return;
        }
        refuse(mTree.beginFolder(nodeFor(info, NodeKind::Folder)), at);
        mOpen.push_back({device});
        mSkipping.push_back(false);
    }

    void addLeaf(Info info, std::size_t at) {
        ++mEntries;
        if (!mSkipping.empty() && mSkipping.back()) {
            return;
        }
        if (info.excluded) {
            return;  // another file system, or left out on purpose: no node, as in a scan here
        }
        const std::uint64_t device = info.device.value_or(mOpen.back().device);
        if (info.hardLinked && info.inode != 0) {
            if (!mLinks.insert({device, info.inode}).second) {
                info.dsize = 0;  // this inode's blocks count at its first link
            }
        }
        if (info.notRegular) {
            refuse(mTree.addOwnBlocks(info.dsize), at);
            return;
        }
        refuse(mTree.addLeaf(nodeFor(info, NodeKind::File)), at);
        // Kept so that the link is written as one again.
        if (info.inode != 0 && !mJson.failed()) {
            mIdentities->add(mTree.lastAdded(), {device, info.inode});
        }
    }

    struct LinkHash {
        std::size_t operator()(const std::pair<std::uint64_t, std::uint64_t>& key) const {
            return std::hash<std::uint64_t>()(key.second * 31 + key.first);
        }
    };

    JsonScanner mJson;
    TreeAssembler mTree;
    std::vector<Open> mOpen;
    // Per open folder: whether it lies inside a package and gets no nodes.
    std::vector<bool> mSkipping;
    std::unordered_set<std::pair<std::uint64_t, std::uint64_t>, LinkHash> mLinks;
    std::int64_t mEntries = 0;
    std::shared_ptr<NodeIdentities> mIdentities = std::make_shared<NodeIdentities>();
};

}  // namespace

bool looksLikeNcduExport(std::string_view head) {
    const std::size_t first = head.find_first_not_of(" \t\r\n");
    return first != std::string_view::npos && head[first] == '[';
}

SavedScanResult decodeNcduExport(std::string_view text) {
    return ExportReader(text).read();
}

}  // namespace korvex

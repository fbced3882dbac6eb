#include "scan/saved/NcduExport.h"

#include "scan/saved/NcduExportKeys.h"

#include <cstdio>
#include <vector>

namespace korvex {

namespace {

void putText(std::string& out, std::string_view text) {
    out.push_back('"');
    for (const char c : text) {
        const auto byte = static_cast<unsigned char>(c);
        switch (c) {
            case '"':
                out += "\\\"";
                break;
            case '\\':
                out += "\\\\";
                break;
            case '\n':
                out += "\\n";
                break;
            case '\t':
                out += "\\t";
                break;
            case '\r':
                out += "\\r";
                break;
            default:
                if (byte < 0x20 || byte == 0x7F) {
                    char escape[8];
                    std::snprintf(escape, sizeof escape, "\\u%04x", byte);
                    out += escape;
                } else {
                    out.push_back(c);
                }
        }
    }
    out.push_back('"');
}

void putKey(std::string& out, std::string_view key) {
    out.push_back(',');
    putText(out, key);
    out.push_back(':');
}

// ncdu's own marks of a hard link: the inode, so that a reader counts its
// blocks once, and the flag. Without a recorded inode the link is written as
// a plain file; it carries no size anyway but at its first link.
void putHardLink(std::string& out, const FileSystemItem& node, const NodeIdentities* identities) {
    const auto identity = identities != nullptr ? identities->of(&node) : std::nullopt;
    if (!identity) {
        return;
    }
    putKey(out, ncdu::kInode);
    out += std::to_string(identity->inode);
    putKey(out, ncdu::kHardLinkCount);
    out += "true";
}

// The device where it differs from the parent's, as ncdu writes it.
void putDevice(std::string& out, const FileSystemItem& node, const NodeIdentities* identities) {
    if (identities == nullptr || !node.isDir()) {
        return;
    }
    const auto identity = identities->of(&node);
    const auto parent =
        node.getParent() != nullptr ? identities->of(node.getParent()) : std::nullopt;
    if (identity && (!parent || parent->device != identity->device)) {
        putKey(out, ncdu::kDevice);
        out += std::to_string(identity->device);
    }
}

void putInfo(std::string& out, const FileSystemItem& node, bool isRoot,
             const NodeIdentities* identities) {
    out += "{\"name\":";
    putText(out, isRoot ? node.fullPath() : std::string(node.relativePath()));
    const bool folder = node.isDir();
    putKey(out, ncdu::kDiskSize);
    out += std::to_string(folder ? static_cast<const FolderSystemItem&>(node).ownCountedSize()
                                 : node.selfSize());
    if (node.accessDenied()) {
        putKey(out, ncdu::kReadError);
        out += "true";
    }
    if (node.isPack()) {
        putKey(out, ncdu::kPackage);
        out += "true";
    }
    putDevice(out, node, identities);
    if (node.isHardLinked()) {
        putHardLink(out, node, identities);
    }
    out.push_back('}');
}

}  // namespace

std::string encodeNcduExport(const SavedScan& scan) {
    std::string out = "[1,0,{\"progname\":\"korvex\",\"progver\":\"1\"";
    putKey(out, ncdu::kTimestamp);
    out += std::to_string(scan.scanTime);
    putKey(out, ncdu::kHost);
    putText(out, scan.host);
    out += "},\n";
    // A stack of children still to write; a null entry closes a folder.
    struct Step {
        const FileSystemItem* node;
        bool isRoot;
    };
    std::vector<Step> pending{{scan.root.get(), true}};
    while (!pending.empty()) {
        const Step step = pending.back();
        pending.pop_back();
        if (step.node == nullptr) {
            out += "]";
            continue;
        }
        if (step.node->isSpecial()) {
            continue;
        }
        if (!step.isRoot) {
            out += ",\n";
        }
        if (!step.node->isDir()) {
            putInfo(out, *step.node, false, scan.identities.get());
            continue;
        }
        out.push_back('[');
        putInfo(out, *step.node, step.isRoot, scan.identities.get());
        pending.push_back({nullptr, false});
        for (std::size_t i = step.node->numberOfChildren(); i-- > 0;) {
            pending.push_back({step.node->childAtIndex(i), false});
        }
    }
    out += "]\n";
    return out;
}

}  // namespace korvex

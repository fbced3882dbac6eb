#include "scan/format/ItemNotes.h"

#include "platform/Localization.h"
#include "platform/fs/EntryFacts.h"
#include "scan/tree/FileSystemItem.h"

namespace korvex {

namespace {

constexpr const char* kTable = "ItemNotesLocalizable";
constexpr platform::TextEntry kDenied{"AccessDenied", "Access denied", "a folder not read"};
constexpr platform::TextEntry kUnreadable{
    "AccessDeniedUnreadable", "Access denied: you may not list this folder", "no read permission"};
constexpr platform::TextEntry kUnsearchable{
    "AccessDeniedUnsearchable", "Access denied: you may list this folder but not open its items",
    "read but no search permission"};
constexpr platform::TextEntry kHardLink{"HardLinkNote", "Hard link: %@ links, counted once",
                                        "%@ is the number of names the file has"};
constexpr platform::TextEntry kFreesNothing{
    "HardLinkRemovalNote", "Other names keep this file: removing this one frees nothing",
    "review of a hard-linked file"};
constexpr platform::TextEntry kPurgeable{"PurgeableCacheNote",
                                         "Purgeable: programs rebuild this cache when needed",
                                         "the user's cache folder"};

std::string text(const platform::TextEntry& entry) {
    return platform::localized(kTable, entry);
}

// The names a hard-linked node's file has now; 0 for other nodes.
std::uint32_t linksOf(const FileSystemItem& node) {
    return node.isHardLinked() ? platform::linkCountAt(node.fullPath()) : 0;
}

}  // namespace

std::optional<std::string> accessDeniedText(const FileSystemItem& node) {
    if (!node.accessDenied()) {
        return std::nullopt;
    }
    switch (platform::folderDenialAt(node.fullPath())) {
        case platform::FolderDenial::Unreadable:
            return text(kUnreadable);
        case platform::FolderDenial::Unsearchable:
            return text(kUnsearchable);
        case platform::FolderDenial::None:
            break;  // the rights changed since the scan
    }
    return text(kDenied);
}

std::optional<std::string> itemNote(const FileSystemItem& node) {
    if (auto denied = accessDeniedText(node)) {
        return denied;
    }
    if (std::uint32_t links = linksOf(node); links > 1) {
        // Put together by pieces: an in-place replace of this constant
        // pattern trips a false overlap warning of the compiler.
        const std::string pattern = text(kHardLink);
        const std::size_t at = pattern.find("%@");
        if (at == std::string::npos) {
            return pattern;
        }
        return pattern.substr(0, at) + std::to_string(links) + pattern.substr(at + 2);
    }
    if (node.isPurgeableCache()) {
        return text(kPurgeable);
    }
    return std::nullopt;
}

std::optional<std::string> removalNote(const FileSystemItem& node) {
    if (linksOf(node) > 1) {
        return text(kFreesNothing);
    }
    return std::nullopt;
}

}  // namespace korvex

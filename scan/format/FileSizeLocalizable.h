#pragma once

#include "platform/Localization.h"

namespace korvex::FileSizeLocalizable {

inline constexpr const char* kTable = "FileSizeLocalizable";

inline constexpr platform::TextEntry bLabel{"Byte", "B", "unit: bytes"};
inline constexpr platform::TextEntry KBLabel{"K Bytes", "kB", "unit: kilobytes (1000 bytes)"};
inline constexpr platform::TextEntry MBLabel{"M Bytes", "MB", "unit: megabytes"};
inline constexpr platform::TextEntry GBLabel{"G Bytes", "GB", "unit: gigabytes"};
inline constexpr platform::TextEntry TBLabel{"T Bytes", "TB", "unit: terabytes"};
inline constexpr platform::TextEntry PBLabel{"P Bytes", "PB", "unit: petabytes"};

inline std::string text(const platform::TextEntry& entry) {
    return platform::localized(kTable, entry);
}

}  // namespace korvex::FileSizeLocalizable

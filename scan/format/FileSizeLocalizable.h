#pragma once

#include "platform/Localization.h"

namespace korvex::FileSizeLocalizable {

inline constexpr const char* kTable = "FileSizeLocalizable";

inline constexpr platform::TextEntry bLabel{"Byte", "B", "unit: bytes"};
inline constexpr platform::TextEntry KBLabel{"K Bytes", "KB", "unit: kilobytes"};
inline constexpr platform::TextEntry MBLabel{"M Bytes", "MB", "unit: megabytes"};
inline constexpr platform::TextEntry GBLabel{"G Bytes", "GB", "unit: gigabytes"};
inline constexpr platform::TextEntry TBLabel{"T Bytes", "TB", "unit: terabytes"};
inline constexpr platform::TextEntry PBLabel{"P Bytes", "PB", "unit: petabytes"};
inline constexpr platform::TextEntry EBLabel{"E Bytes", "EB", "unit: exabytes"};
inline constexpr platform::TextEntry ZBLabel{"Z Bytes", "ZB", "unit: zettabytes"};
inline constexpr platform::TextEntry YBLabel{"Y Bytes", "YB", "unit: yottabytes"};
inline constexpr platform::TextEntry zeroBytesLabel{"ZeroBytesLabel", "Zero Bytes",
                                                    "a size of nothing, compact style"};
inline constexpr platform::TextEntry bytesWordLabel{"BytesWordLabel", "bytes",
                                                    "word after a byte count"};
inline constexpr platform::TextEntry zeroKBLabel{"ZeroKBLabel", "Zero KB",
                                                 "a size of nothing, short style"};
inline constexpr platform::TextEntry bytesAmountLabel{"BytesAmountLabel", "%d bytes",
                                                      "a byte count; %d is the number"};

inline std::string text(const platform::TextEntry& entry) {
    return platform::localized(kTable, entry);
}

}  // namespace korvex::FileSizeLocalizable

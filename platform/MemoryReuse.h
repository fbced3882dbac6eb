#pragma once

namespace korvex::platform {

// The window allocates and frees blocks of a few megabytes on every redraw
// (images, rows). By default the C library gives such blocks back to the
// system at once and maps them again for the next redraw, a page fault per
// 4 KiB each time; while a scan redraws several times a second that costs a
// noticeable share of the main thread. This keeps freed memory, up to a bound,
// for reuse. Call once, at the start of the process.
void keepFreedMemoryForReuse();

}  // namespace korvex::platform

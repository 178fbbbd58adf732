#pragma once
// The diagnostic log: one time-stamped line per call to a daily file in the data
// folder, mirrored to the debugger output. Callable from any thread.
#include <string>

#include "quencfg/framework/clock.h"

namespace quencfg {

inline constexpr char16_t LogTag[] = u"VornKeyboardPlugin";

// The line and the path are built in 260-byte buffers: a longer line is cut at a
// character boundary; a path that does not fit is not written to (debugger only).
inline constexpr std::size_t kLogBufferBytes = 260;

void WriteLogString(std::u16string message);

// The same at a given moment, into the log of `dataFolder`: the seam the tests drive.
void WriteLogStringAt(const LocalTime& when, std::u16string_view dataFolder, std::u16string_view message);

// "YYYYMMDD_VornKeyboardPlugin.log" inside `dataFolder`.
std::u16string LogFilePath(const LocalTime& when, std::u16string_view dataFolder);

}  // namespace quencfg

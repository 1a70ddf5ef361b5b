#pragma once

#include <string>

namespace cellctl::cli {

// Operator names come from the device as GBK bytes. Returns them as UTF-8;
// a byte sequence that is not GBK becomes U+FFFD, so the result is always
// valid UTF-8 and conversion never fails.
std::string gbkToUtf8(const std::string& gbk);

// Device text made safe to print on a terminal: control characters (C0, DEL
// and C1, which could move the cursor or change colours) become '?'.
// Expects valid UTF-8.
std::string terminalSafe(const std::string& utf8);

}  // namespace cellctl::cli

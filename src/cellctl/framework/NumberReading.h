#pragma once

// Number reading is the text kit's (<cellctl/text/Numbers.h>). This header
// only keeps the old names for code not yet moved over to it.
#include <cellctl/text/Numbers.h>

namespace cellctl {
using text::readLeadingInt;
using text::wrapToInt;
}  // namespace cellctl

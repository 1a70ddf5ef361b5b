#pragma once

#include <cellctl/framework/Export.h>

namespace cellctl {

// The library's version, "major.minor.patch", as built.
CELLCTL_EXPORT const char* version();

}  // namespace cellctl

#include <cellctl/framework/Version.h>

namespace cellctl {

const char* version() { return CELLCTL_VERSION; }

}  // namespace cellctl

#pragma once

#include <cellctl/framework/Export.h>

// The four flags of a cell-capability report, in the report's order; each is
// true when its number in the report is non-zero. An HSDPA indication sets only
// the third.
class CELLCTL_EXPORT CCellCapabilityInfo {
public:
    bool m_capability1 = false;
    bool m_capability2 = false;
    bool m_capability3 = false;
    bool m_capability4 = false;
};

#pragma once

#include <string>

#include "QosProfile.h"
#include "Session.h"

namespace cellctl::cli {

// The packet-domain state as the modem reads it back (3GPP TS 27.007 +CGATT?,
// +CGDCONT?, +CGEQREQ?): whether a change whose answer was lost took.

// Attached to the packet domain.
bool isAttached(Session& session);
// Context `contextId` is defined with this APN (APNs compare without regard to case).
bool contextHasApn(Session& session, int contextId, const std::string& apn);
// Context `contextId` asks for this traffic class and these maximum bit rates.
bool qosProfileIs(Session& session, int contextId, const QosProfile& profile);

}  // namespace cellctl::cli

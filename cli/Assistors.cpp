#include "Assistors.h"

namespace cellctl::cli {

Assistors::Assistors() : m_set(CAssistorSet::PowerHsdpa)
{
    // Query the current mode during power-on, so that the signal query picks
    // GSM or TD correctly from the start.
    power.SetSupportDualMode(true);
}

}  // namespace cellctl::cli

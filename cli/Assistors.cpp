#include "Assistors.h"

namespace cellctl::cli {

Assistors::Assistors() : power(&usim, &cops, &mode), connection(&connectionHelper)
{
    // Query the current mode during power-on, so that the signal query picks
    // GSM or TD correctly from the start.
    power.SetSupportDualMode(true);
    connectionHelper.SetConnectionAssistor(&connection);
}

void Assistors::attach(PhoneLine& line)
{
    usim.SetPhoneLine(&line);
    cops.SetPhoneLine(&line);
    mode.SetPhoneLine(&line);
    power.SetPhoneLine(&line);
    connectionHelper.SetPhoneLine(&line);
    connectionHelper.Initialize();
    m_attached = true;
}

void Assistors::detach()
{
    if (!m_attached)
        return;
    power.ResetPhoneLine();
    usim.ResetPhoneLine();
    cops.ResetPhoneLine();
    mode.ResetPhoneLine();
    connection.ResetPhoneLine();
    m_attached = false;
}

}  // namespace cellctl::cli

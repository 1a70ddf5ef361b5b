#include <cellsim/Device.h>

#include <cellctl/text/Hex.h>

namespace cellsim {

Device::Device(const ModemOptions& options, Scheduler& scheduler, Report report)
    : m_options(options),
      m_report(std::move(report)),
      m_sim(options),
      m_network(options, scheduler, m_report)
{
}

void Device::updateService() { m_network.setServiceAllowed(radioOn() && m_sim.status() == SimStatus::Ready); }

void Device::setFunctionality(int functionality)
{
    m_functionality = functionality;
    updateService();
}

void Device::reset(int functionality)
{
    m_settings = Settings();
    m_packet = PacketData();
    m_lastCallEnd.clear();
    m_sim.restart();
    m_network.restart(m_network.powerOnMode());
    m_functionality = functionality;
    if (m_sim.requirePresent() == std::nullopt) {
        report("+CPIN: " + m_sim.pinStatusWord());
    }
    updateService();
}

void Device::simUnlocked()
{
    const auto smsReady = m_settings.values.find("^DSMN");
    if (smsReady != m_settings.values.end() && !smsReady->second.empty() && smsReady->second[0] == 1) {
        report("^DSMN");
    }
    updateService();
}

Outcome Device::requireService() const
{
    if (auto refused = m_sim.requireReady()) {
        return refused;
    }
    if (!radioOn()) {
        return CmeError::NoNetworkService;
    }
    return std::nullopt;
}

std::string Device::encodeName(const std::string& name) const
{
    return m_settings.charset == "HEX" ? cellctl::text::hexEncode(name) : name;
}

std::optional<std::string> Device::decodeName(const std::string& text) const
{
    if (m_settings.charset == "HEX") {
        return cellctl::text::hexDecode(text);
    }
    return text;
}

}  // namespace cellsim

#include <cellsim/Network.h>

namespace cellsim {
namespace {

NetworkMode startMode(ModeStart start)
{
    switch (start) {
    case ModeStart::Gsm:
        return NetworkMode{1, 2, AccessGsm};
    case ModeStart::Td:
        return NetworkMode{1, 2, AccessTd};
    case ModeStart::Dual:
        return NetworkMode{1, 0, AccessTd};
    }
    return NetworkMode{};
}

bool validAccessTech(int accessTech) { return accessTech == AccessGsm || accessTech == AccessTd; }

}  // namespace

Network::Network(const ModemOptions& options, Scheduler& scheduler, Report report)
    : m_networks(options.networks),
      m_registrationDelay(options.registrationDelay),
      m_scheduler(scheduler),
      m_report(std::move(report)),
      m_mode(startMode(options.mode)),
      m_powerOnMode(m_mode)
{
}

const NetworkEntry* Network::serving() const
{
    return m_serving >= 0 ? &m_networks[static_cast<std::size_t>(m_serving)] : nullptr;
}

int Network::packetStatus() const
{
    if (m_packetDetached && registered()) {
        return NotRegistered;
    }
    return m_status;
}

int Network::campedAccessTech() const
{
    const NetworkEntry* network = serving();
    return network ? network->accessTech : m_mode.accessTech;
}

std::string Network::registrationLine(const std::string& prefix, int status, int mode, bool readForm) const
{
    std::string line = prefix + ": ";
    if (readForm) {
        line += std::to_string(mode) + ",";
    }
    line += std::to_string(status);
    const NetworkEntry* network = serving();
    if (mode == 2 && network && (status == RegisteredHome || status == RegisteredRoaming)) {
        const std::string lac = "A1" + network->numeric.substr(3);
        const std::string cell = network->accessTech == AccessTd ? "0C1D2E3F" : "1B2C";
        line += ",\"" + lac + "\",\"" + cell + "\"";
    }
    return line;
}

bool Network::allowedByMode(const NetworkEntry& network) const
{
    return m_mode.modeType == 0 || network.accessTech == m_mode.accessTech;
}

std::vector<const NetworkEntry*> Network::visibleNetworks() const
{
    std::vector<const NetworkEntry*> visible;
    for (const NetworkEntry& network : m_networks) {
        if (allowedByMode(network)) {
            visible.push_back(&network);
        }
    }
    return visible;
}

const NetworkEntry* Network::findNetwork(int format, const std::string& name, std::optional<int> accessTech) const
{
    const NetworkEntry* found = nullptr;
    for (const NetworkEntry& network : m_networks) {
        const std::string& candidate = format == 0   ? network.longName
                                       : format == 1 ? network.shortName
                                                     : network.numeric;
        if (candidate != name || (accessTech && network.accessTech != *accessTech)) {
            continue;
        }
        // Within the mode, the preferred access technology wins.
        if (!found || (!allowedByMode(*found) && allowedByMode(network)) ||
            (allowedByMode(network) && network.accessTech == m_mode.accessTech &&
             found->accessTech != m_mode.accessTech)) {
            found = &network;
        }
    }
    return found;
}

// The network the modem should be registered on now, if any.
const NetworkEntry* Network::target() const
{
    if (!m_serviceAllowed || m_selection == Deregistered) {
        return nullptr;
    }
    if (m_selection == Manual) {
        const NetworkEntry& manual = m_networks[static_cast<std::size_t>(m_manualTarget)];
        return allowedByMode(manual) && !manual.forbidden ? &manual : nullptr;
    }
    const NetworkEntry* best = nullptr;
    for (const NetworkEntry& network : m_networks) {
        if (!network.home || network.forbidden || !allowedByMode(network)) {
            continue;
        }
        if (network.accessTech == m_mode.accessTech) {
            return &network;
        }
        if (!best) {
            best = &network;
        }
    }
    return best;
}

void Network::setServiceAllowed(bool allowed)
{
    if (allowed == m_serviceAllowed) {
        return;
    }
    m_serviceAllowed = allowed;
    reconsider();
}

void Network::restart(const NetworkMode& mode)
{
    ++m_epoch;
    m_serviceAllowed = false;
    m_selection = Automatic;
    m_packetDetached = false;
    m_cregMode = 0;
    m_cgregMode = 0;
    m_hsdpaReports = false;
    m_cellInfoReports = false;
    m_mode = mode;
    setRegistration(NotRegistered, nullptr);
}

// Brings the registration in line with the target: drops it, starts a
// search, or hands over at once when already registered elsewhere.
void Network::reconsider()
{
    const NetworkEntry* wanted = target();
    if (!wanted) {
        ++m_epoch;
        setRegistration(NotRegistered, nullptr);
    } else if (registered()) {
        if (wanted != serving()) {
            setRegistration(wanted->home ? RegisteredHome : RegisteredRoaming, wanted);
        }
    } else if (m_status != Searching) {
        startSearch();
        if (m_status == Searching) {
            const auto epoch = m_epoch;
            m_scheduler.after(m_registrationDelay, [this, epoch] {
                if (epoch == m_epoch) {
                    completeSearch();
                }
            });
        }
    }
}

// Starts a registration attempt; without a delay it completes at once.
void Network::startSearch()
{
    ++m_epoch;
    if (m_registrationDelay.count() <= 0) {
        completeSearch();
    } else {
        setRegistration(Searching, nullptr);
    }
}

void Network::completeSearch()
{
    const NetworkEntry* wanted = target();
    if (wanted) {
        setRegistration(wanted->home ? RegisteredHome : RegisteredRoaming, wanted);
    } else {
        setRegistration(NotRegistered, nullptr);
    }
}

// The answer of a selection: once the search settles, OK if the modem is
// registered on the wanted network.
Reply Network::searchReply(const NetworkEntry* wanted)
{
    if (wanted && wanted == serving()) {
        return Reply::ok();
    }
    if (!wanted) {
        ++m_epoch;
        setRegistration(NotRegistered, nullptr);
        return Reply::failure(CmeError::NoNetworkService);
    }
    startSearch();
    const auto epoch = m_epoch;
    auto settle = [this, epoch, wanted] {
        if (epoch == m_epoch && m_status == Searching) {
            completeSearch();
        }
        return serving() == wanted ? Reply::ok() : Reply::failure(CmeError::NoNetworkService);
    };
    if (m_status != Searching) {
        return settle();
    }
    return Reply::later(m_registrationDelay, settle);
}

Reply Network::selectAutomatic()
{
    m_selection = Automatic;
    return searchReply(target());
}

Reply Network::selectManual(const NetworkEntry& network)
{
    if (network.forbidden) {
        return Reply::failure(CmeError::NetworkNotAllowed);
    }
    if (!allowedByMode(network)) {
        return Reply::failure(CmeError::NoNetworkService);
    }
    m_selection = Manual;
    m_manualTarget = static_cast<int>(&network - m_networks.data());
    return searchReply(target());
}

void Network::deregister()
{
    m_selection = Deregistered;
    reconsider();
}

Reply Network::attach()
{
    const int before = packetStatus();
    m_packetDetached = false;
    if (m_cgregMode > 0 && packetStatus() != before) {
        m_report(registrationLine("+CGREG", packetStatus(), m_cgregMode, false));
    }
    if (registered()) {
        return Reply::ok();
    }
    if (m_status != Searching) {
        return Reply::failure(CmeError::NoNetworkService);
    }
    // The attach completes with the registration in progress.
    return Reply::later(m_registrationDelay + std::chrono::milliseconds(1),
                        [this] { return registered() ? Reply::ok() : Reply::failure(CmeError::NoNetworkService); });
}

void Network::detach()
{
    const int before = packetStatus();
    m_packetDetached = true;
    if (m_cgregMode > 0 && packetStatus() != before) {
        m_report(registrationLine("+CGREG", packetStatus(), m_cgregMode, false));
    }
}

Outcome Network::switchMode(int behaviour, int modeType, std::optional<int> accessTech)
{
    if (behaviour < 0 || behaviour > 1 || modeType < 0 || modeType > 2) {
        return CmeError::IncorrectParameters;
    }
    if (accessTech ? !validAccessTech(*accessTech) : modeType != 0) {
        return CmeError::IncorrectParameters;
    }
    m_mode = NetworkMode{behaviour, modeType, accessTech.value_or(AccessTd)};
    m_report("^DSTMR: " + std::to_string(modeType));
    reconsider();
    return std::nullopt;
}

Outcome Network::setPowerOnMode(int modeType, int accessTech)
{
    if (modeType < 0 || modeType > 2 || !validAccessTech(accessTech)) {
        return CmeError::IncorrectParameters;
    }
    m_powerOnMode = NetworkMode{1, modeType, accessTech};
    return std::nullopt;
}

bool Network::hsdpaAvailable() const
{
    const NetworkEntry* network = serving();
    return network && network->accessTech == AccessTd;
}

// Four capabilities of the serving cell: EDGE, UTRAN (TD), HSDPA, HSUPA.
std::string Network::cellInfo() const
{
    const NetworkEntry* network = serving();
    if (!network) {
        return "0,0,0,0";
    }
    return network->accessTech == AccessTd ? "0,1,1,0" : "1,0,0,0";
}

void Network::setHsdpaReports(bool enabled)
{
    m_hsdpaReports = enabled;
    if (enabled && registered()) {
        m_report("+HSIND: " + std::string(hsdpaAvailable() ? "1" : "0"));
    }
}

void Network::setCellInfoReports(bool enabled)
{
    m_cellInfoReports = enabled;
    if (enabled && registered()) {
        m_report("^DCINFO: " + cellInfo());
    }
}

void Network::setRegistration(int status, const NetworkEntry* network)
{
    const int statusBefore = m_status;
    const int packetBefore = packetStatus();
    const bool hsdpaBefore = hsdpaAvailable();
    const std::string cellInfoBefore = cellInfo();

    m_status = status;
    m_serving = network ? static_cast<int>(network - m_networks.data()) : -1;
    if (!registered()) {
        m_packetDetached = false;
    }
    if (m_cregMode > 0 && m_status != statusBefore) {
        m_report(registrationLine("+CREG", m_status, m_cregMode, false));
    }
    if (m_cgregMode > 0 && packetStatus() != packetBefore) {
        m_report(registrationLine("+CGREG", packetStatus(), m_cgregMode, false));
    }
    reportCellChanges(hsdpaBefore, cellInfoBefore);
}

void Network::reportCellChanges(bool hsdpaBefore, const std::string& cellInfoBefore)
{
    if (m_hsdpaReports && hsdpaAvailable() != hsdpaBefore) {
        m_report("+HSIND: " + std::string(hsdpaAvailable() ? "1" : "0"));
    }
    if (m_cellInfoReports && cellInfo() != cellInfoBefore) {
        m_report("^DCINFO: " + cellInfo());
    }
}

}  // namespace cellsim

#pragma once

#include <chrono>
#include <cstdint>
#include <functional>
#include <optional>
#include <string>
#include <vector>

#include <cellsim/ModemOptions.h>
#include <cellsim/Reply.h>
#include <cellsim/Scheduler.h>

namespace cellsim {

// The network mode of ^DSTM: mode type 0 is dual mode (preferring
// `accessTech`), any other mode type is single mode on `accessTech`.
struct NetworkMode {
    int behaviour = 1;
    int modeType = 0;
    int accessTech = AccessTd;
};

// Registration statuses of +CREG and +CGREG.
enum RegistrationStatus : int {
    NotRegistered = 0,
    RegisteredHome = 1,
    Searching = 2,
    RegisteredRoaming = 5,
};

// The radio side of the modem: which networks it sees, the one it is
// registered on, how it selects one, its network mode, and the reports that
// follow registration (+CREG, +CGREG, +HSIND, ^DCINFO). Service is allowed
// while the radio is on and the SIM is ready; registration then takes the
// configured delay.
class Network {
public:
    enum Selection : int { Automatic = 0, Manual = 1, Deregistered = 2 };
    using Report = std::function<void(const std::string&)>;

    Network(const ModemOptions& options, Scheduler& scheduler, Report report);

    // Starts registering when allowed, drops the registration when not.
    void setServiceAllowed(bool allowed);
    // Back to the state after power-up, in the given network mode.
    void restart(const NetworkMode& mode);

    int status() const { return m_status; }
    int packetStatus() const;
    bool registered() const { return m_status == RegisteredHome || m_status == RegisteredRoaming; }
    const NetworkEntry* serving() const;
    // The access technology the radio measures: the serving network's, or
    // the preferred one of the mode while not registered.
    int campedAccessTech() const;

    // +CREG / +CGREG report settings (0 off, 1 status, 2 status with location).
    void setRegistrationReports(int mode) { m_cregMode = mode; }
    void setPacketReports(int mode) { m_cgregMode = mode; }
    int registrationReports() const { return m_cregMode; }
    int packetReports() const { return m_cgregMode; }
    // A +CREG: / +CGREG: line: the report form "<stat>[,<lac>,<ci>]" or the
    // read form with the report mode in front.
    std::string registrationLine(const std::string& prefix, int status, int mode, bool readForm) const;

    // Operator selection. The replies come once the registration is settled.
    int selection() const { return m_selection; }
    // Networks a scan finds in the current mode, in list order.
    std::vector<const NetworkEntry*> visibleNetworks() const;
    // Finds a network by numeric code (format 2) or long/short name (0/1).
    const NetworkEntry* findNetwork(int format, const std::string& name, std::optional<int> accessTech) const;
    Reply selectAutomatic();
    Reply selectManual(const NetworkEntry& network);
    void deregister();

    // Packet-domain attach: attach waits for the registration in progress.
    Reply attach();
    void detach();
    bool attached() const { return registered() && !m_packetDetached; }

    const NetworkMode& mode() const { return m_mode; }
    Outcome switchMode(int behaviour, int modeType, std::optional<int> accessTech);
    const NetworkMode& powerOnMode() const { return m_powerOnMode; }
    Outcome setPowerOnMode(int modeType, int accessTech);

    // HSDPA indications and cell-capability reports; switching one on reports
    // the current value at once when registered.
    void setHsdpaReports(bool enabled);
    void setCellInfoReports(bool enabled);
    bool hsdpaReports() const { return m_hsdpaReports; }
    bool cellInfoReports() const { return m_cellInfoReports; }
    bool hsdpaAvailable() const;
    std::string cellInfo() const;

private:
    const NetworkEntry* target() const;
    bool allowedByMode(const NetworkEntry& network) const;
    void reconsider();
    void startSearch();
    void completeSearch();
    Reply searchReply(const NetworkEntry* wanted);
    void setRegistration(int status, const NetworkEntry* serving);
    void reportCellChanges(bool hsdpaBefore, const std::string& cellInfoBefore);

    std::vector<NetworkEntry> m_networks;
    std::chrono::milliseconds m_registrationDelay;
    Scheduler& m_scheduler;
    Report m_report;

    bool m_serviceAllowed = false;
    int m_status = NotRegistered;
    int m_serving = -1;  // index into m_networks
    int m_selection = Automatic;
    int m_manualTarget = -1;  // index into m_networks
    bool m_packetDetached = false;
    std::uint64_t m_epoch = 0;  // a pending registration completes only in its own epoch

    NetworkMode m_mode;
    NetworkMode m_powerOnMode;
    int m_cregMode = 0;
    int m_cgregMode = 0;
    bool m_hsdpaReports = false;
    bool m_cellInfoReports = false;
};

}  // namespace cellsim

#pragma once

#include <string>

#include <cellctl/framework/Export.h>

// One network operator (PLMN) as it crosses the library's boundary: the
// current operator, an entry of the scan or of the preferred list, the
// preferred-list selector, or an operator the host wants selected or stored.
//
// Enumerated fields hold whatever number the device reported, named or not.
// Display names (operator long names, state names) are GBK byte strings and are
// stored and returned exactly as given; no character set is ever converted.
class CELLCTL_EXPORT CCopsInfo {
public:
    enum EState : int { StateUnknown = 0, StateAvailable = 1, StateCurrent = 2, StateForbidden = 3 };

    // Every non-zero mode selects the operator named in the record.
    enum EModeType : int { ModeAutomatic = 0, ModeManual = 1 };

    enum EFormat : int { FormatLong = 0, FormatShort = 1, FormatNumeric = 2 };

    enum EAccessTechType : int { AccessTechGsm = 0, AccessTechGsmCompact = 1, AccessTechTd = 2 };

    // The device's number for the preferred-operator list it works on; read
    // from the device and sent back unchanged.
    enum ESelector : int {};

    // Empty names, index 0, flags false, and all five enumerated fields 0.
    CCopsInfo();

    EModeType GetModeType() const { return m_modeType; }
    void SetModeType(EModeType modeType) { m_modeType = modeType; }
    ESelector GetSelector() const { return m_selector; }
    void SetSelector(ESelector selector) { m_selector = selector; }
    EFormat GetFormat() const { return m_format; }
    void SetFormat(EFormat format) { m_format = format; }
    EAccessTechType GetAccessTechType() const { return m_accessTechType; }
    void SetAccessTechType(EAccessTechType accessTechType) { m_accessTechType = accessTechType; }
    EState GetState() const { return m_state; }
    void SetState(EState state) { m_state = state; }

    std::string GetOperatorLongName() const { return m_longName; }
    void SetOperatorLongName(const std::string& name) { m_longName = name; }
    std::string GetOperatorShortName() const { return m_shortName; }
    void SetOperatorShortName(const std::string& name) { m_shortName = name; }
    std::string GetOperatorNumericName() const { return m_numericName; }
    void SetOperatorNumericName(const std::string& name) { m_numericName = name; }

    int GetPreferredPLMNListIndex() const { return m_preferredPLMNListIndex; }
    void SetPreferredPLMNListIndex(int index) { m_preferredPLMNListIndex = index; }
    bool GetPreferredPLMNListGsmSelected() const { return m_gsmSelected; }
    void SetPreferredPLMNListGsmSelected(bool selected) { m_gsmSelected = selected; }
    bool GetPreferredPLMNListTDSelected() const { return m_tdSelected; }
    void SetPreferredPLMNListTDSelected(bool selected) { m_tdSelected = selected; }
    bool GetPreferredPLMNListGsmCompactSelected() const { return m_gsmCompactSelected; }
    void SetPreferredPLMNListGsmCompactSelected(bool selected) { m_gsmCompactSelected = selected; }

    // The long, short or numeric name by format; empty for any other format.
    std::string GetOperatorName(EFormat format) const;
    // Stores the name that the format selects. A numeric code also replaces
    // both display names with the table's (empty for an unknown code). Any
    // other format leaves the record unchanged.
    void SetOperatorName(EFormat format, std::string name);

    // Sets the three preferred-list flags from the access technology: exactly
    // the matching one is true. An unnamed technology leaves them as they are.
    void SetAccessTechToPreferredPLMNList();

    // Display name of a state; empty for a value without a name.
    static std::string GetStateName(EState state);
    // Names of an operator by its exact numeric code; empty when unknown.
    static std::string GetOperatorLongNameFromNumeric(const std::string& numeric);
    static std::string GetOperatorShortNameFromNumeric(const std::string& numeric);
    // The same lookups as members; they read nothing of the record.
    std::string GetLongNameFromNumeric(const std::string& numeric) const;
    std::string GetShortNameFromNumeric(const std::string& numeric) const;

private:
    EModeType m_modeType;
    ESelector m_selector;
    EFormat m_format;
    EAccessTechType m_accessTechType;
    EState m_state;
    std::string m_longName;
    std::string m_shortName;
    std::string m_numericName;
    int m_preferredPLMNListIndex;
    bool m_gsmSelected;
    bool m_tdSelected;
    bool m_gsmCompactSelected;
};

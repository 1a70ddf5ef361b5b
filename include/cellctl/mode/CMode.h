#pragma once

#include <cellctl/framework/Export.h>

// One network mode of the device: its access technology, the behaviour and
// mode-type numbers of the mode commands, and a cell capability. The host
// builds records to request a switch or set the power-on mode; the mode helper
// fills its own records from the device's answers.
//
// The enumerations are carried as plain numbers: each has a fixed 32-bit
// underlying type, so any number the device sends is stored unchanged. Only the
// values the library itself sets or tests are named.
class CELLCTL_EXPORT CMode {
public:
    enum EAccessTechType : int { AccessTechGsm = 0, AccessTechTd = 2 };

    // First number of the mode command and of its answer.
    enum EBehaviorType : int {
        BehaviorPowerOn = 0,  // every power-on mode record
        BehaviorDefault = 1   // new records, and the mode read after an error answer
    };

    // Second number of the mode command and of its answer.
    enum EModeType : int {
        ModeTypeDefault = 0,  // a switch to this mode type carries no access technology
        ModeTypeOnError = 1   // the mode read after an error answer
    };

    // Stored and returned only; the library never sets it on its own.
    enum ECellCapability : int {};

    // Behaviour 1, mode type 0; access technology and cell capability 0.
    CMode();
    CMode(const CMode&) = default;
    CMode& operator=(const CMode&) = default;
    virtual ~CMode();

    EAccessTechType GetAccessTechType() const { return m_accessTechType; }
    void SetAccessTechType(EAccessTechType type) { m_accessTechType = type; }

    EBehaviorType GetBehaviorType() const { return m_behaviorType; }
    void SetBehaviorType(EBehaviorType type) { m_behaviorType = type; }

    EModeType GetModeType() const { return m_modeType; }
    void SetModeType(EModeType type) { m_modeType = type; }

    ECellCapability GetCellCapability() const { return m_cellCapability; }
    void SetCellCapability(ECellCapability capability) { m_cellCapability = capability; }

private:
    EAccessTechType m_accessTechType;
    EBehaviorType m_behaviorType;
    EModeType m_modeType;
    ECellCapability m_cellCapability;
};

// A mode on GSM: access technology 0.
class CELLCTL_EXPORT CGsmMode : public CMode {
public:
    CGsmMode();
    CGsmMode(const CGsmMode&) = default;
    CGsmMode& operator=(const CGsmMode&) = default;
    ~CGsmMode() override;
};

// A mode on TD: access technology 2.
class CELLCTL_EXPORT CTDMode : public CMode {
public:
    CTDMode();
    CTDMode(const CTDMode&) = default;
    CTDMode& operator=(const CTDMode&) = default;
    ~CTDMode() override;
};

// Any other mode; starts like a plain CMode.
class CELLCTL_EXPORT CExtendMode : public CMode {
public:
    CExtendMode();
    CExtendMode(const CExtendMode&) = default;
    CExtendMode& operator=(const CExtendMode&) = default;
    ~CExtendMode() override;
};

#pragma once

#include <cellctl/framework/Export.h>

class CAtHelper;
class PhoneLine;

// Base of every host-facing assistor. It holds nothing; each assistor keeps its
// own helper and one ResultSignal per result kind.
class CELLCTL_EXPORT CAssistor {
public:
    CAssistor() = default;
    CAssistor(const CAssistor&) = default;
    CAssistor& operator=(const CAssistor&) = default;
    virtual ~CAssistor();

protected:
    // What every assistor's SetPhoneLine does: store the line in the helper and
    // bind its slots. An earlier attachment is not undone. No helper: no-op.
    static void attachHelper(CAtHelper* helper, PhoneLine* line);
    // What every assistor's ResetPhoneLine does: unbind the helper's slots.
    // The helper keeps its PhoneLine, so requests are still sent.
    static void detachHelper(CAtHelper* helper);
};

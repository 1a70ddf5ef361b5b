#pragma once

#include <cellctl/framework/Export.h>
#include <cellctl/power/CPowerAssistor.h>

// The power assistor for devices with HSDPA: its set-up also switches on the
// cell-capability change reports and the HSDPA notification, which the mode
// assistor receives and reports.
class CELLCTL_EXPORT CPowerAssistorHsdpa : public CPowerAssistor {
public:
    explicit CPowerAssistorHsdpa(CUsimAssistor* usim = nullptr, CCopsAssistor* cops = nullptr,
                                 CModeAssistor* mode = nullptr);
    ~CPowerAssistorHsdpa() override;

    void SetupFeature() override;
};

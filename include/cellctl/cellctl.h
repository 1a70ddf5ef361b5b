#pragma once

// Every exported class of libcellctl.
#include <cellctl/framework/PhoneLine.h>
#include <cellctl/framework/CAtHelper.h>
#include <cellctl/framework/CAssistor.h>
#include <cellctl/usim/CUsimHelper.h>
#include <cellctl/usim/CUsimAssistor.h>
#include <cellctl/connection/CConnectionHelper.h>
#include <cellctl/connection/CConnectionAssistor.h>
#include <cellctl/mode/CMode.h>
#include <cellctl/mode/CCellCapabilityInfo.h>
#include <cellctl/mode/CModeAssistor.h>
#include <cellctl/cops/CCopsInfo.h>
#include <cellctl/cops/CCopsAssistor.h>
#include <cellctl/power/CPowerHelper.h>
#include <cellctl/power/CPowerAssistor.h>
#include <cellctl/power/CPowerAssistorHsdpa.h>
#include <cellctl/CAssistorSet.h>
#include <cellctl/framework/Version.h>

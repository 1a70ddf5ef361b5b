#pragma once

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <cellctl/cops/CCopsAssistor.h>

#include "RecordingPhoneLine.h"

namespace cellctl::test {

// An operator assistor on a recording line, with one callback per result kind
// that keeps every value it receives.
class CopsFixture : public ::testing::Test {
protected:
    CopsFixture()
    {
        assistor.SetPhoneLine(&line);
        assistor.connectQueryCopsResult([this](const CCopsInfo& c) { current.push_back(c); });
        assistor.connectQueryAvailableCops([this](const std::vector<CCopsInfo>& l) { available.push_back(l); });
        assistor.connectSelectCopsResult([this](bool ok) { selected.push_back(ok); });
        assistor.connectQueryPreferredSelector([this](const CCopsInfo& c) { selectors.push_back(c); });
        assistor.connectQueryPreferredCopsList([this](const std::vector<CCopsInfo>& l) { preferred.push_back(l); });
        assistor.connectSelectSelectorResult([this](bool ok) { selectorSet.push_back(ok); });
        assistor.connectModifyCopsListResult([this](bool ok) { listChanged.push_back(ok); });
    }

    ~CopsFixture() override { assistor.ResetPhoneLine(); }

    std::size_t reports() const
    {
        return current.size() + available.size() + selected.size() + selectors.size() + preferred.size() +
               selectorSet.size() + listChanged.size();
    }

    RecordingPhoneLine line;
    CCopsAssistor assistor;
    std::vector<CCopsInfo> current;
    std::vector<std::vector<CCopsInfo>> available;
    std::vector<bool> selected;
    std::vector<CCopsInfo> selectors;
    std::vector<std::vector<CCopsInfo>> preferred;
    std::vector<bool> selectorSet;
    std::vector<bool> listChanged;
};

}  // namespace cellctl::test

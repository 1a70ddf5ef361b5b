// Fuzzes the operator record's name operations with arbitrary names, formats,
// states and access technologies, checking what the record promises: the
// static and member lookups agree, a numeric name fills both display names from
// the table, unknown formats change nothing, copies are equal.
//
// Input: the name text, then (taken from the end) the control values; a bare
// operator code or name is a valid input.

#include <cstdint>
#include <cstdlib>
#include <string>

#include <fuzzer/FuzzedDataProvider.h>

#include <cellctl/cops/CCopsInfo.h>

namespace {

void require(bool condition)
{
    if (!condition)
        std::abort();
}

bool sameRecord(const CCopsInfo& a, const CCopsInfo& b)
{
    return a.GetModeType() == b.GetModeType() && a.GetSelector() == b.GetSelector() && a.GetFormat() == b.GetFormat() &&
           a.GetAccessTechType() == b.GetAccessTechType() && a.GetState() == b.GetState() &&
           a.GetOperatorLongName() == b.GetOperatorLongName() && a.GetOperatorShortName() == b.GetOperatorShortName() &&
           a.GetOperatorNumericName() == b.GetOperatorNumericName() &&
           a.GetPreferredPLMNListIndex() == b.GetPreferredPLMNListIndex() &&
           a.GetPreferredPLMNListGsmSelected() == b.GetPreferredPLMNListGsmSelected() &&
           a.GetPreferredPLMNListTDSelected() == b.GetPreferredPLMNListTDSelected() &&
           a.GetPreferredPLMNListGsmCompactSelected() == b.GetPreferredPLMNListGsmCompactSelected();
}

// Any 32-bit value, but the named ones (and their neighbours) often.
int pickSmallOrAny(FuzzedDataProvider& in)
{
    const std::int32_t raw = in.ConsumeIntegral<std::int32_t>();
    return (raw & 0x100) ? raw : (raw & 0xff) % 6 - 1;
}

void checkLookups(const CCopsInfo& record, const std::string& name)
{
    const std::string longName = CCopsInfo::GetOperatorLongNameFromNumeric(name);
    const std::string shortName = CCopsInfo::GetOperatorShortNameFromNumeric(name);
    require(record.GetLongNameFromNumeric(name) == longName);
    require(record.GetShortNameFromNumeric(name) == shortName);
    // Only exact five-digit codes of the table have names.
    require(longName.empty() == shortName.empty());
    if (!longName.empty())
        require(name.size() == 5 && name.compare(0, 3, "460") == 0);
}

void checkSetOperatorName(CCopsInfo& record, int format, const std::string& name)
{
    const CCopsInfo before = record;
    record.SetOperatorName(CCopsInfo::EFormat(format), name);
    switch (format) {
    case CCopsInfo::FormatLong:
        require(record.GetOperatorLongName() == name);
        require(record.GetOperatorShortName() == before.GetOperatorShortName());
        break;
    case CCopsInfo::FormatShort:
        require(record.GetOperatorShortName() == name);
        require(record.GetOperatorLongName() == before.GetOperatorLongName());
        break;
    case CCopsInfo::FormatNumeric:
        require(record.GetOperatorNumericName() == name);
        require(record.GetOperatorLongName() == CCopsInfo::GetOperatorLongNameFromNumeric(name));
        require(record.GetOperatorShortName() == CCopsInfo::GetOperatorShortNameFromNumeric(name));
        break;
    default:
        require(sameRecord(record, before));
        require(record.GetOperatorName(CCopsInfo::EFormat(format)).empty());
        return;
    }
    require(record.GetOperatorName(CCopsInfo::EFormat(format)) == name);
}

void checkAccessTechFlags(CCopsInfo& record, int accessTech)
{
    const CCopsInfo before = record;
    record.SetAccessTechType(CCopsInfo::EAccessTechType(accessTech));
    record.SetAccessTechToPreferredPLMNList();
    const bool gsm = record.GetPreferredPLMNListGsmSelected();
    const bool compact = record.GetPreferredPLMNListGsmCompactSelected();
    const bool td = record.GetPreferredPLMNListTDSelected();
    if (accessTech >= 0 && accessTech <= 2) {
        require(gsm == (accessTech == 0) && compact == (accessTech == 1) && td == (accessTech == 2));
    } else {
        require(gsm == before.GetPreferredPLMNListGsmSelected());
        require(compact == before.GetPreferredPLMNListGsmCompactSelected());
        require(td == before.GetPreferredPLMNListTDSelected());
    }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size)
{
    FuzzedDataProvider in(data, size);
    const std::string name(reinterpret_cast<const char*>(data), size);

    CCopsInfo record;
    checkLookups(record, name);
    // The name cut short as well: a code with trailing bytes must not match.
    checkLookups(record, name.substr(0, in.ConsumeIntegralInRange<std::size_t>(0, 8)));

    const int state = pickSmallOrAny(in);
    const std::string stateName = CCopsInfo::GetStateName(CCopsInfo::EState(state));
    require(stateName.empty() == !(state >= 0 && state <= 3));

    const int steps = in.ConsumeIntegralInRange<int>(1, 8);
    for (int i = 0; i < steps; ++i) {
        switch (in.ConsumeIntegralInRange<int>(0, 3)) {
        case 0:
            checkSetOperatorName(record, pickSmallOrAny(in), name);
            break;
        case 1:
            checkSetOperatorName(record, pickSmallOrAny(in),
                                 name.substr(0, in.ConsumeIntegralInRange<std::size_t>(0, 6)));
            break;
        case 2:
            checkAccessTechFlags(record, pickSmallOrAny(in));
            break;
        case 3: {
            CCopsInfo copy(record);
            require(sameRecord(copy, record));
            CCopsInfo assigned;
            assigned = record;
            require(sameRecord(assigned, record));
            break;
        }
        }
    }
    return 0;
}

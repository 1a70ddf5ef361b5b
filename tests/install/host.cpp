// A host program that sees only the installed headers and library.
#include <cellctl/cellctl.h>

#include <cstdio>
#include <string>

namespace {

class LoopbackLine : public PhoneLine {
public:
    void query(QueryType code) override { deliverQueryResult(code, "OK"); }
    void modify(QueryType code, const std::string& text) override { deliverModifyResult(code, text + "\nOK"); }
};

int answers = 0;
void onAnswer(PhoneLine::QueryType, const std::string&) { ++answers; }

int powerOnAnswers = 0;
bool poweredOn = false;
void onPowerOn(bool ok)
{
    ++powerOnAnswers;
    poweredOn = ok;
}

// The host's start-up: the three assistors, the power assistor borrowing
// them, all on one line, then a power-on. The loopback accepts every command.
bool powersOn(PhoneLine& line)
{
    CUsimAssistor usim;
    CCopsAssistor cops;
    CModeAssistor mode;
    CPowerAssistorHsdpa power(&usim, &cops, &mode);
    usim.SetPhoneLine(&line);
    cops.SetPhoneLine(&line);
    mode.SetPhoneLine(&line);
    power.SetPhoneLine(&line);
    power.connectPowerOnResult(&onPowerOn);
    power.PowerOn();
    power.ResetPhoneLine();
    mode.ResetPhoneLine();
    cops.ResetPhoneLine();
    usim.ResetPhoneLine();
    return powerOnAnswers == 1 && poweredOn;
}

}  // namespace

int main()
{
    LoopbackLine line;
    boost::signals::connection connection = line.connectModifyResult(&onAnswer);
    line.modify(PhoneLine::PowerOn, "1,0");
    line.disconnect(connection);
    line.modify(PhoneLine::PowerOn, "1,0");
    if (answers != 1) {
        std::fprintf(stderr, "expected one answer, got %d\n", answers);
        return 1;
    }
    if (!powersOn(line)) {
        std::fprintf(stderr, "power-on through the installed library failed\n");
        return 1;
    }
    std::puts("host: ok");
    return 0;
}

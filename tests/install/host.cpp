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

int attachAnswers = 0;
bool attached = false;
void onAttach(bool ok)
{
    ++attachAnswers;
    attached = ok;
}

// The host's start-up through the set: every assistor on one line, then a
// power-on and a packet-data attach. The loopback accepts every command.
bool startsUp(PhoneLine& line)
{
    CAssistorSet library;
    library.SetPhoneLine(&line);
    library.GetPowerAssistor().connectPowerOnResult(&onPowerOn);
    library.GetConnectionAssistor().connectPsAttachResult(&onAttach);
    library.GetPowerAssistor().PowerOn();
    library.GetConnectionAssistor().AttachGprs();
    library.ResetPhoneLine();
    return powerOnAnswers == 1 && poweredOn && attachAnswers == 1 && attached;
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
    if (!startsUp(line)) {
        std::fprintf(stderr, "power-on and attach through the installed library failed\n");
        return 1;
    }
    std::puts("host: ok");
    return 0;
}

#include <gtest/gtest.h>

#include <string>
#include <vector>

#include <cellctl/framework/CAssistor.h>
#include <cellctl/framework/CAtHelper.h>
#include <cellctl/framework/ResultSignal.h>

#include "RecordingPhoneLine.h"

namespace {

using cellctl::test::RecordingPhoneLine;

// A minimal helper/assistor pair built the way every subsystem builds its own.
class EchoHelper : public CAtHelper {
public:
    void Initialize() override { bindSlots(this); }
    void querySlot(PhoneLine::QueryType code, const std::string& text)
    {
        seen.push_back("q" + std::to_string(code) + ":" + text);
    }
    void modifySlot(PhoneLine::QueryType code, const std::string& text)
    {
        seen.push_back("m" + std::to_string(code) + ":" + text);
    }
    void send() { sendQuery(PhoneLine::SignalQualityGsm); }
    void set(const std::string& text) { sendModify(PhoneLine::PowerOn, text); }
    std::vector<std::string> seen;
};

class EchoAssistor : public CAssistor {
public:
    explicit EchoAssistor(EchoHelper* helper) : m_helper(helper) {}
    void SetPhoneLine(PhoneLine* line) { attachHelper(m_helper, line); }
    void ResetPhoneLine() { detachHelper(m_helper); }
    cellctl::ResultSignal<int> result;

private:
    EchoHelper* m_helper;
};

TEST(HelperAttach, InitializeBindsBothSlotsAndUnInitializeUnbinds)
{
    RecordingPhoneLine line;
    EchoHelper helper;
    EchoAssistor assistor(&helper);

    line.answerQuery(6, "before");  // not attached yet
    assistor.SetPhoneLine(&line);
    EXPECT_EQ(helper.GetPhoneLine(), &line);
    line.answerQuery(6, "a");
    line.answerModify(126, "b");
    EXPECT_EQ(helper.seen, (std::vector<std::string>{"q6:a", "m126:b"}));

    assistor.ResetPhoneLine();
    line.answerQuery(6, "after");
    EXPECT_EQ(helper.seen.size(), 2u);

    helper.send();  // the pointer stays: commands still go out
    helper.set("1,0");
    ASSERT_EQ(line.sent().size(), 2u);
    EXPECT_EQ(line.sent()[0], RecordingPhoneLine::Query(6));
    EXPECT_EQ(line.sent()[1], RecordingPhoneLine::Modify(126, "1,0"));

    assistor.ResetPhoneLine();  // twice is harmless
}

TEST(HelperAttach, SetPhoneLineAloneDoesNotConnect)
{
    RecordingPhoneLine line;
    EchoHelper helper;
    helper.SetPhoneLine(&line);
    line.answerQuery(6, "x");
    EXPECT_TRUE(helper.seen.empty());
}

TEST(HelperAttach, NullLineAndNullHelperAreNoOps)
{
    EchoHelper helper;
    helper.Initialize();
    helper.UnInitialize();
    helper.send();  // no line: nothing happens
    helper.set("x");

    EchoAssistor noHelper(nullptr);
    RecordingPhoneLine line;
    noHelper.SetPhoneLine(&line);
    noHelper.ResetPhoneLine();
    line.answerQuery(6, "x");
    EXPECT_TRUE(line.sent().empty());
}

TEST(HelperAttach, CopyRefersToTheSameSlots)
{
    RecordingPhoneLine line;
    EchoHelper helper;
    helper.SetPhoneLine(&line);
    helper.Initialize();
    CAtHelper copy(helper);
    copy.UnInitialize();  // disconnects the original's slots through the copied handles
    line.answerQuery(6, "x");
    EXPECT_TRUE(helper.seen.empty());
}

TEST(HelperAttach, DestroyingHelperHandlesDoesNotDisconnect)
{
    RecordingPhoneLine line;
    EchoHelper helper;
    {
        CAtHelper copy;
        helper.SetPhoneLine(&line);
        helper.Initialize();
        copy = helper;
    }  // copy destroyed
    line.answerModify(1, "still");
    EXPECT_EQ(helper.seen, std::vector<std::string>{"m1:still"});
}

// Counts the answers it is handed in a counter that outlives it.
class CountingHelper : public CAtHelper {
public:
    explicit CountingHelper(int& answers) : m_answers(answers) {}
    void Initialize() override { bindSlots(this); }
    void querySlot(PhoneLine::QueryType, const std::string&) { ++m_answers; }
    void modifySlot(PhoneLine::QueryType, const std::string&) { ++m_answers; }

private:
    int& m_answers;
};

TEST(HelperAttach, DestroyedWhileAttachedLeavesNoSlotBehind)
{
    RecordingPhoneLine line;
    int answers = 0;
    {
        CountingHelper helper(answers);
        helper.SetPhoneLine(&line);
        helper.Initialize();
        line.answerQuery(6, "live");
    }                             // destroyed without UnInitialize
    line.answerQuery(6, "late");  // a slot left behind would run on freed memory
    line.answerModify(6, "late");
    EXPECT_EQ(answers, 1);

    // A line that dies first is fine too.
    EchoHelper helper;
    {
        RecordingPhoneLine shortLived;
        helper.SetPhoneLine(&shortLived);
        helper.Initialize();
    }
}

struct Recorder {
    std::vector<std::string>* log;
    std::string name;
    void operator()(int value) const { log->push_back(name + "=" + std::to_string(value)); }
};

TEST(ResultSignal, CallbacksRunInConnectionOrder)
{
    std::vector<std::string> log;
    cellctl::ResultSignal<int> signal;
    signal.fire(0);  // nothing connected: dropped
    signal.connect(boost::function1<void, int>(Recorder{&log, "first"}));
    signal.connect(boost::function1<void, int>(Recorder{&log, "second"}));
    signal.fire(7);
    EXPECT_EQ(log, (std::vector<std::string>{"first=7", "second=7"}));
}

TEST(ResultSignal, DisconnectRemovesOnlyTheLatest)
{
    std::vector<std::string> log;
    cellctl::ResultSignal<int> signal;
    signal.disconnect();  // nothing ever connected
    signal.connect(boost::function1<void, int>(Recorder{&log, "first"}));
    signal.connect(boost::function1<void, int>(Recorder{&log, "second"}));
    signal.disconnect();
    signal.disconnect();  // second call does nothing: first stays
    signal.fire(1);
    EXPECT_EQ(log, std::vector<std::string>{"first=1"});
    EXPECT_EQ(signal.callbackCount(), 1u);
}

TEST(ResultSignal, TwoArgumentsAndConnectOnly)
{
    std::vector<std::string> log;
    cellctl::ResultSignal<bool, int> pair;
    pair.connect(boost::function2<void, bool, int>(
        [&](bool ok, int left) { log.push_back(std::string(ok ? "ok" : "fail") + std::to_string(left)); }));
    pair.fire(false, 2);

    cellctl::ConnectOnlyResultSignal<std::string> keep;
    keep.connect(boost::function1<void, std::string>([&](std::string s) { log.push_back(s); }));
    keep.connect(boost::function1<void, std::string>([&](std::string s) { log.push_back(s + "!"); }));
    keep.fire("x");
    EXPECT_EQ(log, (std::vector<std::string>{"fail2", "x", "x!"}));
}

TEST(ResultSignal, EmptyCallbacksAreNotConnected)
{
    std::vector<std::string> log;
    cellctl::ResultSignal<int> signal;
    signal.connect(boost::function1<void, int>(Recorder{&log, "kept"}));
    signal.connect(boost::function1<void, int>());  // empty: ignored, the handle stays on "kept"
    EXPECT_NO_THROW(signal.fire(3));
    signal.disconnect();
    signal.fire(4);
    EXPECT_EQ(log, std::vector<std::string>{"kept=3"});

    cellctl::ConnectOnlyResultSignal<int> keep;
    keep.connect(boost::function1<void, int>());
    EXPECT_NO_THROW(keep.fire(1));
    EXPECT_EQ(keep.callbackCount(), 0u);
}

TEST(PhoneLineContract, AnyIntIsAQueryTypeAndSignalsAreDistinct)
{
    RecordingPhoneLine line;
    std::vector<int> queries, modifies;
    line.connectQueryResult([&](PhoneLine::QueryType code, const std::string&) { queries.push_back(code); });
    boost::signals::connection modify =
        line.connectModifyResult([&](PhoneLine::QueryType code, const std::string&) { modifies.push_back(code); });
    line.answerQuery(9999, "");
    line.answerModify(-3, "");
    line.disconnect(modify);
    line.answerModify(5, "");
    EXPECT_EQ(queries, std::vector<int>{9999});
    EXPECT_EQ(modifies, std::vector<int>{-3});
}

}  // namespace

#include <gtest/gtest.h>

#include <cellsim/AtCommand.h>

namespace cellsim {
namespace {

using Form = AtCommand::Form;

TEST(AtCommandLine, SplitsExtendedCommandsWithTheirForms)
{
    const auto line = parseCommandLine("at+cmee=1;+CREG?;^dstm=?;+cgmr");
    ASSERT_TRUE(line && line->wellFormed);
    ASSERT_EQ(line->commands.size(), 4u);
    EXPECT_EQ(line->commands[0].name, "+CMEE");
    EXPECT_EQ(line->commands[0].form, Form::Set);
    EXPECT_EQ(line->commands[0].arguments.number(0), 1);
    EXPECT_EQ(line->commands[1].name, "+CREG");
    EXPECT_EQ(line->commands[1].form, Form::Read);
    EXPECT_EQ(line->commands[2].name, "^DSTM");
    EXPECT_EQ(line->commands[2].form, Form::Test);
    EXPECT_EQ(line->commands[3].name, "+CGMR");
    EXPECT_EQ(line->commands[3].form, Form::Execute);
}

TEST(AtCommandLine, ReadsQuotedUnquotedAndEmptyArguments)
{
    const auto line = parseCommandLine("AT+CPOL=,2,\"46000\",1, 0 ,;+CPMS=ME,\"SM\"");
    ASSERT_TRUE(line && line->wellFormed);
    const AtArguments& cpol = line->commands[0].arguments;
    ASSERT_EQ(cpol.size(), 6u);
    EXPECT_FALSE(cpol.given(0));
    EXPECT_EQ(cpol.number(1), 2);
    EXPECT_EQ(cpol.text(2), "46000");
    EXPECT_FALSE(cpol.number(2)) << "a quoted field is text, not a number";
    EXPECT_EQ(cpol.number(4), 0) << "blanks around a field are dropped";
    EXPECT_FALSE(cpol.given(5));
    EXPECT_EQ(line->commands[1].arguments.text(0), "ME");
    EXPECT_EQ(line->commands[1].arguments.text(1), "SM");
}

TEST(AtCommandLine, KeepsSeparatorsInsideQuotes)
{
    const auto line = parseCommandLine("AT+CPIN=\"12;3,4\"");
    ASSERT_TRUE(line && line->wellFormed);
    ASSERT_EQ(line->commands.size(), 1u);
    EXPECT_EQ(line->commands[0].arguments.size(), 1u);
    EXPECT_EQ(line->commands[0].arguments.text(0), "12;3,4");
}

TEST(AtCommandLine, ReadsBasicCommandsAndDialStrings)
{
    const auto line = parseCommandLine("ATE0V1&F");
    ASSERT_TRUE(line && line->wellFormed);
    ASSERT_EQ(line->commands.size(), 3u);
    EXPECT_EQ(line->commands[0].name, "E");
    EXPECT_EQ(line->commands[0].arguments.number(0), 0);
    EXPECT_EQ(line->commands[1].name, "V");
    EXPECT_EQ(line->commands[2].name, "&F");
    EXPECT_EQ(line->commands[2].form, Form::Execute);

    const auto dial = parseCommandLine("ATD*99#");
    ASSERT_TRUE(dial);
    EXPECT_EQ(dial->commands[0].name, "D");
    EXPECT_EQ(dial->commands[0].arguments.text(0), "*99#");
}

TEST(AtCommandLine, FindsTheCommandAfterJunkAndRefusesBrokenLines)
{
    EXPECT_FALSE(parseCommandLine("hello"));
    EXPECT_FALSE(parseCommandLine(""));

    const auto bare = parseCommandLine("\x01\xFFzAT");
    ASSERT_TRUE(bare);
    EXPECT_TRUE(bare->wellFormed);
    EXPECT_TRUE(bare->commands.empty());

    const auto unclosed = parseCommandLine("AT+CPIN=\"1234");
    ASSERT_TRUE(unclosed);
    EXPECT_FALSE(unclosed->wellFormed);
    EXPECT_FALSE(parseCommandLine("AT+")->wellFormed);
    EXPECT_FALSE(parseCommandLine("AT&")->wellFormed);
}

TEST(AtArguments, NumbersMustBeDecimalAndWithinRange)
{
    const auto line = parseCommandLine("AT+X=12,1a,-1,99999999999,7");
    const AtArguments& arguments = line->commands[0].arguments;
    EXPECT_EQ(arguments.number(0), 12);
    EXPECT_FALSE(arguments.number(1));
    EXPECT_FALSE(arguments.number(2));
    EXPECT_FALSE(arguments.number(3)) << "too long to be a number the modem takes";
    EXPECT_FALSE(arguments.number(4, 0, 4));
    EXPECT_EQ(arguments.number(4, 0, 7), 7);
    EXPECT_FALSE(arguments.number(9));
}

}  // namespace
}  // namespace cellsim

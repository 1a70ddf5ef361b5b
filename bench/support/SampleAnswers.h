#pragma once

#include <string>

// Device answers as AtPhoneLine hands them to the library (information lines
// and final result joined with "\n", operator names decoded to GBK bytes).
namespace bench {

extern const char kSignalAnswer[];           // query 6
extern const char kRegistrationReport[];     // report 10, on the modify signal
extern const char kCurrentOperatorAnswer[];  // query 11
extern const char kModeAnswer[];             // query 132
extern const char kRevisionAnswer[];         // query 3: no helper parses it

// A network scan (query 12) listing `count` operators on one line.
std::string availableOperatorsAnswer(int count);
// A preferred-operator list (query 93) of `count` entries, long names and
// numeric codes alternating.
std::string preferredListAnswer(int count);

}  // namespace bench

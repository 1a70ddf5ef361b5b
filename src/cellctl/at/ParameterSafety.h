#pragma once

#include <string>

// A parameter text goes onto the wire inside a command line. Characters that
// end a line or a command would let a text smuggle a second command in, so
// such texts are refused before anything is written.

namespace cellctl::at {

// A description of the first forbidden character (CR, LF, NUL, Ctrl-Z, ESC)
// in `text`; empty when there is none.
std::string forbiddenCharacterIn(const std::string& text);

// True when `line` holds a ';' outside double quotes: a second command
// appended to the first one.
bool chainsAnotherCommand(const std::string& line);

}  // namespace cellctl::at

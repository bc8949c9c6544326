// The command line of the boardsim program: the board's options and where
// it serves the line.
#pragma once

#include <string>

#include "board_model.h"

namespace boardsim {

struct Args {
    Options options;
    std::string link;    // a symbolic link to the pseudo-terminal (not on Windows)
    std::string device;  // a serial device to serve instead
    std::string stats;   // where the line statistics go at the end (Linux program)
    bool verbose = false;
    bool loadFromInput = false;  // "load W" lines on standard input move the load
};

// Reads the flags; prints the help and exits for --help. False, with a
// message on stderr, for a bad command line.
bool ParseArguments(int argc, char** argv, Args& args);

}  // namespace boardsim

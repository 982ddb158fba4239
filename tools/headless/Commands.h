// The subcommands of the headless tool, and what they share for reading their arguments.
#pragma once

#include <cstdint>
#include <stdexcept>
#include <string>
#include <vector>

// Bad command-line input. The tool reports the message in one line on stderr and exits with 2.
class EUsageError : public std::runtime_error {
 public:
  using std::runtime_error::runtime_error;
};

// A command that failed and has said why already (or says it in the message, a whole line with
// the tool's name): the tool exits with Status.
class ECommandFailed : public std::runtime_error {
 public:
  ECommandFailed(int status, const std::string& line = "") : std::runtime_error(line), Status(status) {}
  int Status;
};

// Each subcommand gets the arguments after its name and returns the process's exit status.
using TCommandArgs = std::vector<std::string>;

// world --seed N: builds the world a clock reading gives and prints its state as one JSON object.
int WorldCommand(const TCommandArgs& args);

// run --seed N --frames F [--ship X,Y,VX,VY,HEADING] [--shot K:FILE.png]... [--state FILE|-]:
// the real form and components on the headless backend, 20 ms of fake time per frame.
int RunCommand(const TCommandArgs& args);

// demo FILE [--frames N] [--state FILE|-] [--shot K:FILE.png]... [--record NEW] [--no-directinput]:
// replays a demo from its seed (its first N frames) and reports the first frame at which the
// game's state drifts from the recorded checksums (exit 3); a file that is no readable demo gets
// one line and exit 2, a truncated one plays its whole frames and exits with 2.
int DemoCommand(const TCommandArgs& args);

// dib FILE: reads a .bmp or stored picture data with the game's reader; prints its width,
// height, bit count and colour count as one JSON line, or the reader's error on stderr (exit 1).
int DibCommand(const TCommandArgs& args);

// sheet FILE.png: draws every picture of the game's image list, with its name, on the frame of
// the running display and writes that frame as a PNG.
int SheetCommand(const TCommandArgs& args);

// The value of "--seed N", a time of day in milliseconds since midnight UTC (0..86399999), taken
// out of args. Throws EUsageError when it is missing, malformed or out of range.
std::uint32_t TakeSeed(TCommandArgs& args);
// Throws EUsageError when anything is left in args that no option took.
void RefuseLeftovers(const TCommandArgs& args);

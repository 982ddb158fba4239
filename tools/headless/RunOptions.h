// The options of the run subcommand, read by a table to which each part of the game that can be
// scripted adds its own rows.
#pragma once

#include <cstdint>
#include <functional>
#include <map>
#include <string>
#include <vector>

#include "tools/headless/Commands.h"

class TForm1;
class THeadlessBackend;
struct TRunOptions;

// What a run does: the world's seed, how many frames, the ship's start, the frames to keep as
// pictures, where the final state goes, and what scripted input each frame gets.
struct TRunOptions {
  std::string Program = "tarnyx-headless run";  // what the tool's lines start with
  std::uint32_t Seed = 0;
  int Frames = 0;
  bool ShipGiven = false;
  double ShipX = 0, ShipY = 0;
  float ShipVX = 0, ShipVY = 0;
  std::uint8_t ShipHeading = 0;
  std::multimap<int, std::string> Shots;  // frame -> PNG file
  std::string StateFile;                  // "-" is standard output; empty: no state
  // Run before frame k (1-based) is ticked, in the order added: scripted keys and joysticks.
  std::vector<std::function<void(int frame, THeadlessBackend& backend)>> BeforeFrame;
  // Run once the backend exists, before the form is made (for example to take devices away).
  std::vector<std::function<void(THeadlessBackend& backend)>> Prepare;
  // Run once the form is made and the ship placed, before the first frame (a demo hooks in).
  std::vector<std::function<void(TForm1& form, const TRunOptions& options)>> FormMade;
  // Run after the last frame, before the state is written; each may change the exit status.
  std::vector<std::function<int(int status)>> Finished;
};

// One option: its name, whether it takes a value, whether it may repeat, and what it does.
// Read throws EUsageError for a bad value.
struct TRunOption {
  const char* Name;
  bool TakesValue;
  bool Repeats;
  const char* Help;
  std::function<void(TRunOptions& options, const std::string& value)> Read;
};

// The options run understands. Other parts add theirs with AddRunOption before the tool parses.
std::vector<TRunOption>& RunOptionTable();
void AddRunOption(TRunOption option);

// Reads every argument through the table; --seed and --frames are required.
TRunOptions ParseRunOptions(const TCommandArgs& args);

// Runs the game on the headless backend as the options say; returns the exit status.
int RunGame(const TRunOptions& options);

// world --seed N: the world that a start at a given time of day builds, as JSON.
#include <cstdio>
#include <string>

#include "game/Main.h"
#include "backends/headless/HeadlessBackend.h"
#include "tools/headless/Commands.h"
#include "report/StateReport.h"

int WorldCommand(const TCommandArgs& arguments) {
  TCommandArgs args = arguments;
  std::uint32_t seed = TakeSeed(args);
  RefuseLeftovers(args);

  THeadlessBackend backend;
  backend.TimeOfDayMs = seed;  // what the generator's seeding reads as the time of day
  SetBackend(&backend);
  CreateWorld();
  SetBackend(nullptr);

  std::string out;
  TJsonWriter json(out);
  WriteGameState(json);
  out += '\n';
  if (std::fwrite(out.data(), 1, out.size(), stdout) != out.size() || std::fflush(stdout) != 0) {
    std::perror("tarnyx-headless world: writing the output");
    return 1;
  }
  return 0;
}

// The headless tool's entry: picks the subcommand and reports bad usage.
#include <cstdio>
#include <cstring>
#include <exception>

#include "framework/X87Precision.h"
#include "shell/PrintableText.h"
#include "system/Arguments.h"
#include "system/Console.h"
#include "tools/headless/Commands.h"

namespace {

struct TCommand {
  const char* Name;
  const char* Usage;
  int (*Run)(const TCommandArgs& args);
};

// One line per subcommand; each lives in its own file.
const TCommand Commands[] = {
    {"world", "world --seed N    the world a start at N ms past midnight UTC builds, as JSON",
     WorldCommand},
    {"run", "run --seed N --frames F [--ship X,Y,VX,VY,HEADING] [--shot K:FILE.png]... [--state FILE|-]\n"
            "        [--audio FILE.wav [--volume V]]\n"
            "                    the real game for F frames of 20 ms; PNG pictures of frames, the final state,\n"
            "                    the sound as a WAV file",
     RunCommand},
    {"demo", "demo FILE [--frames N] [--state FILE|-] [--shot K:FILE.png]... [--record NEW] [--no-directinput]\n"
             "        [--audio FILE.wav [--volume V]]\n"
             "                    replays a demo (its first N frames), checks its checksums; the state as run prints it",
     DemoCommand},
    {"dib", "dib FILE          a .bmp or stored picture read by the game's reader, as JSON", DibCommand},
    {"sheet", "sheet FILE.png    every picture of the image list with its name, drawn on the frame", SheetCommand},
};

void PrintUsage(std::FILE* to) {
  std::fputs("usage: tarnyx-headless COMMAND [OPTIONS]\n", to);
  for (const TCommand& c : Commands) std::fprintf(to, "  tarnyx-headless %s\n", c.Usage);
}

}  // namespace

int main(int argc, char** argv) {
  // JSON, PNG pictures and demos on the standard streams are the same bytes on every system.
  UseBinaryStandardStreams();
  TArguments arguments(argc, argv);
  argc = arguments.Count();
  argv = arguments.Values();
  // The game runs on this thread; its numbers are the same everywhere only at full precision.
  if (!TX87Precision::SetForGame()) {
    std::fputs("tarnyx-headless: the x87 cannot be set to 64-bit precision\n", stderr);
    return 1;
  }
  if (argc < 2) {
    PrintUsage(stderr);
    return 2;
  }
  if (!std::strcmp(argv[1], "--help") || !std::strcmp(argv[1], "help")) {
    PrintUsage(stdout);
    return 0;
  }
  for (const TCommand& c : Commands) {
    if (std::strcmp(argv[1], c.Name) != 0) continue;
    try {
      return c.Run(TCommandArgs(argv + 2, argv + argc));
    } catch (const ECommandFailed& e) {
      if (*e.what()) std::fprintf(stderr, "%s\n", PrintableText(e.what()).c_str());
      return e.Status;
    } catch (const EUsageError& e) {  // messages quote arguments: shown escaped
      std::fprintf(stderr, "tarnyx-headless %s: %s\n", c.Name, PrintableText(e.what()).c_str());
      return 2;
    } catch (const std::exception& e) {
      std::fprintf(stderr, "tarnyx-headless %s: %s\n", c.Name, PrintableText(e.what()).c_str());
      return 1;
    }
  }
  std::fprintf(stderr, "tarnyx-headless: unknown command '%s' (try --help)\n", PrintableText(argv[1]).c_str());
  return 2;
}

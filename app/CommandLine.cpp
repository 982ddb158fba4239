// The game's command line.
#include "app/CommandLine.h"

#include <string_view>

#include "shell/PrintableText.h"

int HandleCommandLine(int argc, const char* const* argv, const std::string& sdlVersion,
                      std::ostream& out, std::ostream& err, TDemoOptions* demo) {
  if (argc <= 1) return -1;
  std::string_view first = argv[1];
  if (argc == 2 && first == "--version") {
    out << GameVersionText << "\n"
        << "SDL " << sdlVersion << "\n";
    return 0;
  }
  if (argc == 2 && first == "--help") {
    out << GameVersionText << ": fly between the planets, land upright and gently.\n"
        << "Usage: tarnyx [--help | --version]\n"
        << "       tarnyx --record FILE     play, and record the game into FILE (a demo)\n"
        << "       tarnyx --playdemo FILE   watch a demo\n"
        << "       tarnyx --timedemo FILE   play a demo as fast as it goes, and print the frame rate\n"
        << "  Up arrow             thrust\n"
        << "  Left, Right arrows   turn\n"
        << "  Shift (held)         fine control: small turns, gentle thrust\n"
        << "  Alt+Enter            full screen or window\n"
        << "  PrintScreen or F12   save a screenshot (PNG) in ~/.local/share/tarnyx/\n"
        << "  Alt+F4               quit\n";
    return 0;
  }
  if (demo && (first == "--record" || first == "--playdemo" || first == "--timedemo")) {
    if (argc != 3 || argv[2][0] == '\0') {
      err << "tarnyx: " << first << " takes one FILE (try tarnyx --help)\n";
      return 2;
    }
    demo->Mode = first == "--record" ? TDemoOptions::dmRecord
                 : first == "--playdemo" ? TDemoOptions::dmPlay
                                         : TDemoOptions::dmTime;
    demo->File = argv[2];
    return -1;
  }
  if (first == "--version" || first == "--help") {
    err << "tarnyx: " << first << " takes no further arguments (try tarnyx --help)\n";
  } else {
    err << "tarnyx: unknown argument '" << PrintableText(first) << "' (try tarnyx --help)\n";
  }
  return 2;
}

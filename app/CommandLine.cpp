// The game's command line.
#include "app/CommandLine.h"

#include <string_view>
#include <vector>

#include "shell/PrintableText.h"

namespace {

// Takes the settings' options out of the arguments (after the program's name), into settings.
// Returns false, having said why on err, for an option with a missing or bad value.
bool TakeSettingsOptions(std::vector<const char*>& args, TSettingsOverlay& settings,
                         std::ostream& err) {
  std::vector<const char*> rest{args.front()};
  const int count = static_cast<int>(args.size());
  for (int i = 1; i < count;) {
    std::string error;
    int taken = ReadSettingsOption(count, args.data(), i, settings, error);
    if (taken < 0) {
      err << "tarnyx: " << PrintableText(error) << " (try tarnyx --help)\n";
      return false;
    }
    if (taken == 0) rest.push_back(args[static_cast<std::size_t>(i++)]);
    i += taken;
  }
  args = std::move(rest);
  return true;
}

}  // namespace

int HandleCommandLine(int argc, const char* const* argv, const std::string& sdlVersion,
                      std::ostream& out, std::ostream& err, TDemoOptions* demo,
                      TSettingsOverlay* settings) {
  std::vector<const char*> args;
  if (settings && argc > 1) {
    args.assign(argv, argv + argc);
    if (!TakeSettingsOptions(args, *settings, err)) return 2;
    argc = static_cast<int>(args.size());
    argv = args.data();
  }
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
        << "       tarnyx --settings        show where the settings file is and every setting\n"
        << "  with any of these, or alone, for this run only (the settings file keeps the rest):\n"
        << SettingsOptionsHelp()
        << "Keys (the settings file may name others for the first four):\n"
        << "  Up arrow             thrust\n"
        << "  Left, Right arrows   turn\n"
        << "  Shift (held)         fine control: small turns, gentle thrust\n"
        << "  M                    sound off or on\n"
        << "  - and = (keypad - +) sound quieter, louder\n"
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

// The game's command line.
#include "app/CommandLine.h"

#include <charconv>
#include <string_view>
#include <vector>

#include "shell/PrintableText.h"

namespace {

// Takes the sound options out of the arguments (after the program's name), into sound. Returns
// false, having said why on err, for a volume that is missing or not a whole number 0..100.
bool TakeSoundOptions(std::vector<const char*>& args, TSoundOptions& sound, std::ostream& err) {
  std::vector<const char*> rest{args.front()};
  for (std::size_t i = 1; i < args.size(); ++i) {
    std::string_view arg = args[i];
    if (arg == "--mute") {
      sound.Mute = true;
    } else if (arg == "--volume") {
      if (i + 1 == args.size()) {
        err << "tarnyx: --volume takes a number from 0 to 100 (try tarnyx --help)\n";
        return false;
      }
      std::string_view text = args[++i];
      int volume = -1;
      auto [end, ec] = std::from_chars(text.data(), text.data() + text.size(), volume);
      if (ec != std::errc() || end != text.data() + text.size() || volume < 0 || volume > 100) {
        err << "tarnyx: --volume '" << PrintableText(text)
            << "' is not a whole number from 0 to 100 (try tarnyx --help)\n";
        return false;
      }
      sound.Volume = volume;
    } else {
      rest.push_back(args[i]);
    }
  }
  args = std::move(rest);
  return true;
}

}  // namespace

int HandleCommandLine(int argc, const char* const* argv, const std::string& sdlVersion,
                      std::ostream& out, std::ostream& err, TDemoOptions* demo,
                      TSoundOptions* sound) {
  std::vector<const char*> args;
  if (sound && argc > 1) {
    args.assign(argv, argv + argc);
    if (!TakeSoundOptions(args, *sound, err)) return 2;
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
        << "  with any of these, or alone:\n"
        << "       --mute                   start with the sound off\n"
        << "       --volume N               the sound's volume, 0 to 100 (80 unless given)\n"
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

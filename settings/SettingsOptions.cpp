// The settings' command-line options, their overlay on the file's values, and the report.
#include "settings/SettingsOptions.h"

#include <cstring>
#include <string_view>

namespace {

constexpr const char* SourceNames[] = {"default", "file", "command line"};

}  // namespace

int ReadSettingsOption(int argc, const char* const* argv, int i, TSettingsOverlay& overlay,
                       std::string& error) {
  if (i < 0 || i >= argc || !argv[i]) return 0;
  std::string_view arg = argv[i];
  std::string_view name = arg.substr(0, arg.find('='));
  bool inlineValue = name.size() < arg.size();

  auto flag = [&](TSettingKey key, bool value) {
    if (inlineValue) {
      error = std::string(name) + " takes no value";
      return -1;
    }
    (key == skMute ? overlay.Values.Mute : overlay.Values.FullScreen) = value;
    overlay.Given[key] = true;
    return 1;
  };
  auto valued = [&](TSettingKey key) {
    std::string_view value;
    int taken = 1;
    if (inlineValue) {
      value = arg.substr(name.size() + 1);
    } else if (i + 1 < argc && argv[i + 1]) {
      value = argv[i + 1];
      taken = 2;
    } else {
      error = std::string(name) + " needs a value";
      return -1;
    }
    std::string why;
    if (!ParseSettingValue(key, value, overlay.Values, why)) {
      error = std::string(name) + ": " + why;
      return -1;
    }
    overlay.Given[key] = true;
    return taken;
  };

  if (name == "--volume") return valued(skVolume);
  if (name == "--joystick") return valued(skJoystick);
  if (name == "--mute") return flag(skMute, true);
  if (name == "--fullscreen") return flag(skFullScreen, true);
  if (name == "--window") return flag(skFullScreen, false);
  if (name == "--settings") {
    if (inlineValue) {
      error = "--settings takes no value";
      return -1;
    }
    overlay.ShowSettings = true;
    return 1;
  }
  return 0;
}

const char* SettingsOptionsHelp() {
  return "  --volume N           the volume for this run, 0 to 100\n"
         "  --mute               no sound for this run\n"
         "  --fullscreen         full screen for this run\n"
         "  --window             in a window for this run\n"
         "  --joystick WHICH     the joystick that steers: first, stored or a number from 1\n"
         "  --settings           show the settings file's place and every setting's value\n";
}

TSettings OverlaySettings(const TSettings& fromFile, const TSettingsOverlay& overlay) {
  TSettings out = fromFile;
  for (int k = 0; k < SettingKeyCount; ++k) {
    if (!overlay.Given[k]) continue;
    auto key = static_cast<TSettingKey>(k);
    out.CopyValue(key, overlay.Values);
    out.Source[key] = ssCommandLine;
  }
  return out;
}

std::string SettingsReport(const TSettingsFile& file, const TSettings& effective) {
  std::string out = "settings file: ";
  if (file.Path().empty()) {
    out += "none (" + file.RefusedReason() + ")";
  } else {
    out += file.Path();
    if (file.State() == TSettingsFile::fsMissing)
      out += " (not there yet)";
    else if (file.State() == TSettingsFile::fsRefused)
      out += " (not used: it " + file.RefusedReason() + ")";
  }
  out += '\n';
  for (int k = 0; k < SettingKeyCount; ++k) {
    auto key = static_cast<TSettingKey>(k);
    std::string line = std::string(SettingName(key)) + " = " + SettingValueText(effective, key);
    if (line.size() < 32) line.resize(32, ' ');
    out += line + " (" + SourceNames[effective.Source[key]] + ")\n";
  }
  return out;
}

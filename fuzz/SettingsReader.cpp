// libFuzzer target: the settings reader reads any bytes into settings and messages without
// crashing, and a change written back keeps every line it read, in its order, as itself or as a
// comment.
#include <cstddef>
#include <cstdint>
#include <cstdlib>
#include <string>
#include <string_view>
#include <vector>

#include "settings/SettingsFile.h"

namespace {

void Check(bool ok) {
  if (!ok) std::abort();
}

// The lines of a text as the reader splits them: without "\n", "\r\n" or a last lone "\r".
std::vector<std::string_view> LinesOf(std::string_view text) {
  std::vector<std::string_view> lines;
  while (!text.empty()) {
    std::size_t end = text.find('\n');
    std::string_view line = text.substr(0, end);
    text = end == std::string_view::npos ? std::string_view() : text.substr(end + 1);
    if (!line.empty() && line.back() == '\r') line.remove_suffix(1);
    lines.push_back(line);
  }
  return lines;
}

// A value of key other than the one settings hold, picked by choice.
void ChangeValue(TSettingKey key, TSettings& s, unsigned choice) {
  switch (key) {
    case skVolume:
      s.Volume = (s.Volume + 1 + static_cast<int>(choice % 100)) % 101;
      break;
    case skMute:
      s.Mute = !s.Mute;
      break;
    case skFullScreen:
      s.FullScreen = !s.FullScreen;
      break;
    case skWindowSize:
      s.WindowWidth = s.WindowWidth == 800 ? 1280 : 800;
      break;
    case skJoystick:
      s.Joystick =
          s.Joystick.Kind == TJoystickChoice::jcNumber
              ? TJoystickChoice{}
              : TJoystickChoice{TJoystickChoice::jcNumber, 1 + static_cast<int>(choice % 16)};
      break;
    default: {
      auto& keys = s.Keys[key - skThrust];
      std::vector<std::uint8_t> next =
          choice % 2 ? std::vector<std::uint8_t>{'W', 0xBA, 104} : std::vector<std::uint8_t>{};
      keys = keys == next ? std::vector<std::uint8_t>{0xA1} : next;
      break;
    }
  }
}

}  // namespace

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  const std::string_view bytes(reinterpret_cast<const char*>(data), size);
  TSettingsFile file = TSettingsFile::Parse(bytes, "fuzz.ini");
  Check(file.Text() == bytes);  // nothing changed: nothing rewritten
  unsigned choice = 0;
  for (std::size_t i = 0; i < size && i < 16; ++i) choice = choice * 31 + data[i];
  const auto key = static_cast<TSettingKey>(choice % SettingKeyCount);
  TSettings values = file.Settings();
  ChangeValue(key, values, choice / SettingKeyCount);
  Check(file.Change(key, values));

  if (file.State() == TSettingsFile::fsRefused) {
    // Never written over: what it held would be lost.
    Check(file.Messages().size() == 1);
    Check(file.Text() == bytes);
    return 0;
  }
  const std::string text = file.Text();
  if (text.size() > MaxSettingsFileSize) return 0;  // Save refuses this: the file stays as it was

  TSettingsFile again = TSettingsFile::Parse(text, "fuzz.ini");
  Check(again.State() == TSettingsFile::fsRead);
  // Every setting reads back as it was meant, the changed one with its new value.
  for (int k = 0; k < SettingKeyCount; ++k)
    Check(again.Settings().SameValue(static_cast<TSettingKey>(k), values));
  // The faults are gone, kept as comments; only lines naming unknown settings still speak.
  std::size_t unknown = 0;
  for (const TSettingsFile::TLine& line : again.Lines())
    unknown += line.Kind == TSettingsFile::TLine::lkUnknown;
  Check(again.Messages().size() == unknown);

  // Every line read is still there, in its order, as itself or as a comment, but the changed
  // setting's own: the lines expected are a subsequence of the lines written.
  const auto& lines = file.Lines();
  std::size_t counting = lines.size();
  for (std::size_t i = 0; i < lines.size(); ++i)
    if (lines[i].HasKey && lines[i].Key == key &&
        lines[i].Kind != TSettingsFile::TLine::lkOverridden)
      counting = i;
  // Views of the lines read where they are kept as they were; the commented ones are made once.
  std::vector<std::string> commented;
  commented.reserve(lines.size());
  std::vector<std::string_view> expected;
  expected.reserve(lines.size());
  for (std::size_t i = 0; i < lines.size(); ++i) {
    const TSettingsFile::TLine& line = lines[i];
    if (i == counting && line.Kind == TSettingsFile::TLine::lkSetting) continue;
    std::string_view prefix = i == 0 && bytes.substr(0, 3) == "\xEF\xBB\xBF" ? "\xEF\xBB\xBF" : "";
    std::string_view mark = line.Kind == TSettingsFile::TLine::lkBad ? "# (not understood) "
                            : line.Kind == TSettingsFile::TLine::lkOverridden
                                ? "# (set again below) "
                                : "";
    if (prefix.empty() && mark.empty()) {
      expected.push_back(line.Text);
      continue;
    }
    commented.push_back(std::string(prefix) + std::string(mark) + line.Text);
    expected.push_back(commented.back());
  }
  const std::vector<std::string_view> written = LinesOf(text);
  std::size_t at = 0;
  for (std::string_view line : expected) {
    while (at < written.size() && written[at] != line) ++at;
    Check(at < written.size());
    ++at;
  }
  return 0;
}

// TSettingsFile: reading the settings file line by line, and writing it back with the changes.
#include "settings/SettingsFile.h"

#include <algorithm>

#include "system/SmallFiles.h"
#include "system/UserFolders.h"

namespace {

constexpr std::string_view Bom = "\xEF\xBB\xBF";
constexpr std::string_view NotUnderstood = "# (not understood) ";
constexpr std::string_view SetAgain = "# (set again below) ";

// Spaces, tabs, and a carriage return left on a last line without its line feed.
bool IsBlank(char c) { return c == ' ' || c == '\t' || c == '\r'; }

std::string_view Trimmed(std::string_view s) {
  while (!s.empty() && IsBlank(s.front())) s.remove_prefix(1);
  while (!s.empty() && IsBlank(s.back())) s.remove_suffix(1);
  return s;
}

// Outside text in a message: no control characters, and not at any length.
std::string Shown(std::string_view s) {
  std::string out(s.substr(0, 40));
  for (char& c : out)
    if (static_cast<unsigned char>(c) < 0x20 || c == 0x7F) c = '?';
  if (s.size() > 40) out += "...";
  return out;
}

std::string Line(const TSettings& s, TSettingKey key) {
  return std::string(SettingName(key)) + " = " + SettingValueText(s, key);
}

constexpr const char* NewFileHeader =
    "# Tarnyx settings. The game writes this file again when you change something in the game\n"
    "# (the volume, mute, full screen, the window's size); your comments and lines stay as they\n"
    "# are. Keys are named as on the keyboard (Up, Left, A, Space, Keypad 8, Left Shift, F1...),\n"
    "# up to three for each action, separated by commas; 'none' for no key.\n";

}  // namespace

bool IsUtf8(std::string_view s) {
  std::size_t i = 0;
  while (i < s.size()) {
    auto b = static_cast<unsigned char>(s[i]);
    if (b < 0x80) {
      ++i;
      continue;
    }
    int extra;
    std::uint32_t cp, min;
    if ((b & 0xE0) == 0xC0)
      extra = 1, cp = b & 0x1F, min = 0x80;
    else if ((b & 0xF0) == 0xE0)
      extra = 2, cp = b & 0x0F, min = 0x800;
    else if ((b & 0xF8) == 0xF0)
      extra = 3, cp = b & 0x07, min = 0x10000;
    else
      return false;
    if (s.size() - i <= static_cast<std::size_t>(extra)) return false;
    for (int k = 1; k <= extra; ++k) {
      auto c = static_cast<unsigned char>(s[i + static_cast<std::size_t>(k)]);
      if ((c & 0xC0) != 0x80) return false;
      cp = cp << 6 | (c & 0x3F);
    }
    if (cp < min || cp > 0x10FFFF || (cp >= 0xD800 && cp <= 0xDFFF)) return false;
    i += static_cast<std::size_t>(extra) + 1;
  }
  return true;
}

TSettingsFile::TSettingsFile(std::string path) : FPath(std::move(path)) {}

TSettingsFile TSettingsFile::Parse(std::string_view bytes, std::string path) {
  TSettingsFile file(std::move(path));
  file.FState = fsRead;
  file.FOriginal = bytes;
  if (bytes.size() > MaxSettingsFileSize) {
    file.FRefusedReason = "is larger than 64 KiB, which no settings file is";
  } else {
    std::string_view text = bytes;
    if (text.substr(0, Bom.size()) == Bom) {
      file.FBom = true;
      text.remove_prefix(Bom.size());
    }
    if (!IsUtf8(text))
      file.FRefusedReason = "is not UTF-8 text";
    else
      file.ReadLines(text);
  }
  if (!file.FRefusedReason.empty()) {
    file.FState = fsRefused;
    file.FLines.clear();
    file.FFaults.clear();
    file.Fault(
        0, file.FRefusedReason + "; every setting has its default, and the file is left as it is");
  }
  std::stable_sort(file.FFaults.begin(), file.FFaults.end(),
                   [](const auto& a, const auto& b) { return a.first < b.first; });
  file.FMessages.reserve(file.FFaults.size());
  for (auto& [line, what] : file.FFaults) {
    // "PATH:LINE: what", made in one piece: a damaged file may have a fault on every line.
    std::string message;
    message.reserve(file.FPath.size() + what.size() + 16);
    message += file.FPath;
    if (line) message.append(":").append(std::to_string(line));
    message.append(": ").append(what);
    file.FMessages.push_back(std::move(message));
  }
  file.FFaults.clear();
  return file;
}

TSettingsFile TSettingsFile::Load(const std::string& path) {
  std::string bytes, error;
  switch (ReadSmallFile(path, MaxSettingsFileSize, bytes, error)) {
    case sfRead:
      return Parse(bytes, path);
    case sfMissing:
      return TSettingsFile(path);
    case sfFailed:
      break;
  }
  TSettingsFile file(path);
  file.FState = fsRefused;
  file.FRefusedReason = error;
  file.FMessages.push_back(path + ": " + error + "; every setting has its default");
  return file;
}

TSettingsFile TSettingsFile::LoadFromConfigFolder() {
  std::string reason;
  std::string folder = GameConfigFolder(reason);
  return LoadFromFolder(folder, reason);
}

TSettingsFile TSettingsFile::LoadFromFolder(const std::string& folder, const std::string& reason) {
  if (!folder.empty()) return Load(folder + SettingsFileName);
  TSettingsFile file;
  file.FState = fsRefused;
  file.FRefusedReason = reason;
  file.FMessages.push_back("settings: " + reason + "; every setting has its default");
  return file;
}

void TSettingsFile::Fault(std::size_t line, std::string what) {
  FFaults.emplace_back(line, std::move(what));
}

void TSettingsFile::ReadLines(std::string_view text) {
  FLines.reserve(static_cast<std::size_t>(std::count(text.begin(), text.end(), '\n')) + 1);
  while (!text.empty()) {
    TLine line;
    std::size_t end = text.find('\n');
    std::string_view body = text.substr(0, end);
    if (end == std::string_view::npos) {
      text = {};
    } else {
      line.End = "\n";
      text.remove_prefix(end + 1);
    }
    if (!body.empty() && body.back() == '\r') {
      line.End.insert(0, "\r");
      body.remove_suffix(1);
    }
    line.Text = body;
    FLines.push_back(std::move(line));
  }

  // Each line on its own. Values are read into one record, a later line over an earlier one, as
  // the last line of a setting is the one that counts; a value that does not read changes nothing.
  TSettings read;
  std::vector<std::string> errors(FLines.size());
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    TLine& line = FLines[i];
    std::string_view t = Trimmed(line.Text);
    std::size_t eq = t.find('=');
    if (t.empty()) {
      line.Kind = TLine::lkBlank;
    } else if (t.front() == '#' || t.front() == ';') {
      line.Kind = TLine::lkComment;
    } else if (t.front() == '[' && t.back() == ']') {
      line.Kind = TLine::lkSection;  // a section heading changes nothing: there is one section
    } else if (eq == std::string_view::npos || Trimmed(t.substr(0, eq)).empty()) {
      line.Kind = TLine::lkBad;
      errors[i] = "not a 'name = value' line: '" + Shown(t) + "'";
    } else {
      std::string_view name = Trimmed(t.substr(0, eq));
      if (!SettingKeyOf(name, line.Key)) {
        line.Kind = TLine::lkUnknown;
        Fault(i + 1, "unknown setting '" + Shown(name) + "' (the line is kept as it is)");
        continue;
      }
      line.HasKey = true;
      line.Kind = ParseSettingValue(line.Key, t.substr(eq + 1), read, errors[i]) ? TLine::lkSetting
                                                                                 : TLine::lkBad;
    }
  }

  // The last line of a setting counts, good or bad; earlier ones are said to be set again.
  std::array<std::size_t, SettingKeyCount> last;
  last.fill(FLines.size());
  for (std::size_t i = 0; i < FLines.size(); ++i)
    if (FLines[i].HasKey) last[FLines[i].Key] = i;
  static const TSettings defaults;
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    TLine& line = FLines[i];
    bool counts = line.HasKey && last[line.Key] == i;
    std::string again = line.HasKey && !counts
                            ? "line " + std::to_string(last[line.Key] + 1) + " sets " +
                                  SettingName(line.Key) + " again, and counts"
                            : "";
    if (line.Kind == TLine::lkBad) {
      std::string what =
          line.HasKey ? std::string(SettingName(line.Key)) + ": " + errors[i] : errors[i];
      if (counts)
        what += "; the default (" + SettingValueText(defaults, line.Key) + ") is used";
      else if (line.HasKey)
        what += "; " + again;
      Fault(i + 1, what);
    } else if (line.Kind == TLine::lkSetting && !counts) {
      line.Kind = TLine::lkOverridden;
      Fault(i + 1, std::string(SettingName(line.Key)) + " is set more than once: " + again);
    } else if (line.Kind == TLine::lkSetting) {
      FSettings.CopyValue(line.Key, read);
      FSettings.Source[line.Key] = ssFile;
    }
  }
}

bool TSettingsFile::Change(TSettingKey key, const TSettings& values) {
  // Only what the file can read back is written: the value as its own text would read.
  TSettings value = FSettings;
  std::string error;
  if (!ParseSettingValue(key, SettingValueText(values, key), value, error)) return false;
  if (FSettings.SameValue(key, value)) return false;
  FSettings.CopyValue(key, value);
  FSettings.Source[key] = ssFile;
  FDirty[key] = true;
  FChanged = true;
  return true;
}

std::string TSettingsFile::Text() const {
  // Unchanged, the file is what it was: faults are kept as comments only once it is written anyway.
  if (FState == fsRefused || !FChanged) return FOriginal;
  std::string out;
  if (FBom) out += Bom;
  if (FLines.empty()) {
    // A new file lists every setting, so that the player sees what there is to set.
    if (!FChanged) return out;
    out += NewFileHeader;
    for (int k = 0; k < SettingKeyCount; ++k)
      out += Line(FSettings, static_cast<TSettingKey>(k)) + "\n";
    return out;
  }
  const std::string newEnd = FLines.front().End == "\r\n" ? "\r\n" : "\n";
  std::array<bool, SettingKeyCount> written{};
  // Where a changed setting goes: its counting line; after it when that line is kept as a comment.
  std::array<std::size_t, SettingKeyCount> last;
  last.fill(FLines.size());
  for (std::size_t i = 0; i < FLines.size(); ++i)
    if (FLines[i].HasKey && FLines[i].Kind != TLine::lkOverridden) last[FLines[i].Key] = i;
  for (std::size_t i = 0; i < FLines.size(); ++i) {
    const TLine& line = FLines[i];
    std::string end = line.End;
    // The end a last line gets when a line is put after it: its own lone carriage return
    // becomes CR LF, so that the line reads back as it was.
    if (i + 1 == FLines.size()) end = end.empty() ? newEnd : end == "\r" ? "\r\n" : end;
    bool changedHere = line.HasKey && FDirty[line.Key] && last[line.Key] == i;
    switch (line.Kind) {
      case TLine::lkSetting:
        out += changedHere ? Line(FSettings, line.Key) : line.Text;
        break;
      case TLine::lkBad:
        out += NotUnderstood;
        out += line.Text;
        if (changedHere) out += end + Line(FSettings, line.Key);
        break;
      case TLine::lkOverridden:
        out += SetAgain;
        out += line.Text;
        break;
      default:
        out += line.Text;
        break;
    }
    if (changedHere) written[line.Key] = true;
    // The last line keeps its missing line end unless lines follow it.
    out += i + 1 == FLines.size() ? line.End : end;
  }
  bool appending = false;
  for (int k = 0; k < SettingKeyCount; ++k) {
    if (!FDirty[k] || written[k]) continue;
    // A last line without its end gets one first: a lone carriage return becomes CR LF, so that
    // the line reads back as it was.
    if (!appending && FLines.back().End.empty()) out += newEnd;
    if (!appending && FLines.back().End == "\r") out += '\n';
    appending = true;
    out += Line(FSettings, static_cast<TSettingKey>(k)) + newEnd;
  }
  return out;
}

bool TSettingsFile::Save(std::string& error) {
  return SaveWith([this](const std::string& text,
                         std::string& why) { return ReplaceSmallFile(FPath, text, why); },
                  error);
}

bool TSettingsFile::SaveWith(const TWriter& write, std::string& error) {
  if (!FChanged) return true;
  if (FState == fsRefused) {
    error = (FPath.empty() ? std::string("settings") : FPath) + ": not saved: the file " +
            FRefusedReason;
    return false;
  }
  if (FPath.empty()) {
    error = "settings: not saved: no file to save them in";
    return false;
  }
  std::string text = Text();
  if (text.size() > MaxSettingsFileSize) {
    error = FPath + ": not saved: the file would be larger than 64 KiB";
    return false;
  }
  if (!write(text, error)) {
    error = FPath + ": not saved: " + error;
    return false;
  }
  TSettings kept = FSettings;
  *this = Parse(text, FPath);
  // What the file now says, with the run's values where a setting did not read back (none should).
  for (int k = 0; k < SettingKeyCount; ++k) {
    auto key = static_cast<TSettingKey>(k);
    if (!FSettings.SameValue(key, kept)) FSettings.CopyValue(key, kept);
  }
  return true;
}

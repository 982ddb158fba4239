// TSettingsFile: the settings file as the player wrote it, read into settings and written back.
#pragma once

#include <array>
#include <functional>
#include <string>
#include <string_view>
#include <vector>

#include "settings/Settings.h"

// The settings file's name within the configuration folder (GameConfigFolder).
inline constexpr const char* SettingsFileName = "settings.ini";

// The largest settings file read: a person's file is a few hundred bytes.
inline constexpr std::size_t MaxSettingsFileSize = 64 * 1024;

// The text of a settings file: `name = value` lines, whole-line comments (# or ;), blank lines.
// It keeps every line as it was read, so that writing it back changes only what the player
// changed in the game: a changed setting's line is rewritten in place, a setting the file lacks
// is appended at the end, comments, the order of lines, line ends, a byte-order mark and lines
// naming settings this game does not know are kept as they are. A line that does not read, or
// whose value does not, is kept as a comment ("# (not understood) volume = loud") and its setting
// keeps its default. A setting given twice counts from its last line; the earlier lines are kept
// as comments when the file is written. Nothing is written until a setting changes.
//
// A file that is larger than 64 KiB, is not UTF-8, or cannot be read at all gives the defaults
// and is never written over: writing would lose what the player had in it.
class TSettingsFile {
 public:
  enum TState { fsMissing, fsRead, fsRefused };

  // One line as read, without its line end.
  struct TLine {
    enum TKind { lkBlank, lkComment, lkSection, lkSetting, lkUnknown, lkBad, lkOverridden };
    std::string Text;
    std::string End;  // "\n", "\r\n", or, on the last line only, "\r" or ""
    TKind Kind = lkBlank;
    bool HasKey = false;  // Key names a setting (lkSetting, lkOverridden, some lkBad lines)
    TSettingKey Key = skVolume;
  };

  // No file: the defaults, and a new file when saved to path.
  explicit TSettingsFile(std::string path = "");

  // Reads a file's bytes; path names it in messages and is where Save writes.
  static TSettingsFile Parse(std::string_view bytes, std::string path);
  // Reads the file at path (missing is no fault: the defaults).
  static TSettingsFile Load(const std::string& path);
  // Reads settings.ini in the player's configuration folder (GameConfigFolder); with no folder,
  // the defaults, refused with the reason.
  static TSettingsFile LoadFromConfigFolder();
  // Reads settings.ini in folder (ending in '/'); an empty folder is none, for the reason given.
  static TSettingsFile LoadFromFolder(const std::string& folder, const std::string& reason);

  const std::string& Path() const { return FPath; }
  TState State() const { return FState; }
  // Why the file is not used, for fsRefused.
  const std::string& RefusedReason() const { return FRefusedReason; }
  const TSettings& Settings() const { return FSettings; }
  // One line per fault, "PATH:LINE: what" (or "PATH: what" for the whole file), in line order.
  const std::vector<std::string>& Messages() const { return FMessages; }
  const std::vector<TLine>& Lines() const { return FLines; }

  // The player changed a setting in the game: key's value is taken from values. True when it
  // differs from the value held, which is then written at the next Save. A value the file would
  // not read back (a volume over 100, a key without a name) changes nothing and gives false.
  bool Change(TSettingKey key, const TSettings& values);
  bool Changed() const { return FChanged; }
  bool ChangedKey(TSettingKey key) const { return FDirty[key]; }

  // The file's text as Save would write it; the bytes read while nothing has changed.
  std::string Text() const;
  // Writes Text to Path if anything changed (true without writing otherwise); false with a
  // reason in error when the file is refused or cannot be written. After a write the file is
  // read anew from the text written.
  bool Save(std::string& error);
  // The same with another place for the text than the file at Path (the page's local storage):
  // write stores the text, or gives false with the reason in its error.
  using TWriter = std::function<bool(const std::string& text, std::string& error)>;
  bool SaveWith(const TWriter& write, std::string& error);

 private:
  void ReadLines(std::string_view text);
  void Fault(std::size_t line, std::string what);

  std::string FPath;
  TState FState = fsMissing;
  std::string FRefusedReason;
  std::string FOriginal;  // the bytes read, written back unchanged by a refused file's Text
  bool FBom = false;
  std::vector<TLine> FLines;
  TSettings FSettings;
  std::vector<std::pair<std::size_t, std::string>> FFaults;  // by line number, 0 = whole file
  std::vector<std::string> FMessages;
  std::array<bool, SettingKeyCount> FDirty{};
  bool FChanged = false;
};

// True when bytes are well-formed UTF-8 (no overlong forms, surrogates or values past U+10FFFF).
bool IsUtf8(std::string_view bytes);

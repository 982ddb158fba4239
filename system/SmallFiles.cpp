// Small files (the player's settings) written safely: what every system shares.
#include "system/SmallFiles.h"

#include "system/FileReplacement.h"
#include "system/Files.h"

bool ReplaceSmallFile(const std::string& path, const std::string& text, std::string& error) {
  // Something else put there since (a folder, a pipe, a device) is not the player's file to
  // write over.
  const TPathKind kind = LookAtPath(path).Kind;
  if (kind != pkRegular && kind != pkMissing && kind != pkUnknown) {
    error = "is not a regular file";
    return false;
  }
  const std::string::size_type slash = LastPathSeparator(path);
  if (slash != std::string::npos && slash > 0) {
    const std::string folder = path.substr(0, slash);
    std::string reason;
    if (!MakeFolders(folder, reason)) {
      error = "cannot make the folder " + folder + ": " + reason;
      return false;
    }
  }
  TFileReplacement file(path);
  if (!file.Write(text.data(), text.size()) || !file.Commit()) {
    error = file.Error();
    return false;
  }
  return true;
}

// Writing a file under a temporary name beside it and moving it into place, through Windows.
#include "system/FileReplacement.h"

#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>

#include "system/Files.h"
#include "system/windows/WideText.h"

namespace {

// Temporary names differ between processes by the process id and within one by a counter; a name
// left by a process that died is skipped (the file is created exclusively).
std::atomic<unsigned> NextTemp{0};

std::string FolderOf(const std::string& path) {
  return path.substr(0, LastPathSeparator(path) + 1);
}
std::string NameOf(const std::string& path) { return path.substr(LastPathSeparator(path) + 1); }

// The longest name, in bytes of UTF-8, that keeps the temporary name within the 255 UTF-16 units
// a folder entry may have: no UTF-16 unit takes fewer than one byte.
constexpr std::size_t NameMax = 255;

// The name cut to at most size bytes, not inside a character.
std::string CutName(const std::string& name, std::size_t size) {
  if (name.size() <= size) return name;
  while (size > 0 && (static_cast<unsigned char>(name[size]) & 0xC0) == 0x80) --size;
  return name.substr(0, size);
}

}  // namespace

TFileReplacement::TFileReplacement(std::string path) : Path(std::move(path)), Target(Path) {
  const TPathInfo old = LookAtPath(Path);
  if (old.Kind == pkFolder) {
    // Windows would refuse it as "Permission denied", which misleads.
    Fail(EISDIR);
    return;
  }
  std::wstring wide;
  if (!WideName(Path, wide)) {
    Fail(errno);
    return;
  }
  if (old.Kind != pkRegular && old.Kind != pkMissing && old.Kind != pkUnknown) {
    // A device (NUL, CON): written in place.
    File = ::_wfopen(wide.c_str(), L"wb");
    if (!File) Fail(errno);
    return;
  }
  if (old.Kind == pkRegular) {
    // A read-only file stays refused, as the system would refuse writing it in place.
    if (::_waccess(wide.c_str(), 2) != 0) {
      Fail(errno);
      return;
    }
    wchar_t full[_MAX_PATH];
    if (::_wfullpath(full, wide.c_str(), _MAX_PATH)) Target = Utf8Text(full);
  }
  const std::string prefix = FolderOf(Target) + "." + CutName(NameOf(Target), NameMax - 32) + ".";
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    Temp =
        prefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(NextTemp++) + ".tmp";
    std::wstring wideTemp;
    WideName(Temp, wideTemp);
    fd = ::_wopen(wideTemp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
                  _S_IREAD | _S_IWRITE);
    if (fd < 0 && errno != EEXIST) break;
  }
  if (fd < 0) {
    const int error = errno;
    Temp.clear();
    Fail(error);
    return;
  }
  File = ::_fdopen(fd, "wb");
  if (!File) {
    const int error = errno;
    ::_close(fd);
    Fail(error);
  }
}

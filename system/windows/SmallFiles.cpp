// Small files (the player's settings) read safely, on Windows.
#include "system/SmallFiles.h"

#include <fcntl.h>
#include <io.h>

#include <cerrno>
#include <system_error>

#include "system/Files.h"
#include "system/windows/WideText.h"

namespace {

std::string Reason(int error) { return std::generic_category().message(error); }

}  // namespace

TSmallFileRead ReadSmallFile(const std::string& path, std::size_t limit, std::string& bytes,
                             std::string& error) {
  bytes.clear();
  // What is there is looked at before it is opened: a device (CON, a serial port) could block a
  // read, and Windows refuses to open a folder as a file with a misleading reason.
  const TPathInfo info = LookAtPath(path);
  if (info.Kind == pkMissing) return sfMissing;
  if (info.Kind == pkUnknown) {
    error = "cannot be read: " + Reason(info.Error);
    return sfFailed;
  }
  if (info.Kind == pkFolder) {
    error = "is a folder, not a file";
    return sfFailed;
  }
  if (info.Kind != pkRegular) {
    error = "is not a regular file";
    return sfFailed;
  }
  std::wstring wide;
  WideName(path, wide);
  const int fd = ::_wopen(wide.c_str(), _O_RDONLY | _O_BINARY | _O_NOINHERIT);
  if (fd < 0) {
    const int e = errno;
    if (e == ENOENT) return sfMissing;  // gone since
    error = "cannot be read: " + Reason(e);
    return sfFailed;
  }
  TSmallFileRead result = sfFailed;
  // Read to one byte past the limit, whatever the size said: the file may grow meanwhile.
  std::string buffer(limit + 1, '\0');
  std::size_t got = 0;
  while (got < buffer.size()) {
    const std::size_t want = buffer.size() - got;
    const int n =
        ::_read(fd, buffer.data() + got, want > 1u << 30 ? 1u << 30 : static_cast<unsigned>(want));
    if (n < 0) {
      error = "cannot be read: " + Reason(errno);
      break;
    }
    if (n == 0) break;
    got += static_cast<std::size_t>(n);
  }
  if (error.empty()) {
    if (got > limit) {
      error = "is larger than " + std::to_string(limit) + " bytes";
    } else {
      buffer.resize(got);
      bytes = std::move(buffer);
      result = sfRead;
    }
  }
  ::_close(fd);
  return result;
}

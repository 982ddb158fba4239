// Writing a file under a temporary name beside it and moving it into place, through Windows.
//
// DRAFT for the Windows build: the counterpart of platform/FileReplacement.cpp (POSIX) behind the
// same header, to be placed with the other system services. Paths are the C library's narrow
// (ANSI code page) ones, as the rest of the program passes them; names outside that code page need
// the wide functions and UTF-8 paths throughout.
#include "platform/FileReplacement.h"

#define WIN32_LEAN_AND_MEAN
#include <fcntl.h>
#include <io.h>
#include <sys/stat.h>
#include <windows.h>

#include <atomic>
#include <cerrno>
#include <cstdlib>
#include <cstring>

namespace {

// Temporary names differ between processes by the process id and within one by a counter; a name
// left by a process that died is skipped (the file is created exclusively).
std::atomic<unsigned> NextTemp{0};

// Both separators are Windows' own.
std::string::size_type LastSeparator(const std::string& path) { return path.find_last_of("/\\"); }
std::string FolderOf(const std::string& path) { return path.substr(0, LastSeparator(path) + 1); }
std::string NameOf(const std::string& path) { return path.substr(LastSeparator(path) + 1); }

// The longest name one folder entry may have on Windows' file systems.
constexpr std::size_t NameMax = 255;

// Windows' own words for its last error, without the line break it ends them with.
std::string SystemReason(DWORD error) {
  char text[512] = "";
  DWORD length = FormatMessageA(FORMAT_MESSAGE_FROM_SYSTEM | FORMAT_MESSAGE_IGNORE_INSERTS, nullptr,
                                error, 0, text, sizeof text, nullptr);
  while (length > 0 &&
         (text[length - 1] == '\n' || text[length - 1] == '\r' || text[length - 1] == ' '))
    text[--length] = '\0';
  return length ? std::string(text) : "error " + std::to_string(error);
}

}  // namespace

TFileReplacement::TFileReplacement(std::string path) : Path(std::move(path)), Target(Path) {
  struct _stat64 old;
  const bool exists = ::_stat64(Path.c_str(), &old) == 0;
  if (exists && (old.st_mode & _S_IFMT) == _S_IFDIR) {
    // Windows would refuse it as "Permission denied", which misleads.
    Fail(EISDIR);
    return;
  }
  if (exists && (old.st_mode & _S_IFMT) != _S_IFREG) {
    // A device (NUL, CON): written in place.
    File = std::fopen(Path.c_str(), "wb");
    if (!File) Fail(errno);
    return;
  }
  if (exists) {
    // A read-only file stays refused, as the system would refuse writing it in place.
    if (::_access(Path.c_str(), 2) != 0) {
      Fail(errno);
      return;
    }
    char full[_MAX_PATH];
    if (::_fullpath(full, Path.c_str(), sizeof full)) Target = full;
  }
  const std::string prefix = FolderOf(Target) + "." + NameOf(Target).substr(0, NameMax - 32) + ".";
  int fd = -1;
  for (int attempt = 0; attempt < 100 && fd < 0; ++attempt) {
    Temp =
        prefix + std::to_string(GetCurrentProcessId()) + "-" + std::to_string(NextTemp++) + ".tmp";
    fd = ::_open(Temp.c_str(), _O_WRONLY | _O_CREAT | _O_EXCL | _O_BINARY | _O_NOINHERIT,
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

TFileReplacement::~TFileReplacement() { Discard(); }

bool TFileReplacement::Write(const void* data, std::size_t size) {
  if (!Good()) return false;
  if (size && std::fwrite(data, 1, size, File) != size) Fail(errno);
  return Good();
}

bool TFileReplacement::Commit() {
  if (!Good()) return false;
  std::FILE* file = File;
  File = nullptr;
  if (std::fflush(file) != 0) {
    const int error = errno;
    std::fclose(file);
    Fail(error);
  } else if (std::fclose(file) != 0) {
    Fail(errno);
  } else if (!Temp.empty()) {
    // rename() refuses an existing target on Windows; MoveFileEx replaces it in one step, and
    // returns only once the move is on the disk.
    if (!MoveFileExA(Temp.c_str(), Target.c_str(),
                     MOVEFILE_REPLACE_EXISTING | MOVEFILE_WRITE_THROUGH)) {
      const DWORD error = GetLastError();
      if (Good()) Message = "cannot write " + Path + ": " + SystemReason(error);
      Discard();
    } else {
      Temp.clear();
    }
  }
  return Good();
}

void TFileReplacement::Fail(int error) {
  if (Good()) Message = "cannot write " + Path + ": " + std::strerror(error ? error : EIO);
  Discard();
}

void TFileReplacement::Discard() {
  if (File) std::fclose(File);
  File = nullptr;
  if (!Temp.empty()) ::_unlink(Temp.c_str());
  Temp.clear();
}

// Writing a file under a temporary name beside it and renaming it into place: what every system
// shares; the opening, which looks at what the target is, is each system's own.
#include "system/FileReplacement.h"

#include <cerrno>
#include <cstring>

#include "system/Files.h"

TFileReplacement::~TFileReplacement() { Discard(); }

bool TFileReplacement::Write(const void* data, std::size_t size) {
  if (!Good()) return false;
  if (size && std::fwrite(data, 1, size, File) != size) Fail(errno);
  return Good();
}

bool TFileReplacement::WriteAt(long offset, const void* data, std::size_t size) {
  if (!Good()) return false;
  if (std::fseek(File, offset, SEEK_SET) != 0 ||
      (size && std::fwrite(data, 1, size, File) != size) || std::fseek(File, 0, SEEK_END) != 0)
    Fail(errno);
  return Good();
}

bool TFileReplacement::Commit() {
  if (!Good()) return false;
  std::FILE* file = File;
  File = nullptr;
  // Buffered bytes meet a full disk here, so the flush is checked apart from the close.
  if (std::fflush(file) != 0) {
    const int error = errno;
    std::fclose(file);
    Fail(error);
  } else if (std::fclose(file) != 0) {
    Fail(errno);
  } else if (!Temp.empty() && !RenameReplacing(Temp, Target)) {
    Fail(errno);
  } else {
    Temp.clear();
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
  if (!Temp.empty()) RemoveFile(Temp);
  Temp.clear();
}

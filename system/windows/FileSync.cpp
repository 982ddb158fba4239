// Putting written bytes on the disk, through Windows: _commit is FlushFileBuffers on the handle.
#include "system/FileSync.h"

#include <io.h>

#include "system/Files.h"
#include "system/windows/WideText.h"

bool SyncDescriptorToDisk(int fd) { return ::_commit(fd) == 0; }

int DescriptorOf(std::FILE* file) { return _fileno(file); }

bool SyncFolderOf(const std::string& path) {
  const std::string::size_type slash = LastPathSeparator(path);
  const std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  std::wstring wide;
  if (!WideName(folder, wide)) return false;
  // A folder opens only with backup semantics; flushing it needs write access, which a folder the
  // player owns grants. Where either is refused only the guarantee is lost.
  HANDLE handle = CreateFileW(wide.c_str(), GENERIC_WRITE,
                              FILE_SHARE_READ | FILE_SHARE_WRITE | FILE_SHARE_DELETE, nullptr,
                              OPEN_EXISTING, FILE_FLAG_BACKUP_SEMANTICS, nullptr);
  if (handle == INVALID_HANDLE_VALUE) return false;
  const bool ok = FlushFileBuffers(handle) != 0;
  CloseHandle(handle);
  return ok;
}

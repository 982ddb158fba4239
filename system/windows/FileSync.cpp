// Putting written bytes on the disk, through Windows: _commit is FlushFileBuffers on the handle.
#include "system/FileSync.h"

#include <io.h>

#include <system_error>

#include "system/Files.h"
#include "system/windows/WideText.h"

bool SyncFileToDisk(std::FILE* file) {
  if (!file || std::fflush(file) != 0) return false;
  return ::_commit(_fileno(file)) == 0;
}

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

TBackgroundFileSync::~TBackgroundFileSync() { Wait(); }

void TBackgroundFileSync::Request(std::FILE* file) {
  if (!file) return;
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FFd = _fileno(file);
    FPending = true;
    FStop = false;
  }
  FChanged.notify_all();
  if (FThread.joinable()) return;
  try {
    FThread = std::thread([this] { Serve(); });
  } catch (const std::system_error&) {
    // No threads here: the caller waits after all.
    std::lock_guard<std::mutex> lock(FMutex);
    FPending = false;
    if (::_commit(FFd) != 0) FFailed = true;
  }
}

void TBackgroundFileSync::Serve() {
  std::unique_lock<std::mutex> lock(FMutex);
  for (;;) {
    FChanged.wait(lock, [this] { return FPending || FStop; });
    if (!FPending) return;  // stopped, nothing left to do
    FPending = false;
    FBusy = true;
    int fd = FFd;
    lock.unlock();
    bool ok = ::_commit(fd) == 0;
    lock.lock();
    FBusy = false;
    if (!ok) FFailed = true;
    FChanged.notify_all();
  }
}

bool TBackgroundFileSync::Wait() {
  {
    std::unique_lock<std::mutex> lock(FMutex);
    FChanged.wait(lock, [this] { return !FPending && !FBusy; });
    FStop = true;
  }
  FChanged.notify_all();
  if (FThread.joinable()) FThread.join();
  std::lock_guard<std::mutex> lock(FMutex);
  return !FFailed;
}

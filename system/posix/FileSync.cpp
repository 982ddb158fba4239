// Putting written bytes on the disk, through POSIX.
#include "system/FileSync.h"

#include <fcntl.h>
#include <unistd.h>

#include <system_error>

bool SyncFileToDisk(std::FILE* file) {
  if (!file || std::fflush(file) != 0) return false;
  return fdatasync(fileno(file)) == 0;
}

bool SyncFolderOf(const std::string& path) {
  std::string::size_type slash = path.find_last_of('/');
  std::string folder = slash == std::string::npos ? "." : slash == 0 ? "/" : path.substr(0, slash);
  int fd = open(folder.c_str(), O_RDONLY | O_DIRECTORY | O_CLOEXEC);
  if (fd < 0) return false;
  bool ok = fsync(fd) == 0;
  close(fd);
  return ok;
}

TBackgroundFileSync::~TBackgroundFileSync() { Wait(); }

void TBackgroundFileSync::Request(std::FILE* file) {
  if (!file) return;
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FFd = fileno(file);
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
    if (fdatasync(FFd) != 0) FFailed = true;
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
    bool ok = fdatasync(fd) == 0;
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

// Putting written bytes on the disk: what every system shares, over its SyncDescriptorToDisk.
#include "system/FileSync.h"

#include <system_error>

bool SyncFileToDisk(std::FILE* file) {
  if (!file || std::fflush(file) != 0) return false;
  return SyncDescriptorToDisk(DescriptorOf(file));
}

TBackgroundFileSync::~TBackgroundFileSync() { Wait(); }

void TBackgroundFileSync::Request(std::FILE* file) {
  if (!file) return;
  {
    std::lock_guard<std::mutex> lock(FMutex);
    FFd = DescriptorOf(file);
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
    if (!SyncDescriptorToDisk(FFd)) FFailed = true;
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
    bool ok = SyncDescriptorToDisk(fd);
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

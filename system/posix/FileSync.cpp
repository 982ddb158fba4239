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
    std::lock_guard<std::mutex> lock(mutex_);
    fd_ = fileno(file);
    pending_ = true;
    stop_ = false;
  }
  changed_.notify_all();
  if (thread_.joinable()) return;
  try {
    thread_ = std::thread([this] { Serve(); });
  } catch (const std::system_error&) {
    // No threads here: the caller waits after all.
    std::lock_guard<std::mutex> lock(mutex_);
    pending_ = false;
    if (fdatasync(fd_) != 0) failed_ = true;
  }
}

void TBackgroundFileSync::Serve() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return pending_ || stop_; });
    if (!pending_) return;  // stopped, nothing left to do
    pending_ = false;
    busy_ = true;
    int fd = fd_;
    lock.unlock();
    bool ok = fdatasync(fd) == 0;
    lock.lock();
    busy_ = false;
    if (!ok) failed_ = true;
    changed_.notify_all();
  }
}

bool TBackgroundFileSync::Wait() {
  {
    std::unique_lock<std::mutex> lock(mutex_);
    changed_.wait(lock, [this] { return !pending_ && !busy_; });
    stop_ = true;
  }
  changed_.notify_all();
  if (thread_.joinable()) thread_.join();
  std::lock_guard<std::mutex> lock(mutex_);
  return !failed_;
}

// Putting written bytes on the disk, through Windows.
//
// DRAFT for the Windows build: the counterpart of platform/FileSync.cpp (POSIX) behind the same
// header, to be placed with the other system services. The background sync is the same as the
// POSIX one but for the call that waits for the disk.
#include "platform/FileSync.h"

#define WIN32_LEAN_AND_MEAN
#include <io.h>
#include <windows.h>

#include <system_error>

namespace {

// The C library's _commit is FlushFileBuffers on the descriptor's handle: data and metadata.
bool CommitDescriptor(int fd) { return ::_commit(fd) == 0; }

}  // namespace

bool SyncFileToDisk(std::FILE* file) {
  if (!file || std::fflush(file) != 0) return false;
  return CommitDescriptor(_fileno(file));
}

bool SyncFolderOf(const std::string& path) {
  std::string::size_type slash = path.find_last_of("/\\");
  std::string folder = slash == std::string::npos ? "." : path.substr(0, slash + 1);
  // A folder opens only with backup semantics; flushing it needs write access, which a folder
  // the player owns grants. Where either is refused only the guarantee is lost.
  HANDLE handle = CreateFileA(folder.c_str(), GENERIC_WRITE,
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
    std::lock_guard<std::mutex> lock(mutex_);
    fd_ = _fileno(file);
    pending_ = true;
    stop_ = false;
  }
  changed_.notify_all();
  if (thread_.joinable()) return;
  try {
    thread_ = std::thread([this] { Serve(); });
  } catch (const std::system_error&) {
    std::lock_guard<std::mutex> lock(mutex_);
    pending_ = false;
    if (!CommitDescriptor(fd_)) failed_ = true;
  }
}

void TBackgroundFileSync::Serve() {
  std::unique_lock<std::mutex> lock(mutex_);
  for (;;) {
    changed_.wait(lock, [this] { return pending_ || stop_; });
    if (!pending_) return;
    pending_ = false;
    busy_ = true;
    int fd = fd_;
    lock.unlock();
    bool ok = CommitDescriptor(fd);
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

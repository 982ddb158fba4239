// Putting written bytes on the disk: a file's data now or in the background, and a rename.
#pragma once

#include <condition_variable>
#include <cstdio>
#include <mutex>
#include <string>
#include <thread>

// Flushes the stream and asks the system to put the file's data on the disk, so that a power
// loss keeps it. Waits for the disk. False when either fails.
bool SyncFileToDisk(std::FILE* file);

// Asks the system to put the folder that holds path on the disk, so that a rename into it
// survives a power loss. False when it cannot; nothing is lost by that but the guarantee.
bool SyncFolderOf(const std::string& path);

// The system's part, one per system: asks it to put the data of the open file descriptor fd on
// the disk and waits (false when it fails), and the descriptor of a stream.
bool SyncDescriptorToDisk(int fd);
int DescriptorOf(std::FILE* file);

// Puts a file's data on the disk on a thread of its own, so that the one asking never waits for
// the disk (which can take tens of milliseconds, longer than a frame). Request after flushing the
// stream; requests made while a sync runs are served by one more sync when it ends. Wait before
// closing the file. Where no thread can be started, a request syncs at once.
class TBackgroundFileSync {
 public:
  TBackgroundFileSync() = default;
  ~TBackgroundFileSync();
  TBackgroundFileSync(const TBackgroundFileSync&) = delete;
  TBackgroundFileSync& operator=(const TBackgroundFileSync&) = delete;

  void Request(std::FILE* file);
  // Waits until every request is served and stops the thread. False if any sync failed.
  bool Wait();

 private:
  void Serve();

  std::mutex FMutex;
  std::condition_variable FChanged;
  std::thread FThread;
  int FFd = -1;
  bool FPending = false;
  bool FBusy = false;
  bool FStop = false;
  bool FFailed = false;
};

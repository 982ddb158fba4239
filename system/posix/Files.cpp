// Files by their names, on POSIX systems: the names are the bytes the system takes.
#include "system/Files.h"

#include <sys/stat.h>

#include <cerrno>
#include <filesystem>
#include <system_error>

TPathInfo LookAtPath(const std::string& path) {
  TPathInfo info;
  struct stat st {};
  if (::stat(path.c_str(), &st) != 0) {
    info.Error = errno;
    info.Kind = errno == ENOENT || errno == ENOTDIR ? pkMissing : pkUnknown;
    return info;
  }
  if (S_ISREG(st.st_mode)) {
    info.Kind = pkRegular;
    info.Size = static_cast<std::uint64_t>(st.st_size);
  } else if (S_ISDIR(st.st_mode)) {
    info.Kind = pkFolder;
  } else if (S_ISCHR(st.st_mode)) {
    info.Kind = pkCharacterDevice;
  } else if (S_ISBLK(st.st_mode)) {
    info.Kind = pkBlockDevice;
  } else if (S_ISFIFO(st.st_mode)) {
    info.Kind = pkFifo;
  } else if (S_ISSOCK(st.st_mode)) {
    info.Kind = pkSocket;
  } else {
    info.Kind = pkOther;
  }
  return info;
}

std::FILE* OpenFile(const std::string& path, const char* mode) {
  return std::fopen(path.c_str(), mode);
}

// "x" (exclusive creation) is the C library's own here.
std::FILE* CreateNewFile(const std::string& path) { return std::fopen(path.c_str(), "wbx"); }

// rename replaces its target in one step here.
bool RenameReplacing(const std::string& from, const std::string& to) {
  return std::rename(from.c_str(), to.c_str()) == 0;
}

bool RemoveFile(const std::string& path) { return std::remove(path.c_str()) == 0; }

bool MakeFolders(const std::string& folder, std::string& reason) {
  std::error_code failed;
  std::filesystem::create_directories(folder, failed);
  if (failed) reason = failed.message();
  return !failed;
}

std::string::size_type LastPathSeparator(const std::string& path) { return path.rfind('/'); }

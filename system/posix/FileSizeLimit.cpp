// A limit on the size of written files, through the process's RLIMIT_FSIZE.
#include "system/FileSizeLimit.h"

#include <sys/resource.h>

#include <csignal>

struct TFileSizeLimit::TSaved {
  rlimit Limit{};
  void (*Handler)(int) = SIG_DFL;
};

TFileSizeLimit::TFileSizeLimit(std::uint64_t bytes) {
  auto saved = std::make_unique<TSaved>();
  if (getrlimit(RLIMIT_FSIZE, &saved->Limit) != 0) return;
  rlimit limit = saved->Limit;
  limit.rlim_cur = static_cast<rlim_t>(bytes);
  if (limit.rlim_max != RLIM_INFINITY && limit.rlim_cur > limit.rlim_max)
    limit.rlim_cur = limit.rlim_max;
  saved->Handler = std::signal(SIGXFSZ, SIG_IGN);
  if (setrlimit(RLIMIT_FSIZE, &limit) != 0) {
    std::signal(SIGXFSZ, saved->Handler);
    return;
  }
  FSaved = std::move(saved);
}

TFileSizeLimit::~TFileSizeLimit() {
  if (!FSaved) return;
  setrlimit(RLIMIT_FSIZE, &FSaved->Limit);
  std::signal(SIGXFSZ, FSaved->Handler);
}

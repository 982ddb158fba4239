// A limit on the size of written files, which Windows does not have for a process.
#include "system/FileSizeLimit.h"

// Windows limits files by quotas of the volume, not per process: nothing is limited here, and
// the tests that need a limit skip.
struct TFileSizeLimit::TSaved {};

TFileSizeLimit::TFileSizeLimit(std::uint64_t) {}

TFileSizeLimit::~TFileSizeLimit() = default;

// The current backend.
#include "platform/Backend.h"

#include <cstdio>
#include <cstdlib>

namespace {
TBackend* current = nullptr;
}

TBackend& Backend() {
  if (!current) {
    std::fputs("tarnyx: no backend set\n", stderr);
    std::abort();
  }
  return *current;
}

void SetBackend(TBackend* backend) { current = backend; }

bool HasBackend() { return current != nullptr; }

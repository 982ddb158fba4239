// An environment variable set for one test and put back after it.
#pragma once

#include <cstdlib>
#include <string>

// TEnv sets (or, for a null value, unsets) a variable while it lives, and restores the old value.
class TEnv {
 public:
  TEnv(const char* name, const char* value) : FName(name) {
    if (const char* old = std::getenv(name)) {
      FHad = true;
      FOld = old;
    }
    if (value) {
      setenv(name, value, 1);
    } else {
      unsetenv(name);
    }
  }
  ~TEnv() {
    if (FHad) {
      setenv(FName.c_str(), FOld.c_str(), 1);
    } else {
      unsetenv(FName.c_str());
    }
  }
  TEnv(const TEnv&) = delete;
  TEnv& operator=(const TEnv&) = delete;

 private:
  std::string FName, FOld;
  bool FHad = false;
};

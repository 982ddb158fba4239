// The base of the framework's error classes, and the error of a platform library that is missing.
#pragma once

#include "shell/Exception.h"

// Every error the framework's components raise derives from this one.
class EDirectXError : public Exception {
 public:
  using Exception::Exception;
};

// A platform library, or a function in it, could not be found ("DDraw.dll not loaded").
class EDXLibraryError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};

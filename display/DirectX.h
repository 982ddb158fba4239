// The common base of the display-object wrappers, and the exceptions of the display unit.
#pragma once

#include <string>

#include "framework/DirectXError.h"
#include "platform/WinTypes.h"

// A wrapper around one platform display object. It keeps the result code of the last platform
// call made through it; a failure is only recorded there, never raised.
class TDirectX {
 public:
  virtual ~TDirectX() = default;
  HRESULT DXResult = S_OK;
  bool Succeeded() const { return DXResult == S_OK; }
};

// The display unit's errors: a message text, formatted where the text has a pattern.
class EDirectDrawError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};
class EDirectDrawPaletteError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};
class EDirectDrawClipperError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};
class EDirectDrawSurfaceError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};
class EDXDrawError : public EDirectXError {
 public:
  using EDirectXError::EDirectXError;
};

// The message patterns, with their argument put in place of %s.
std::string SCannotInitialized(const std::string& what);  // "%s cannot be initialized"
std::string SNotMade(const std::string& what);            // "%s not made"
std::string SCannotMade(const std::string& what);         // "%s cannot be made"
extern const char* const SSinceDirectX6;                  // "Necessary since DirectX 6"
extern const char* const SInvalidDisplayBitCount;         // "It should be either of 8 or 16 or 24 or 32"

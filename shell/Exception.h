// The base of every error the program raises, and the name of an exception's class for reports.
#pragma once

#include <exception>
#include <string>

// An error with a message text. Every error class of the framework and the game derives from it,
// so the application's standard report can show the class and the message.
class Exception : public std::exception {
 public:
  explicit Exception(std::string message) : Message(std::move(message)) {}
  const char* what() const noexcept override { return Message.c_str(); }

  std::string Message;
};

// The name of the dynamic class of e, as written in the source ("EDXDrawError", "std::bad_alloc").
std::string ExceptionClassName(const std::exception& e);
// A type name as the compiler mangled it (std::type_info::name), as written in the source.
std::string DemangledName(const char* mangled);

// The platform could not make a window (no display, for example). The message says why.
class EWindowError : public Exception {
 public:
  using Exception::Exception;
};

// A stored form could not be read: the message names the file, the line and the property.
class EReadError : public Exception {
 public:
  using Exception::Exception;
};

// Class names read from run-time types, for the reports of errors and the form reader.
#include "shell/Exception.h"

#include <cxxabi.h>

#include <cstdlib>
#include <memory>
#include <typeinfo>

std::string DemangledName(const char* mangled) {
  int status = 0;
  std::unique_ptr<char, void (*)(void*)> name(abi::__cxa_demangle(mangled, nullptr, nullptr, &status),
                                              std::free);
  return status == 0 && name ? std::string(name.get()) : std::string(mangled);
}

std::string ExceptionClassName(const std::exception& e) { return DemangledName(typeid(e).name()); }

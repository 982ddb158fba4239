// libFuzzer target: the stored-form reader must read or refuse any text with an EReadError,
// never crash, overrun or recurse without bound.
#include <cstddef>
#include <cstdint>
#include <string_view>

#include "app/Form1.h"
#include "backends/headless/HeadlessBackend.h"
#include "shell/Application.h"
#include "shell/Exception.h"
#include "shell/FormReader.h"

extern "C" int LLVMFuzzerTestOneInput(const std::uint8_t* data, std::size_t size) {
  static bool ready = [] {
    static THeadlessBackend backend;  // the timer reads its clock when it starts
    SetBackend(&backend);
    RegisterAppClasses();
    return true;
  }();
  (void)ready;
  auto* form = new TForm1(Application);
  try {
    ReadStoredForm(*form, std::string_view(reinterpret_cast<const char*>(data), size), "fuzz.dfm");
  } catch (const Exception&) {
  }
  delete form;
  return 0;
}

// The process entry: the command line, the application object with its title, the main form
// from its stored form, and the message loop.
#include <exception>
#include <iostream>

#include "app/CommandLine.h"
#include "app/Form1.h"
#include "app/WindowIcon.h"
#include "platform/sdl/SdlBackend.h"
#include "shell/Application.h"
#include "shell/Exception.h"

int main(int argc, char** argv) {
  int status = HandleCommandLine(argc, argv, TSdlBackend::LibraryVersion(), std::cout, std::cerr);
  if (status >= 0) return status;

  TSdlBackend backend;
  TRgbaPicture icon;
  if (GameWindowIcon(icon)) backend.SetWindowIcon(icon.Pixels.data(), icon.Width, icon.Height);
  SetBackend(&backend);
  RegisterAppClasses();
  try {
    Application->Initialize();
    Application->SetTitle("Tarnyx");
    Application->CreateForm(Form1);
    Application->Run();
  } catch (const EWindowError& e) {
    std::cerr << "cannot open a window: " << e.what() << '\n';
    return 1;
  } catch (const std::exception& e) {
    // A stored form that does not read, for example: one clear line.
    std::cerr << "tarnyx: " << e.what() << '\n';
    return 1;
  }
  return 0;
}

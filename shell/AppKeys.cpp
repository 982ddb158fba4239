// The program's own keys.
#include "shell/AppKeys.h"

#include "platform/Backend.h"

bool TAppKeys::Handle(const MSG& msg) {
  bool down = msg.message == WM_KEYDOWN || msg.message == WM_SYSKEYDOWN;
  bool up = msg.message == WM_KEYUP || msg.message == WM_SYSKEYUP;
  if (!down && !up) return false;
  // lParam: the scan code in bits 16-23, the extended flag in bit 24, Alt in bit 29, and the
  // previous state in bit 30 (set on a press: the keyboard repeats a held key).
  auto bits = static_cast<DWORD>(msg.lParam);
  int key = static_cast<int>(((bits >> 16) & 0x7F) | ((bits >> 24) & 1) << 7);
  bool alt = (bits >> 29) & 1;
  bool repeat = down && ((bits >> 30) & 1);
  if (up) {
    if (!FKept.test(key)) return false;
    FKept.reset(key);
    return true;
  }

  auto vk = static_cast<int>(msg.wParam);
  bool screenshot = vk == VK_SNAPSHOT || vk == VK_F12;
  bool fullScreen = alt && vk == VK_RETURN;
  bool quit = alt && vk == VK_F4;
  if (!screenshot && !fullScreen && !quit) {
    // This press is the game's, and so is the release that ends it.
    FKept.reset(key);
    return false;
  }
  FKept.set(key);
  if (repeat || !HasBackend()) return true;
  if (screenshot) {
    SaveScreenshot();
  } else if (fullScreen) {
    Backend().ToggleFullScreen();
  } else if (Backend().QuitByKey()) {
    PostMessage(msg.hwnd, WM_CLOSE, 0, 0);
  }
  return true;
}

void TAppKeys::SaveScreenshot() {
  std::string shownAs, error;
  if (Backend().SaveScreenshot(shownAs, error)) {
    FLastFailure.clear();
    Say(stdout, shownAs);
  } else if (error != FLastFailure) {
    FLastFailure = error;
    Say(stderr, "tarnyx: no screenshot: " + error);
  }
}

// A closed stdout or stderr (the game's output piped into a program that has ended) fails the
// write; the game goes on without its log.
void TAppKeys::Say(std::FILE* stream, const std::string& line) {
  std::fputs((line + "\n").c_str(), stream);
  std::fflush(stream);
}

// The program's own keys.
#include "shell/AppKeys.h"

#include "platform/Backend.h"

namespace {

// The sound keys by PC set-1 scan code, whatever the keyboard's layout prints on them: M, the
// minus and equals keys beside Backspace, the keypad's minus and plus.
constexpr int MuteKey = 0x32, MinusKey = 0x0C, EqualsKey = 0x0D, KeypadMinusKey = 0x4A,
              KeypadPlusKey = 0x4E;

}  // namespace

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
  int sound = -1;
  if (!alt && OnSoundKey) {
    if (key == MuteKey) sound = skMute;
    if (key == MinusKey || key == KeypadMinusKey) sound = skVolumeDown;
    if (key == EqualsKey || key == KeypadPlusKey) sound = skVolumeUp;
  }
  if (!screenshot && !fullScreen && !quit && sound < 0) {
    // This press is the game's, and so is the release that ends it.
    FKept.reset(key);
    return false;
  }
  FKept.set(key);
  if (repeat) return true;
  if (sound >= 0) {
    OnSoundKey(static_cast<TSoundKey>(sound));
    return true;
  }
  if (!HasBackend()) return true;
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

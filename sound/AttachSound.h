// Hooking the game's sound into a form's frames with one call.
#pragma once

#include <utility>

#include "sound/GameSound.h"

// Chains sound behind whatever already watches the form's frames (the form's OnFrameInput and
// OnFrameEnd hooks: a demo player first, so that the sound hears the input the frames really
// consume), and starts watching from the game's state now. The form is any with those two hooks
// (the game's TForm1); sound must outlive the hooks.
template <typename Form>
void AttachSound(Form& form, TGameSound& sound) {
  sound.Begin();
  auto input = std::move(form.OnFrameInput);
  form.OnFrameInput = [input, &sound](auto& states) {
    if (input) input(states);
    sound.FrameInput(states);
  };
  auto end = std::move(form.OnFrameEnd);
  form.OnFrameEnd = [end, &sound] {
    if (end) end();
    sound.FrameEnd();
  };
}

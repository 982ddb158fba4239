// The run and demo commands' sound options: the flight's sound written as a WAV file.
#pragma once

// Adds "--audio FILE.wav" and "--volume V" to the run command's options (once, however often it
// is called): the sound of every frame run, at volume V (default that of a new game), goes into
// FILE.wav, which is put in place only when the run is done and fully written.
void AddSoundRunOptions();

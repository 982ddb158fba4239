// Demos in headless runs: the run command's --record option, and hooking a recorder or a player
// into the form's frames.
#pragma once

class TDemoPlayer;
class TDemoRecorder;
class TForm1;

// Adds "--record FILE" to the run command's options (once, however often it is called): the run
// is recorded as a demo into FILE. Refused with --ship, since a demo starts from the world its
// seed builds.
void AddDemoRunOptions();

// Chains a recorder or a player behind whatever already watches the form's frames: each sees the
// input states after the hooks attached before it.
void AttachRecorder(TForm1& form, TDemoRecorder& recorder);
void AttachPlayer(TForm1& form, TDemoPlayer& player);

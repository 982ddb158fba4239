// Demos in headless runs: the run command's --record option, and hooking a demo run into the
// form's frames.
#pragma once

class TDemoRun;
class TForm1;

// Adds "--record FILE" to the run command's options (once, however often it is called): the run
// is recorded as a demo into FILE. A FILE that is no place for a demo (a folder, a device, a
// FIFO, a socket) is refused as the options are read, before anything runs. Refused with --ship,
// since a demo starts from the world its seed builds.
void AddDemoRunOptions();

// Chains a demo run (a recording or a playback) behind whatever already watches the form's
// frames: it sees the input states after the hooks attached before it.
void AttachDemoRun(TForm1& form, TDemoRun& run);

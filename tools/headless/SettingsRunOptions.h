// The run and demo commands' settings option: the player's keys and joystick from a settings file.
#pragma once

// Adds "--settings FILE" to the run command's options (once, however often it is called): the
// keys and the joystick choice of the settings file FILE steer the run's ship, as in the game.
// Each fault of the file gets one line on stderr and its default; a joystick attached that the
// game does not read gets the game's hint. The file is only read.
void AddSettingsRunOptions();

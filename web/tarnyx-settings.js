// The settings panel on the page's card: the volume, mute, which gamepad steers and the keys of
// the four actions, kept as the game's settings text in the browser's local storage and read and
// written by the game's own code (tarnyx_settings_* in the program).
'use strict';

(() => {
  const STORE = 'tarnyx-settings';
  const ACTIONS = { thrust: 'thrust', turn_left: 'turn left', turn_right: 'turn right', fine_control: 'fine control' };
  // Keys the game or the page keeps for themselves, whatever an action is bound to: bound to an
  // action they would never steer.
  const OWN_KEYS = {
    KeyM: 'M turns the sound off or on', Equal: '= makes the sound louder',
    NumpadAdd: 'the keypad\'s + makes the sound louder', NumpadSubtract: 'the keypad\'s - makes the sound quieter',
    F9: 'F9 offers the flight as a demo', F12: 'F12 takes a screenshot', F5: 'F5 is the browser\'s',
    F11: 'F11 is the browser\'s',
  };
  const panel = document.getElementById('settings');
  const volume = document.getElementById('settings-volume');
  const volumeShown = document.getElementById('settings-volume-shown');
  const mute = document.getElementById('settings-mute');
  const gamepad = document.getElementById('settings-gamepad');
  const keyButtons = [...panel.querySelectorAll('button[data-action]')];
  const restore = document.getElementById('settings-defaults');
  const message = document.getElementById('settings-message');
  const hint = document.getElementById('settings-hint');
  let waiting = null;    // the action's button that waits for a key
  let swallowed = '';    // the code of the key taken for it, whose release is the panel's too

  const ready = () => typeof Module === 'object' && Module.calledRun;

  function say(text) {
    message.textContent = text;
    message.hidden = !text;
  }

  function state() {
    return JSON.parse(Module.ccall('tarnyx_settings_state', 'string', [], []));
  }

  // One setting as the file writes it; what the game refused is said on the panel.
  function set(name, value) {
    const refused = Module.ccall('tarnyx_settings_set', 'string', ['string', 'string'], [name, value]);
    say(refused ? `Not changed: ${refused}.` : '');
    show();
    return !refused;
  }

  function show() {
    if (!ready()) return;
    const s = state();
    volume.value = s.volume;
    volumeShown.textContent = `${s.volume} %`;
    mute.checked = s.mute === 'yes';
    gamepad.value = [...gamepad.options].some((o) => o.value === s.joystick) ? s.joystick : 'stored';
    for (const button of keyButtons) {
      if (button !== waiting) button.textContent = s[button.dataset.action] || 'none';
    }
    // The card's mute button says the same.
    if (typeof showSound === 'function') showSound(+s.volume, s.mute === 'yes');
  }

  function stopWaiting() {
    if (!waiting) return;
    waiting.classList.remove('waiting');
    waiting = null;
    show();
  }

  volume.addEventListener('input', () => { volumeShown.textContent = `${volume.value} %`; });
  volume.addEventListener('change', () => set('volume', volume.value));
  mute.addEventListener('change', () => set('mute', mute.checked ? 'yes' : 'no'));
  gamepad.addEventListener('change', () => set('joystick', gamepad.value));
  restore.addEventListener('click', () => {
    stopWaiting();
    Module.ccall('tarnyx_settings_defaults', null, [], []);
    say('Every setting is back to its default.');
    show();
  });

  for (const button of keyButtons) {
    button.addEventListener('click', () => {
      if (!ready()) return;
      const was = waiting;
      stopWaiting();
      if (was === button) return;
      waiting = button;
      button.classList.add('waiting');
      button.textContent = 'press a key (Escape cancels)';
      say('');
    });
  }

  // While an action waits, the next key is its own, not the game's nor the page's.
  window.addEventListener('keydown', (event) => {
    if (!waiting) return;
    event.preventDefault();
    event.stopImmediatePropagation();
    if (event.repeat) return;
    swallowed = event.code;
    const action = waiting.dataset.action;
    if (event.code === 'Escape') {
      stopWaiting();
      say('');
      return;
    }
    if (OWN_KEYS[event.code]) {
      say(`${OWN_KEYS[event.code]}, whatever else it is bound to: choose another key (Escape cancels).`);
      return;
    }
    const name = Module.ccall('tarnyx_key_name', 'string', ['string'], [event.code]);
    if (!name) {
      say(`The key ${event.code} cannot steer the ship: choose another (Escape cancels).`);
      return;
    }
    if (set(action, name)) stopWaiting();
    else waiting.textContent = 'press a key (Escape cancels)';
  }, { capture: true });
  window.addEventListener('keyup', (event) => {
    if (!waiting && event.code !== swallowed) return;
    if (event.code === swallowed) swallowed = '';
    event.preventDefault();
    event.stopImmediatePropagation();
  }, { capture: true });

  // The game's own hooks: the stored text before the program's main runs, the panel after each
  // change (the sound keys M, - and = change the volume too), and what the game says about them.
  const initialized = Module.onRuntimeInitialized;
  Module.onRuntimeInitialized = function () {
    let text = null;
    try {
      text = localStorage.getItem(STORE);
    } catch {
      say('This browser keeps no settings for the page: they last until it is closed.');
    }
    Module.ccall('tarnyx_settings_load', null, ['string'], [text]);
    panel.querySelectorAll('input, select, button').forEach((e) => { e.disabled = false; });
    if (initialized) initialized.call(this);
  };
  Module.postRun = [...(Module.postRun || []), show];
  Module.onSettingsChanged = show;
  Module.onSettingsSaid = (line) => {
    console.warn(line);
    say(line);
  };
  // A gamepad the game does not read: said once, on the card, with the setting that changes it.
  Module.onJoystickHint = (count, index) => {
    hint.textContent = `${count === 1 ? 'A gamepad is' : `${count} gamepads are`} connected, but the game ` +
        `reads gamepad ${index + 1}, which is not there. To steer with the first, choose ` +
        '"the first" under Gamepad in the settings below.';
    hint.hidden = false;
    console.warn(hint.textContent);
  };

  // For the page's tests: the settings as the game holds them, and the text kept.
  window.tarnyxSettings = {
    state: () => (ready() ? state() : null),
    stored: () => localStorage.getItem(STORE),
    actions: ACTIONS,
  };
})();

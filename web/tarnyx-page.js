// The page around the game: loads the program, runs its loop, feeds it the keyboard, gamepads,
// focus and visibility, scales the frame to the window, plays its sound, and offers full screen
// and screenshots.
'use strict';

const stage = document.getElementById('stage');
const frame = document.getElementById('frame');        // the game's frame, at its own size
const enlarged = document.getElementById('enlarged');  // the frame at a whole multiple, when wanted
const cover = document.getElementById('cover');
const playButton = document.getElementById('play');
const problem = document.getElementById('problem');

// What the page measures, for a player's curiosity and for the page's tests.
const stats = {
  loadedAt: 0,         // performance.now() when the program was ready
  firstFrameAt: 0,     // performance.now() of the first frame shown
  ticks: 0,
  tickMs: [],          // the time of each tick, the last 3000
  presentMs: [],       // of it, the present: the 8-to-32 conversion and the canvas put
};
window.tarnyxStats = stats;

function showProblem(text) {
  problem.textContent = text;
  problem.hidden = false;
  cover.hidden = false;
  playButton.hidden = true;
}

// A refusal the player can put away (a dropped file that is no demo): on the card, with the way
// back to the game, which waits behind it meanwhile.
let notice = false;

function showNotice(text) {
  problem.textContent = text;
  problem.hidden = false;
  notice = true;
  cover.hidden = false;
  playButton.hidden = false;
  if (playing) playButton.textContent = 'Click to continue';
  reportActivation();
}

// ---------------------------------------------------------------------------------------------
// The loop. The game's frame timer ticks once 20 whole milliseconds have passed since its last
// tick, and counts the next 20 from that tick, so a tick that comes late makes every later one
// late too. The page runs a step of the game's loop when the next tick is due: a timeout to the
// last whole millisecond before (timeouts count whole milliseconds, and come late by up to one),
// then steps passed as messages, which come at once, until the tick. Events get a step at once.
// (Driven by the display's refresh instead, a 60 Hz display would get a tick on every second
// refresh only: 30 a second.) A step that is not due does nothing but look at its messages.
// ---------------------------------------------------------------------------------------------

const channel = new MessageChannel();
let timeout = 0;
let stepQueued = false;
let ended = false;
let gamepadsPlugged = 0;

function queueStep() {
  if (stepQueued || ended) return;
  stepQueued = true;
  channel.port2.postMessage(0);
}

channel.port1.onmessage = () => {
  stepQueued = false;
  step();
};

function step() {
  clearTimeout(timeout);
  if (gamepadsPlugged > 0) readGamepads();
  const due = Module._tarnyx_step();
  if (due === -2) {
    ended = true;
    showProblem('The game has ended. Reload the page to fly again.');
    return;
  }
  if (due === -3) return;  // the demo has ended: the last frame stays
  if (due < 0) return;  // nothing ticks until an event comes
  const wait = due - performance.now();
  if (wait >= 2) timeout = setTimeout(step, Math.floor(wait) - 1);
  else queueStep();
}

// ---------------------------------------------------------------------------------------------
// The frame on the page: as the desktop does, enlarged by the largest whole multiple that fits
// (nearest neighbour), then scaled smoothly to the largest 4:3 rectangle that fits, centred.
// ---------------------------------------------------------------------------------------------

let multiple = 1;

function layOut() {
  const ratio = window.devicePixelRatio || 1;
  // The whole stage, or the part of it that the touch controls leave (tarnyx-touch.js).
  const area = (window.tarnyxFrameArea && window.tarnyxFrameArea()) ||
      { left: 0, top: 0, width: stage.clientWidth, height: stage.clientHeight };
  const outWidth = Math.max(1, Math.round(area.width * ratio));
  const outHeight = Math.max(1, Math.round(area.height * ratio));
  const w = frame.width, h = frame.height;
  let width, height;
  if (outWidth * h <= outHeight * w) {
    width = outWidth;
    height = Math.floor(outWidth * h / w);
  } else {
    height = outHeight;
    width = Math.floor(outHeight * w / h);
  }
  multiple = Math.max(1, Math.min(Math.floor(width / w), Math.floor(height / h)));
  const exact = width === multiple * w && height === multiple * h;
  const useEnlarged = !exact && multiple > 1;
  const shown = useEnlarged ? enlarged : frame;
  const hidden = useEnlarged ? frame : enlarged;
  if (useEnlarged) {
    enlarged.width = multiple * w;
    enlarged.height = multiple * h;
    drawEnlarged();
  }
  hidden.hidden = true;
  shown.hidden = false;
  shown.className = exact ? 'crisp' : 'smooth';
  Object.assign(shown.style, {
    left: `${area.left + (outWidth - width) / 2 / ratio}px`, top: `${area.top + (outHeight - height) / 2 / ratio}px`,
    width: `${width / ratio}px`, height: `${height / ratio}px`,
  });
  // Hidden, the game's canvas still gets the keys.
  if (useEnlarged) Object.assign(frame.style, { left: '0px', top: '0px', width: '1px', height: '1px' });
}

function drawEnlarged() {
  const context = enlarged.getContext('2d', { alpha: false });
  context.imageSmoothingEnabled = false;
  context.drawImage(frame, 0, 0, enlarged.width, enlarged.height);
}

window.addEventListener('resize', layOut);
document.addEventListener('fullscreenchange', layOut);

// ---------------------------------------------------------------------------------------------
// Keys, focus, visibility and gamepads.
// ---------------------------------------------------------------------------------------------

let playing = false;
const BROWSER_KEYS = new Set(['F5', 'F11']);
const DEMO_KEY = 'F9';  // the flight so far as a demo download

function sendKey(event, down) {
  if (!playing || ended || notice) return;
  if (event.code === DEMO_KEY) {
    if (down && !event.repeat) saveDemo();
    event.preventDefault();
    return;
  }
  const took = Module.ccall('tarnyx_key', 'number', ['string', 'number', 'number', 'number'],
                            [event.code, down ? 1 : 0, event.altKey ? 1 : 0, event.repeat ? 1 : 0]);
  // The game's keys do not scroll the page or open the browser's own functions, but the browser
  // keeps its shortcuts: with Ctrl or the system key held, reload (F5) and its full screen (F11).
  if (took && !event.ctrlKey && !event.metaKey && !BROWSER_KEYS.has(event.code)) event.preventDefault();
  queueStep();
}

// A key of the key map pressed or let go other than on the keyboard (the touch controls), by its
// KeyboardEvent.code: the keyboard's path, so the game and its demos take it as a key.
window.tarnyxKey = (code, down) => {
  if (!playing || ended || !Module.calledRun) return false;
  Module.ccall('tarnyx_key', 'number', ['string', 'number', 'number', 'number'], [code, down ? 1 : 0, 0, 0]);
  queueStep();
  return true;
};

window.addEventListener('keydown', (e) => sendKey(e, true));
window.addEventListener('keyup', (e) => sendKey(e, false));

// The game runs while the page is visible and has the focus. Browsers tell of the two by events
// in no fixed order, and the focus can come back with no event after the last one seen (the
// visibility change), so while the page is visible without the focus it looks again a few times
// a second, until the focus is back or the page is hidden (which is told).
let focusLook = 0;

function reportActivation() {
  const visible = document.visibilityState === 'visible';
  const focused = document.hasFocus();
  const active = visible && focused && !notice;
  // Once playing, the card says that the game waits while the page is in the background.
  if (playing && !ended && !demoOver) {
    playButton.textContent = 'Click to continue';
    cover.hidden = active;
  }
  clearTimeout(focusLook);
  if (visible && !focused && !ended) focusLook = setTimeout(reportActivation, 250);
  if (!Module.calledRun) return;
  Module._tarnyx_page_visible(visible ? 1 : 0);
  // A demo starts with the click, from its first frame; the live game runs behind the card,
  // unless the card holds a notice.
  Module._tarnyx_page_focused(focused && !notice && (playing || !demo) ? 1 : 0);
  queueStep();
}

document.addEventListener('visibilitychange', reportActivation);
window.addEventListener('focus', reportActivation);
window.addEventListener('blur', reportActivation);
window.addEventListener('pageshow', reportActivation);

window.addEventListener('gamepadconnected', () => {
  gamepadsPlugged += 1;
  if (Module.calledRun) Module._tarnyx_gamepad_plugged(1);
  queueStep();
});
window.addEventListener('gamepaddisconnected', () => {
  gamepadsPlugged = Math.max(0, gamepadsPlugged - 1);
  if (Module.calledRun) Module._tarnyx_gamepad_plugged(0);
  queueStep();
});

function readGamepads() {
  Module._tarnyx_gamepads_begin();
  for (const pad of navigator.getGamepads ? navigator.getGamepads() : []) {
    if (!pad || !pad.connected) continue;
    let pressed = 0;
    pad.buttons.forEach((b, i) => { if (i < 32 && b.pressed) pressed |= 1 << i; });
    const a = pad.axes;
    Module.ccall('tarnyx_gamepad_reading', null,
                 ['string', 'number', 'number', 'number', 'number', 'number', 'number', 'number'],
                 [pad.id, pad.mapping === 'standard' ? 1 : 0, a.length, a[0] || 0, a[1] || 0,
                  a[2] || 0, pad.buttons.length, pressed >>> 0]);
  }
  Module._tarnyx_gamepads_end();
}

// ---------------------------------------------------------------------------------------------
// What the game asks of the page.
// ---------------------------------------------------------------------------------------------

function toggleFullScreen() {
  if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
  else if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
}

function download(blob, name) {
  const link = document.createElement('a');
  link.href = URL.createObjectURL(blob);
  link.download = name;
  document.body.appendChild(link);
  link.click();
  link.remove();
  setTimeout(() => URL.revokeObjectURL(link.href), 10000);
}

function saveScreenshot(name) {
  frame.toBlob((blob) => { if (blob) download(blob, name); }, 'image/png');
}

// ---------------------------------------------------------------------------------------------
// Sound. The game hands over 960 samples (48 kHz, 16-bit) after each frame; they are played
// through Web Audio: an AudioWorklet where the browser has one, else a ScriptProcessorNode, both
// over the same queue (tarnyx-sound-worklet.js). Browsers keep audio suspended until the player
// clicks, taps or presses a key, so the first of those starts it; until then the frames are
// dropped. While the page is hidden the game stands still and the audio is suspended. The mute
// button on the card does what the M key does.
// ---------------------------------------------------------------------------------------------

const muteButton = document.getElementById('mute');
const sound = {
  context: null,
  node: null,      // the worklet's node, once its module has loaded
  queue: null,     // the fallback's queue
  analyser: null,  // what the output is, for the page's tests
  kind: '',        // 'worklet' or 'script'
};

function startSound() {
  if (sound.context) {
    if (sound.context.state === 'suspended' && document.visibilityState === 'visible') sound.context.resume().catch(() => {});
    return;
  }
  const Context = window.AudioContext || window.webkitAudioContext;
  if (!Context) return;
  let context;
  try {
    context = new Context({ sampleRate: 48000, latencyHint: 'interactive' });
  } catch {
    try {
      context = new Context();  // a browser that will not run at 48 kHz: the queue resamples
    } catch {
      return;
    }
  }
  sound.context = context;
  sound.analyser = context.createAnalyser();
  sound.analyser.fftSize = 2048;
  sound.analyser.connect(context.destination);
  const fallBack = () => {
    const node = context.createScriptProcessor(1024, 0, 1);
    sound.queue = new TarnyxSoundQueue(context.sampleRate);
    node.onaudioprocess = (event) => sound.queue.pull(event.outputBuffer.getChannelData(0));
    node.connect(sound.analyser);
    sound.kind = 'script';
  };
  if (context.audioWorklet && typeof AudioWorkletNode === 'function') {
    context.audioWorklet.addModule('tarnyx-sound-worklet.js').then(() => {
      sound.node = new AudioWorkletNode(context, 'tarnyx-sound', { numberOfInputs: 0, outputChannelCount: [1] });
      sound.node.connect(sound.analyser);
      sound.kind = 'worklet';
    }).catch(fallBack);
  } else {
    fallBack();
  }
  context.resume().catch(() => {});
}

function playSound(samples) {
  if (!sound.context || sound.context.state !== 'running') return;
  if (sound.node) sound.node.port.postMessage(samples.slice());
  else if (sound.queue) sound.queue.push(samples);
}

function showSound(volume, muted) {
  muteButton.textContent = muted ? 'Sound: off' : `Sound: on (${volume} %)`;
  muteButton.setAttribute('aria-pressed', muted ? 'true' : 'false');
}

function soundControl(request) {
  if (!Module.calledRun) return;
  const state = Module._tarnyx_sound_control(request);
  showSound(state % 1000, state >= 1000);
}

muteButton.addEventListener('click', () => {
  startSound();
  soundControl(1);
  // The keys stay with the game.
  if (playing) frame.focus();
});

document.addEventListener('visibilitychange', () => {
  if (!sound.context) return;
  if (document.visibilityState === 'visible') sound.context.resume().catch(() => {});
  else sound.context.suspend().catch(() => {});
});
// Any of the first gestures starts the audio; some browsers allow it only as a touch ends. The
// touch controls call it from their own handlers too.
for (const type of ['pointerdown', 'pointerup', 'touchstart', 'touchend', 'keydown'])
  window.addEventListener(type, startSound, { capture: true, passive: true });
window.tarnyxAudioStart = startSound;

// The loudest sample the page's output has had over its last 2048 samples (43 ms), 0..1: a
// test's look at what is heard.
window.tarnyxSound = {
  level() {
    if (!sound.analyser) return 0;
    const data = new Float32Array(sound.analyser.fftSize);
    sound.analyser.getFloatTimeDomainData(data);
    return data.reduce((m, v) => Math.max(m, Math.abs(v)), 0);
  },
  state: () => (sound.context ? sound.context.state : 'none'),
  kind: () => sound.kind,
};

// ---------------------------------------------------------------------------------------------
// Demos. Every flight is recorded from its first frame: the demo key offers the flight so far as
// a demo file, and the flight goes on. A demo plays from ?demo=URL (relative to the page) or from
// a file dropped on the page, which reloads the page with it, so that the demo's world is made
// by a fresh game; ?timedemo=URL plays it as fast as it goes and says how fast that was.
// ---------------------------------------------------------------------------------------------

const DROPPED_DEMO = 'tarnyx-dropped-demo';
const MAX_DROPPED_BYTES = 2 << 20;  // what the page's session storage holds for certain
const MAX_DEMO_BYTES = 64 << 20;    // no demo is larger: the game refuses larger files unread
const DEMO_MAGIC = [0x54, 0x4e, 0x58, 0x44, 0x45, 0x4d, 0x4f, 0x1a];  // "TNXDEMO" and 0x1A
const TOO_LARGE = 'larger than 64 MiB: not a demo';
let demo = null;  // { name, bytes: Uint8Array | null, fetching: Promise | null, fast }

const two = (n) => String(n).padStart(2, '0');

function saveDemo() {
  if (!Module.calledRun || demo) return;
  const size = Module._tarnyx_demo_take();
  if (size <= 0) return;
  const at = Module._tarnyx_demo_bytes();
  const bytes = Module.HEAPU8.slice(at, at + size);
  const t = new Date();
  download(new Blob([bytes], { type: 'application/octet-stream' }),
           `tarnyx-${t.getFullYear()}${two(t.getMonth() + 1)}${two(t.getDate())}-` +
           `${two(t.getHours())}${two(t.getMinutes())}${two(t.getSeconds())}.tnxdemo`);
}

function toBase64(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(text);
}

function fromBase64(text) {
  const raw = atob(text);
  const bytes = new Uint8Array(raw.length);
  for (let i = 0; i < raw.length; ++i) bytes[i] = raw.charCodeAt(i);
  return bytes;
}

document.addEventListener('dragover', (event) => {
  event.preventDefault();
  event.dataTransfer.dropEffect = 'copy';
});

// Why bytes are no demo the game plays ("" when they are): the game's own reader says, once it
// runs; before, the magic decides and the game looks at the rest when it starts.
function demoRefusal(bytes) {
  if (bytes.length > MAX_DEMO_BYTES) return TOO_LARGE;
  if (Module.calledRun) {
    const at = Module._malloc(Math.max(1, bytes.length));
    Module.HEAPU8.set(bytes, at);
    const refused = Module.ccall('tarnyx_demo_check', 'string', ['number', 'number'], [at, bytes.length]);
    Module._free(at);
    return refused;
  }
  if (bytes.length === 0) return 'not a demo: the file is empty';
  return DEMO_MAGIC.every((b, i) => i >= bytes.length || bytes[i] === b) ? '' : 'not a demo';
}

// A dropped file that will not play is refused on the card, and the game goes on after it: the
// page starts anew only for a demo.
document.addEventListener('drop', async (event) => {
  event.preventDefault();
  const file = event.dataTransfer.files[0];
  if (!file) return;
  if (file.size > MAX_DEMO_BYTES) {
    showNotice(`The demo ${file.name} cannot be played: ${TOO_LARGE}.`);
    return;
  }
  if (file.size > MAX_DROPPED_BYTES) {
    showNotice(`${file.name} is too large to drop on the page (${file.size} bytes; at most ` +
               `${MAX_DROPPED_BYTES}). Put it beside the page and open the page with ?demo=${file.name}`);
    return;
  }
  try {
    const bytes = new Uint8Array(await file.arrayBuffer());
    const refused = demoRefusal(bytes);
    if (refused) {
      showNotice(`The demo ${file.name} cannot be played: ${refused}.`);
      return;
    }
    sessionStorage.setItem(DROPPED_DEMO, JSON.stringify({ name: file.name, data: toBase64(bytes) }));
  } catch (e) {
    showNotice(`${file.name} cannot be read: ${e.message}`);
    return;
  }
  // The page again, without a demo or a seed of its address: the dropped demo decides.
  const address = new URL(location.href);
  for (const name of ['demo', 'timedemo', 'seed']) address.searchParams.delete(name);
  location.replace(address.href);
});

// Before the program runs: the dropped demo the page was reloaded with, else ?demo=URL.
function findDemo(address, fast) {
  const dropped = sessionStorage.getItem(DROPPED_DEMO);
  if (dropped !== null) {
    sessionStorage.removeItem(DROPPED_DEMO);
    try {
      const { name, data } = JSON.parse(dropped);
      return { name, bytes: fromBase64(data), fetching: null, fast: false };
    } catch {
      return null;
    }
  }
  // ?demo= with nothing after it names no demo.
  if (address === null || address === '') return null;
  const url = new URL(address, location.href);
  const name = decodeURIComponent(url.pathname.split('/').pop() || address);
  const found = { name, bytes: null, fetching: null, fast };
  const tooLarge = `The demo ${name} cannot be played: ${TOO_LARGE}.`;
  // Resolves with null, or with what went wrong. No more than a demo's limit is read: a file
  // that says it is larger is refused unread, one that does not say is refused once past it.
  found.fetching = fetch(url).then(async (response) => {
    if (!response.ok) throw new Error(`${response.status} ${response.statusText}`);
    const length = Number(response.headers.get('Content-Length'));
    if (length > MAX_DEMO_BYTES) {
      response.body.cancel().catch(() => {});
      return tooLarge;
    }
    const pieces = [];
    let size = 0;
    const reader = response.body.getReader();
    for (;;) {
      const { done, value } = await reader.read();
      if (done) break;
      size += value.length;
      if (size > MAX_DEMO_BYTES) {
        reader.cancel().catch(() => {});
        return tooLarge;
      }
      pieces.push(value);
    }
    found.bytes = new Uint8Array(size);
    let at = 0;
    for (const piece of pieces) {
      found.bytes.set(piece, at);
      at += piece.length;
    }
    return null;
  }).catch((e) => `The demo ${address} could not be fetched: ${e.message}`);
  return found;
}

function startDemo() {
  const bytes = demo.bytes;
  const at = Module._malloc(Math.max(1, bytes.length));
  Module.HEAPU8.set(bytes, at);
  const refused = Module.ccall('tarnyx_demo_play', 'string', ['number', 'number', 'number', 'string'],
                               [at, bytes.length, demo.fast ? 1 : 0, demo.name]);
  Module._free(at);
  if (refused) {
    showProblem(`The demo ${demo.name} cannot be played: ${refused}.`);
    return false;
  }
  document.getElementById('demo-name').textContent = `Demo: ${demo.name}`;
  return true;
}

function demoEnded(summary, desyncFrame, seconds, notes) {
  stats.demoEnded = { summary, desyncFrame, seconds, notes };
  const ending = document.getElementById('demo-ending');
  const frames = Number(summary.split(' ')[0]);
  ending.textContent = `The demo has ended: ${summary}.` +
      (desyncFrame ? ` It drifted from its recording at frame ${desyncFrame}.` : '') +
      (demo.fast ? ` Played in ${seconds.toFixed(2)} seconds, ${(frames / seconds).toFixed(1)} frames a second.` : '') +
      (notes ? ` ${notes.trim()}` : '');
  ending.hidden = false;
  playButton.textContent = 'Fly yourself';
  playButton.hidden = false;
  cover.hidden = false;
  demoOver = true;
}
let demoOver = false;

// ---------------------------------------------------------------------------------------------
// Start.
// ---------------------------------------------------------------------------------------------

function play() {
  if (notice) {
    notice = false;
    problem.hidden = true;
  }
  if (demoOver) {
    const address = new URL(location.href);
    address.searchParams.delete('demo');
    address.searchParams.delete('timedemo');
    location.replace(address.href);
    return;
  }
  playing = true;
  cover.hidden = true;
  frame.focus();
  reportActivation();
}

playButton.addEventListener('click', play);

var Module = {
  canvas: frame,
  print: (text) => console.log(text),
  printErr: (text) => console.warn(text),
  onCanvasResized: layOut,
  onFramePresented(changed) {
    if (!stats.firstFrameAt) stats.firstFrameAt = performance.now();
    if (changed && !enlarged.hidden) drawEnlarged();
  },
  onTick(tickMs, presentMs) {
    stats.ticks += 1;
    stats.tickMs.push(tickMs);
    stats.presentMs.push(presentMs);
    if (stats.tickMs.length > 3000) {
      stats.tickMs.shift();
      stats.presentMs.shift();
    }
  },
  onSound: playSound,
  onSoundChanged: showSound,
  onFailure: showProblem,
  onDemoEnded: demoEnded,
  onAbort: (what) => showProblem(`Tarnyx stopped: ${what}`),
  toggleFullScreen,
  saveScreenshot,
  // A demo given in the address is fetched before the program runs.
  preRun: [() => {
    if (!demo || !demo.fetching) return;
    Module.addRunDependency('demo');
    demo.fetching.then((failure) => {
      if (failure) {
        demo = null;
        showProblem(failure);
      }
      Module.removeRunDependency('demo');
    });
  }],
  onRuntimeInitialized() {
    stats.loadedAt = performance.now();
    if (demo && !startDemo()) return;
    if (seed !== null && !demo) Module._tarnyx_seed(seed);
    soundControl(0);
    muteButton.disabled = false;
    playButton.disabled = false;
    playButton.textContent = demo ? 'Click to play the demo' : 'Click to play';
    playButton.focus();
  },
  // main has run: the game's window is open; it learns where the page stands and starts.
  postRun: [() => {
    layOut();
    reportActivation();
    step();
  }],
};

// The smallest module that uses WebAssembly's 16-byte vectors (one i8x16 operation): a browser
// that cannot validate it cannot run the game.
const SIMD_PROBE = new Uint8Array([0, 97, 115, 109, 1, 0, 0, 0, 1, 5, 1, 96, 0, 1, 123, 3, 2, 1, 0, 10,
                                   10, 1, 8, 0, 65, 0, 253, 15, 253, 98, 11]);

// ?seed=N: the world that starting at N ms past midnight UTC makes (0 to 86399999), as the
// headless tool's --seed; without it, the clock's.
const params = new URLSearchParams(location.search);
demo = params.has('timedemo') ? findDemo(params.get('timedemo'), true) : findDemo(params.get('demo'), false);
const seedText = params.get('seed');
const seed = seedText === null ? null : /^\d{1,8}$/.test(seedText) && +seedText < 86400000 ? +seedText : NaN;

if (Number.isNaN(seed)) {
  showProblem(`The seed "${seedText}" is not a whole number from 0 to 86399999 (the milliseconds ` +
              'past midnight UTC that the world is made from).');
} else if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function' ||
           !WebAssembly.validate(SIMD_PROBE)) {
  showProblem('This browser cannot run WebAssembly with its 16-byte vectors, which Tarnyx needs. ' +
              'A current Firefox, Chrome, Edge or Safari can.');
} else if (location.protocol === 'file:') {
  showProblem('Browsers do not run WebAssembly from a file opened directly. Serve this folder ' +
              'with a web server, for example: python3 -m http.server, then open http://127.0.0.1:8000/');
} else {
  const script = document.createElement('script');
  script.src = 'tarnyx.js';
  script.onerror = () => showProblem('The game could not be loaded (tarnyx.js is missing).');
  document.body.appendChild(script);
}

// The page on phones and tablets: thumb-sized controls that press the game's keys, the frame laid
// out for a small screen held either way, a start by tap and a full-screen button on the card.
//
// Touch mode starts on a device whose main pointer is coarse, or at the first touch; until then
// the page is the desktop's, untouched. The controls press the keys of the key map (ArrowLeft,
// ArrowRight, ArrowUp, ShiftLeft) through the page's tarnyxKey, the keyboard's own path, so the
// game and its demos cannot tell them from keys. Every touch that may begin the page's sound calls
// window.tarnyxAudioStart when the sound defines it (on pointerup too: browsers let a page start
// audio on a touch's end, not its start).
'use strict';

(() => {
  const root = document.documentElement;
  const stage = document.getElementById('stage');
  const cover = document.getElementById('cover');
  const playButton = document.getElementById('play');

  // Fine control is a toggle: both thumbs are busy turning and thrusting, and a third finger held
  // down would hide the frame; switched on, it stays on until tapped again.
  const CONTROLS = [
    { side: 'turn', code: 'ArrowLeft', label: '\u25C0', name: 'Turn left' },
    { side: 'turn', code: 'ArrowRight', label: '\u25B6', name: 'Turn right' },
    { side: 'thrust', code: 'ShiftLeft', label: 'Fine', name: 'Fine control (on or off)', toggle: true },
    { side: 'thrust', code: 'ArrowUp', label: '\u25B2', name: 'Thrust', big: true },
  ];
  // A control's side in CSS pixels (a thumb's pad is about 45 to 57): as large as the room
  // beside or beneath the frame allows, within these.
  const LARGEST = 84, SMALLEST = 56;
  const GAP = 10;  // between controls, and around them
  const MIN_SIDE = 72 + 2 * GAP;  // the narrowest side column beside the frame
  const MIN_BELOW = Math.round(72 * 1.5) + 2 * GAP;  // the lowest row beneath it (thrust is tall)

  let on = false;
  const panels = {};     // side -> its element
  const fingers = new Map();  // pointerId -> the control it holds (null: none, it slid off)
  const held = new Map();     // code -> how many fingers hold its control
  let fine = null;       // the fine control's element
  let fineOn = false;
  let frameArea = null;  // where the frame goes, in CSS pixels within the stage

  const audioStart = () => {
    if (typeof window.tarnyxAudioStart === 'function') window.tarnyxAudioStart();
  };

  function sendKey(code, down) {
    if (typeof window.tarnyxKey === 'function') window.tarnyxKey(code, down);
  }

  function press(control) {
    const code = control.dataset.code;
    const count = (held.get(code) || 0) + 1;
    held.set(code, count);
    if (count === 1) {
      control.classList.add('held');
      sendKey(code, true);
    }
  }

  function release(control) {
    const code = control.dataset.code;
    const count = Math.max(0, (held.get(code) || 0) - 1);
    held.set(code, count);
    if (count === 0) {
      control.classList.remove('held');
      sendKey(code, false);
    }
  }

  function setFine(value) {
    if (!fine || fineOn === value) return;
    fineOn = value;
    fine.setAttribute('aria-pressed', value ? 'true' : 'false');
    sendKey(fine.dataset.code, value);
  }

  // Every finger lets go and fine control goes off: the game hears of no release while the page
  // is in the background, and its keys count as let go there.
  function releaseAll() {
    for (const control of fingers.values()) if (control) release(control);
    fingers.clear();
    setFine(false);
  }

  const controlAt = (x, y) => {
    const element = document.elementFromPoint(x, y);
    const control = element && element.closest('.touch-control');
    return control && !control.dataset.toggle ? control : null;
  };

  function makeControls() {
    for (const side of ['turn', 'thrust']) {
      const panel = document.createElement('div');
      panel.className = `touch-panel touch-${side}`;
      panels[side] = panel;
      stage.insertBefore(panel, cover);  // beneath the card
    }
    for (const c of CONTROLS) {
      const control = document.createElement('div');
      control.className = `touch-control${c.big ? ' big' : ''}`;
      control.dataset.code = c.code;
      control.textContent = c.label;
      control.setAttribute('role', 'button');
      control.setAttribute('aria-label', c.name);
      if (c.toggle) {
        control.dataset.toggle = '1';
        control.setAttribute('aria-pressed', 'false');
        fine = control;
      }
      panels[c.side].appendChild(control);
    }
    stage.addEventListener('pointerdown', (event) => {
      const control = event.target.closest && event.target.closest('.touch-control');
      if (!control) return;
      event.preventDefault();
      audioStart();
      if (control.dataset.toggle) {
        setFine(!fineOn);  // the finger holds nothing, even sliding on
      } else {
        fingers.set(event.pointerId, control);
        press(control);
      }
    });
    // The finger holds whatever control is under it: sliding off lets go, sliding from one turn
    // to the other turns the other way.
    window.addEventListener('pointermove', (event) => {
      if (!fingers.has(event.pointerId)) return;
      const was = fingers.get(event.pointerId);
      const now = controlAt(event.clientX, event.clientY);
      if (now === was) return;
      if (was) release(was);
      if (now) press(now);
      fingers.set(event.pointerId, now);
    });
    const lift = (event) => {
      if (!fingers.has(event.pointerId)) return;
      const was = fingers.get(event.pointerId);
      fingers.delete(event.pointerId);
      if (was) release(was);
    };
    window.addEventListener('pointerup', lift);
    window.addEventListener('pointercancel', lift);
  }

  // The safe area's insets (the notch, the rounded corners, the home bar), in CSS pixels.
  let probe = null;
  function safeInsets() {
    if (!probe) {
      probe = document.createElement('div');
      probe.className = 'touch-safe-probe';
      document.body.appendChild(probe);
    }
    const style = getComputedStyle(probe);
    const px = (side) => parseFloat(style[`padding${side}`]) || 0;
    return { top: px('Top'), right: px('Right'), bottom: px('Bottom'), left: px('Left') };
  }

  const place = (element, left, top, width, height) => Object.assign(element.style, {
    left: `${left}px`, top: `${top}px`, width: `${Math.max(0, width)}px`, height: `${Math.max(0, height)}px`,
  });

  // Held sideways, the frame takes the whole height between the two columns of controls, turning
  // under the left thumb and thrust under the right; held upright, it takes the whole width and
  // the controls sit beneath it, in the same order. The frame shrinks only where the controls
  // would not fit at their size otherwise.
  function arrange() {
    const W = stage.clientWidth, H = stage.clientHeight;
    let size;
    const safe = safeInsets();
    const x0 = safe.left, y0 = safe.top, x1 = W - safe.right, y1 = H - safe.bottom;
    const w = Math.max(1, x1 - x0), h = Math.max(1, y1 - y0);
    if (w > h) {
      let frameW = Math.min(h * 4 / 3, w - 2 * MIN_SIDE);
      frameW = Math.max(frameW, 1);
      const frameH = Math.min(h, frameW * 3 / 4);
      const side = (w - frameW) / 2;
      frameArea = { left: x0 + side, top: y0 + (h - frameH) / 2, width: frameW, height: frameH };
      place(panels.turn, x0, y0, side, h);
      place(panels.thrust, x1 - side, y0, side, h);
      // Two turns abreast where the column is wide enough, else one above the other.
      const abreast = Math.floor((side - 3 * GAP) / 2);
      const stacked = abreast < SMALLEST;
      size = Math.min(LARGEST, stacked ? side - 2 * GAP : abreast, Math.floor((h - 3 * GAP) / 2.5));
      panels.turn.classList.toggle('stacked', stacked);
      root.classList.add('touch-landscape');
      root.classList.remove('touch-portrait');
    } else {
      const frameH = Math.max(1, Math.min(w * 3 / 4, h - MIN_BELOW));
      const frameW = frameH * 4 / 3;
      frameArea = { left: x0 + (w - frameW) / 2, top: y0, width: frameW, height: frameH };
      const below = y0 + frameH;
      place(panels.turn, x0, below, w / 2, y1 - below);
      place(panels.thrust, x0 + w / 2, below, w / 2, y1 - below);
      size = Math.min(LARGEST, Math.floor((w / 2 - 3 * GAP) / 2), Math.floor((y1 - below - 2 * GAP) / 1.5));
      panels.turn.classList.remove('stacked');
      root.classList.add('touch-portrait');
      root.classList.remove('touch-landscape');
    }
    root.style.setProperty('--touch-size', `${Math.max(SMALLEST, size)}px`);
    return frameArea;
  }

  // The card for fingers: "Tap" where it says "Click", what the controls do instead of the
  // keyboard's keys, a tap beside the card starts as the button does, and full screen where
  // the browser allows a page to have it (iPhones do not: there the page added to the home
  // screen opens without the browser's bars).
  function adaptCard() {
    const say = () => {
      if (playButton.textContent.startsWith('Click')) playButton.textContent = playButton.textContent.replace(/^Click/, 'Tap');
    };
    new MutationObserver(say).observe(playButton, { childList: true, characterData: true, subtree: true });
    say();
    const help = document.createElement('p');
    help.className = 'touch-help';
    help.textContent = '\u25C0 \u25B6 turn, \u25B2 thrust, Fine switches fine control on and off. ' +
        'Added to the home screen, Tarnyx starts full screen and plays offline.';
    const keys = document.querySelector('.card .keys');
    if (keys) keys.before(help);
    else playButton.after(help);
    const canFullScreen = document.fullscreenEnabled && stage.requestFullscreen;
    if (canFullScreen) {
      const button = document.createElement('button');
      button.type = 'button';
      button.id = 'fullscreen';
      const label = () => { button.textContent = document.fullscreenElement ? 'Leave full screen' : 'Full screen'; };
      label();
      document.addEventListener('fullscreenchange', label);
      button.addEventListener('click', () => {
        audioStart();
        if (document.fullscreenElement) document.exitFullscreen().catch(() => {});
        else stage.requestFullscreen({ navigationUI: 'hide' }).catch(() => {});
      });
      playButton.after(button);
    }
    cover.addEventListener('click', (event) => {
      if (event.target !== cover) return;  // on the card itself only its buttons act
      audioStart();
      if (!playButton.hidden && !playButton.disabled) playButton.click();
    });
    window.addEventListener('pointerup', audioStart);
  }

  function start() {
    if (on) return;
    on = true;
    root.classList.add('touch');
    makeControls();
    adaptCard();
    // The page's frame layout asks where the frame goes.
    window.tarnyxFrameArea = arrange;
    stage.addEventListener('contextmenu', (event) => event.preventDefault());
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState !== 'visible') releaseAll();
    });
    window.addEventListener('blur', releaseAll);
    window.addEventListener('pagehide', releaseAll);
    window.dispatchEvent(new Event('resize'));
  }

  const coarse = window.matchMedia ? window.matchMedia('(pointer: coarse)') : null;
  if (coarse && coarse.matches) start();
  else {
    if (coarse && coarse.addEventListener) coarse.addEventListener('change', () => { if (coarse.matches) start(); });
    // The first touch: on its own it acts as a click would (the card's button, say).
    window.addEventListener('pointerdown', (event) => { if (event.pointerType === 'touch') start(); }, true);
    window.addEventListener('touchstart', start, { capture: true, passive: true });
  }
  // What the page's tests read.
  window.tarnyxTouch = { active: () => on, held: () => [...held].filter(([, n]) => n > 0).map(([c]) => c),
                         fine: () => fineOn };
})();

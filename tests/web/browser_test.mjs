// The game in a real browser: the built page served from 127.0.0.1 in headless Chromium, driven
// over the DevTools protocol. Prints one line per check, then "N passed, N failed", and exits
// non-zero on any failure.
//
// Usage: node tests/web/browser_test.mjs SITE_DIR NATIVE_TOOL [SHOTS_DIR]
// NATIVE_TOOL is the native tarnyx-headless, which says what the page must show; SHOTS_DIR
// receives screenshots of the page as a player sees it.
import { execFileSync } from 'node:child_process';
import { mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

import { click, closeSite, openSite, sleep, until } from './site.mjs';

const [siteDir, nativeTool, shotsDir] = process.argv.slice(2);
if (!siteDir || !nativeTool) {
  console.error('usage: browser_test.mjs SITE_DIR NATIVE_TOOL [SHOTS_DIR]');
  process.exit(2);
}
const native = (...args) => execFileSync(nativeTool, args, { encoding: 'utf8', maxBuffer: 1 << 26,
                                                              stdio: ['ignore', 'pipe', 'pipe'] });
// The committed demos, served beside the page under /test-demos/.
const demosDir = fileURLToPath(new URL('../demos/', import.meta.url));
// Demos cut short, made by the test, under /test-scratch/.
const scratchDir = mkdtempSync(join(tmpdir(), 'tarnyx-demos-'));
const crashDemo = readFileSync(join(demosDir, 'crash.tnxdemo'));
writeFileSync(join(scratchDir, 'cut.tnxdemo'), crashDemo.subarray(0, 300));
writeFileSync(join(scratchDir, 'header.tnxdemo'), crashDemo.subarray(0, 19 + crashDemo[18]));
// Demos too large to be demos, served without reading a file: one declares its length (a GiB);
// the other comes in pieces without one, and would go on past 64 MiB. Both stop when the page
// stops reading.
function hugeDemo(request, response) {
  const declared = request.url.includes('declared');
  response.writeHead(200, { 'Content-Type': 'application/octet-stream', 'Cache-Control': 'no-store',
                            'Cross-Origin-Resource-Policy': 'same-origin',
                            ...(declared ? { 'Content-Length': String(1 << 30) } : {}) });
  const piece = Buffer.alloc(1 << 20);
  Buffer.from('TNXDEMO\x1a', 'latin1').copy(piece);
  let sent = 0;
  const more = () => {
    while (sent < (declared ? 1 << 30 : 80 << 20) && !response.destroyed) {
      sent += piece.length;
      if (!response.write(piece)) return response.once('drain', more);
    }
    response.end();
    return undefined;
  };
  response.on('error', () => {});
  more();
}
const MOUNTS = { '/test-demos/': demosDir, '/test-scratch/': scratchDir, '/test-huge/': hugeDemo };
// The native tool's output, whatever its exit status.
const nativeOutput = (...args) => {
  try {
    return native(...args);
  } catch (e) {
    return e.stdout;
  }
};

let passed = 0, failed = 0;
function check(name, ok, detail = '') {
  if (ok) passed += 1;
  else failed += 1;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
}

// Runs in the page: the frame on the canvas and the world's state, taken at the same moment (no
// tick can come between two statements of one task), summed up the way the headless tool's
// frame check sums up a frame.
function lookAtFrame() {
  const W = 1024, H = 768, DOT = 11, RADAR_SCALE = 20;
  const canvas = document.getElementById('frame');
  const pixels = canvas.getContext('2d').getImageData(0, 0, W, H).data;
  const state = JSON.parse(Module.ccall('tarnyx_state', 'string', [], []));
  const at = (x, y) => (y * W + x) * 4;
  const lit = (x0, y0, x1, y1) => {
    let n = 0;
    for (let y = Math.max(y0, 0); y < Math.min(y1, H); ++y)
      for (let x = Math.max(x0, 0); x < Math.min(x1, W); ++x) {
        const i = at(x, y);
        if (pixels[i] || pixels[i + 1] || pixels[i + 2]) n += 1;
      }
    return n;
  };
  // Halves to even, as the game rounds.
  const round = (v) => {
    const f = Math.floor(v), d = v - f;
    return d > 0.5 || (d === 0.5 && f % 2 !== 0) ? f + 1 : f;
  };
  const inText = (x, y) => (x < 260 && y < 80) || y >= 748;
  const player = state.Player;
  const dots = state.Planets.map((p) => [round((p.X - player.X) / RADAR_SCALE + 512),
                                         round((p.Y - player.Y) / RADAR_SCALE + 384)]);
  const covered = (x, y) => (x >= 497 && x < 527 && y >= 369 && y < 399) ||
      dots.some(([dx, dy]) => x >= dx && x < dx + DOT && y >= dy && y < dy + DOT);
  const onScreen = dots.filter(([x, y]) => x >= 0 && x + DOT <= W && y >= 0 && y + DOT <= H);
  let stars = 0, whiteStars = 0;
  for (const s of state.Stars) {
    const x = round(s.X), y = round(s.Y);
    if (x < 0 || y < 0 || x >= W || y >= H || covered(x, y) || inText(x, y)) continue;
    stars += 1;
    const i = at(x, y);
    if (pixels[i] === 255 && pixels[i + 1] === 255 && pixels[i + 2] === 255) whiteStars += 1;
  }
  let centre = 0;
  for (let y = 369; y < 399; ++y)
    for (let x = 497; x < 527; ++x) centre = (centre * 31 + pixels[at(x, y)] + pixels[at(x, y) + 1] * 7) >>> 0;
  let speedBox = 0;
  for (let y = 40; y < 58; ++y)
    for (let x = 0; x < 200; ++x) speedBox = (speedBox * 31 + pixels[at(x, y)]) >>> 0;
  return {
    stars, whiteStars, dotsOnScreen: onScreen.length,
    dotsLit: onScreen.filter(([x, y]) => lit(x, y, x + DOT, y + DOT) >= 20).length,
    readouts: [lit(0, 0, 60, 18), lit(0, 40, 200, 58), lit(0, 60, 200, 78)],
    shipLit: lit(497, 369, 527, 399), centre, speedBox,
    heading: player.Heading, speed: Math.hypot(player.VX, player.VY), speedText: state.SpeedText,
    ticks: state.Ticks, currentPlanet: state.CurrentPlanet,
  };
}
const look = (page) => page.evaluate(`(${lookAtFrame.toString()})()`);

// Ticks a second over the next ms milliseconds, timed by the page's own clock.
async function tickRate(page, ms) {
  const read = () => page.evaluate('[tarnyxStats.ticks, performance.now()]');
  const [t0, s0] = await read();
  await sleep(ms);
  const [t1, s1] = await read();
  return (t1 - t0) * 1000 / (s1 - s0);
}

const KEYS = { ArrowUp: 38, ArrowLeft: 37, Enter: 13, F9: 120, F12: 123, KeyM: 77, KeyW: 87, Escape: 27 };
const ALT = 1;  // the protocol's modifier bit
async function holdKey(page, code, ms, modifiers = 0) {
  const send = (type) => page.send('Input.dispatchKeyEvent', {
    type, code, key: code, windowsVirtualKeyCode: KEYS[code],
    nativeVirtualKeyCode: KEYS[code], modifiers,
  });
  await send('rawKeyDown');
  await sleep(ms);
  await send('keyUp');
}

async function shoot(page, name) {
  if (!shotsDir) return;
  mkdirSync(shotsDir, { recursive: true });
  writeFileSync(resolve(shotsDir, name), await page.screenshot());
}

// The world of a fixed seed, the one the headless tool's tests fly in: the ship starts at rest,
// away from every planet.
const SEED = 45296789;
const site = await openSite(resolve(siteDir), `?seed=${SEED}`, MOUNTS);
const { page, browser } = site;
try {
  const loaded = await page.evaluate('[tarnyxStats.loadedAt, tarnyxStats.firstFrameAt]');
  check('the page loads and shows its first frame', loaded[1] > 0,
        `program ready at ${loaded[0].toFixed(0)} ms, first frame at ${loaded[1].toFixed(0)} ms`);
  check('the page offers a start by click', await page.evaluate(
      "!document.getElementById('cover').hidden && document.getElementById('play').textContent === 'Click to play'"));
  await shoot(page, 'page-start.png');

  await click(page, '#play');
  await until(page, "document.getElementById('cover').hidden", 5000, 'the start');
  await sleep(1500);  // the timer's rate is measured over a second
  const rest = await look(page);
  const planets = (state) => JSON.stringify(state.Planets.map((p) => [p.Name, p.X, p.Y, p.Radius, p.Owner]));
  check('the page\'s world is the one the seed makes natively', planets(JSON.parse(await page.evaluate(
      "Module.ccall('tarnyx_state', 'string', [], [])"))) === planets(JSON.parse(native('world', '--seed', `${SEED}`))));
  check('the frame has stars where the world has them', rest.stars >= 50 && rest.whiteStars === rest.stars,
        `${rest.whiteStars} of ${rest.stars} stars white`);
  check('the frame has the radar dots', rest.dotsOnScreen > 0 && rest.dotsLit === rest.dotsOnScreen,
        `${rest.dotsLit} of ${rest.dotsOnScreen} dots drawn`);
  check('the frame has the three readouts', rest.readouts[0] >= 20 && rest.readouts[1] >= 60 && rest.readouts[2] >= 60,
        `lit pixels ${rest.readouts.join(', ')}`);
  check('the ship stands at the centre', rest.shipLit >= 100, `${rest.shipLit} lit pixels`);
  await shoot(page, 'page-playing.png');

  // The median of five seconds, so that one second in which the machine was busy elsewhere does
  // not decide.
  const rates = [];
  for (let i = 0; i < 5; ++i) rates.push(await tickRate(page, 1000));
  const rate = [...rates].sort((a, b) => a - b)[2];
  check('the game ticks 50 times a second (48 to 52)', rate >= 48 && rate <= 52,
        `${rate.toFixed(1)} a second (seconds: ${rates.map((r) => r.toFixed(1)).join(', ')})`);

  await holdKey(page, 'ArrowUp', 1000);
  await sleep(100);
  const thrust = await look(page);
  check('holding Up raises the speed readout',
        thrust.speed > rest.speed && thrust.speedText !== rest.speedText && thrust.speedBox !== rest.speedBox,
        `"${rest.speedText}" then "${thrust.speedText}"`);

  await holdKey(page, 'ArrowLeft', 500);
  await sleep(100);
  const turned = await look(page);
  const turn = (thrust.heading - turned.heading + 256) % 256;
  check('holding Left turns the ship to the left', turn > 0 && turn < 128 && turned.centre !== thrust.centre,
        `heading ${thrust.heading} then ${turned.heading}`);
  await shoot(page, 'page-flying.png');

  // Gamepads, as the Gamepad API hands them to the page (stand-ins here: a headless browser has
  // none), plugged in while the game runs: the second one steers, as the stored form says. Its
  // stick held forward thrusts; unplugged, it stops.
  await page.evaluate(`(() => {
    const pad = (id) => ({ id, connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
                           buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) });
    window.standInPads = [pad('Pad A'), pad('Pad B')];
    navigator.getGamepads = () => window.standInPads;
    window.dispatchEvent(new Event('gamepadconnected'));
    window.dispatchEvent(new Event('gamepadconnected'));
    return true;
  })()`);
  // A second with the stick at rest first: what the speed does by itself (the pull of planets).
  await sleep(200);
  const restPad = await look(page);
  await sleep(1000);
  const beforePad = await look(page);
  await page.evaluate('window.standInPads[1].axes[1] = -1; true');
  await sleep(1000);
  await page.evaluate('window.standInPads[1].axes[1] = 0; true');
  await sleep(100);
  const afterPad = await look(page);
  await page.evaluate(`window.standInPads = []; window.dispatchEvent(new Event('gamepaddisconnected'));
                       window.dispatchEvent(new Event('gamepaddisconnected')); true`);
  check('a gamepad plugged in steers: its stick forward thrusts',
        afterPad.speed - beforePad.speed > Math.abs(beforePad.speed - restPad.speed) + 0.5,
        `speed ${restPad.speed.toFixed(2)}, at rest a second later ${beforePad.speed.toFixed(2)}, ` +
        `after a second of stick ${afterPad.speed.toFixed(2)}`);

  // The sound: the click started the page's audio; thrust is heard, and after M it is not. The
  // output is read with the page's AnalyserNode while the key is held.
  const loudestWhile = async (code, ms) => {
    const send = (type) => page.send('Input.dispatchKeyEvent', {
      type, code, key: code, windowsVirtualKeyCode: KEYS[code], nativeVirtualKeyCode: KEYS[code] });
    await send('rawKeyDown');
    let loudest = 0;
    for (const until = Date.now() + ms; Date.now() < until;) {
      await sleep(20);
      loudest = Math.max(loudest, await page.evaluate('tarnyxSound.level()'));
    }
    await send('keyUp');
    return loudest;
  };
  await sleep(500);
  const audio = await page.evaluate('[tarnyxSound.state(), tarnyxSound.kind()]');
  const quietBefore = await page.evaluate('tarnyxSound.level()');
  const thrustHeard = await loudestWhile('ArrowUp', 1000);
  await sleep(300);
  check('after a click, thrust is heard in the page', audio[0] === 'running' && thrustHeard > 0.03,
        `audio ${audio.join(' through ')}, loudest ${quietBefore.toFixed(4)} before, ${thrustHeard.toFixed(4)} while thrusting`);
  await holdKey(page, 'KeyM', 50);
  await sleep(300);
  const mutedHeard = await loudestWhile('ArrowUp', 1000);
  const button = await page.evaluate("document.getElementById('mute').textContent");
  check('after M thrust is silent, and the card\'s button says so', mutedHeard === 0 && button === 'Sound: off',
        `loudest ${mutedHeard.toFixed(4)}, button "${button}"`);
  await holdKey(page, 'KeyM', 50);
  const soundRates = [];
  for (let i = 0; i < 3; ++i) soundRates.push(await tickRate(page, 1000));
  const soundRate = [...soundRates].sort((a, b) => a - b)[1];
  check('with sound the game still ticks 50 times a second (48 to 52)', soundRate >= 48 && soundRate <= 52,
        `${soundRate.toFixed(1)} a second (seconds: ${soundRates.map((r) => r.toFixed(1)).join(', ')})`);

  // Another tab in front hides the page and takes its focus; back in front, the game goes on.
  const { targetId } = await browser.send('Target.createTarget', { url: 'about:blank' });
  await browser.send('Target.activateTarget', { targetId });
  await until(page, "document.visibilityState === 'hidden'", 5000, 'hiding the page');
  await sleep(200);
  const hiddenRate = await tickRate(page, 1000);
  const card = await page.evaluate("[document.getElementById('cover').hidden, document.getElementById('play').textContent]");
  check('a hidden page does not tick, and says so', hiddenRate === 0 && !card[0] && card[1] === 'Click to continue',
        `${hiddenRate.toFixed(1)} a second, card: ${card[0] ? 'hidden' : card[1]}`);
  await browser.send('Target.activateTarget', { targetId: page.targetId });
  await browser.send('Target.closeTarget', { targetId });
  await until(page, "document.visibilityState === 'visible'", 5000, 'showing the page');
  await sleep(300);
  const backRate = await tickRate(page, 1000);
  check('shown again, the page ticks again', backRate > 20 && await page.evaluate("document.getElementById('cover').hidden"),
        `${backRate.toFixed(1)} a second`);

  // Back in front, the focus may come back after the last event the page sees (here: the focus
  // returns without one, after the visibility change): the game goes on all the same.
  await page.evaluate(`(() => {
    const real = document.hasFocus.bind(document);
    window.focusHeldBack = true;
    document.hasFocus = () => !window.focusHeldBack && real();
    window.addEventListener('focus', (e) => { if (window.focusHeldBack) e.stopImmediatePropagation(); },
                            { capture: true });
    return true;
  })()`);
  {
    const other = await browser.send('Target.createTarget', { url: 'about:blank' });
    await browser.send('Target.activateTarget', { targetId: other.targetId });
    await until(page, "document.visibilityState === 'hidden'", 5000, 'hiding the page');
    await browser.send('Target.activateTarget', { targetId: page.targetId });
    await browser.send('Target.closeTarget', { targetId: other.targetId });
    await until(page, "document.visibilityState === 'visible'", 5000, 'showing the page');
    await sleep(300);
    const paused = await page.evaluate("!document.getElementById('cover').hidden");
    await page.evaluate('window.focusHeldBack = false; true');
    await sleep(1000);
    const lateRate = await tickRate(page, 1000);
    check('shown again with the focus coming back late, the page goes on', paused && lateRate > 20 &&
          await page.evaluate("document.getElementById('cover').hidden"),
          `paused while unfocused: ${paused}; then ${lateRate.toFixed(1)} a second`);
  }

  // A file that is no demo dropped during the flight: refused on the card, the game waiting
  // behind it and not steered; a click goes back to the flight.
  await page.evaluate(`(() => {
    const data = new DataTransfer();
    data.items.add(new File(['shopping list'], 'notes.txt'));
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
    return true;
  })()`);
  await until(page, "!document.getElementById('problem').hidden", 5000, 'the refused drop');
  {
    const card = await page.evaluate(`[document.getElementById('problem').textContent,
        document.getElementById('play').hidden, document.getElementById('play').textContent]`);
    const before = await look(page);
    await holdKey(page, 'ArrowUp', 500);
    const waitRate = await tickRate(page, 500);
    const after = await look(page);
    await click(page, '#play');
    await until(page, "document.getElementById('cover').hidden", 5000, 'back to the flight').catch(() => {});
    const backAgain = await tickRate(page, 1000);
    const problemGone = await page.evaluate("document.getElementById('problem').hidden");
    check('a dropped file that is no demo is refused on a card that leads back to the flight',
          /notes\.txt.*not a demo/.test(card[0]) && !card[1] && card[2] === 'Click to continue' &&
          waitRate === 0 && after.speedText === before.speedText && backAgain > 20 && problemGone,
          `"${card[0]}", button ${card[1] ? 'hidden' : card[2]}; ${waitRate.toFixed(1)} ticks a second behind it, ` +
          `speed "${before.speedText}" then "${after.speedText}"; back: ${backAgain.toFixed(1)} a second`);
  }

  // The program's own keys: the screenshot key offers the frame as a PNG download, Alt+Enter
  // switches full screen on and off. (Alt+F4 is the browser's: it closes the tab first.)
  const downloads = mkdtempSync(join(tmpdir(), 'tarnyx-downloads-'));
  try {
    await browser.send('Browser.setDownloadBehavior', { behavior: 'allowAndName', downloadPath: downloads, eventsEnabled: true });
    const begun = browser.waitFor('Browser.downloadWillBegin', 10000);
    const finished = browser.waitFor('Browser.downloadProgress', 10000, (p) => p.state === 'completed');
    await holdKey(page, 'F12', 50);
    const [{ suggestedFilename }, { guid }] = [await begun, await finished];
    const png = readFileSync(join(downloads, guid));
    const size = png.length > 24 && png.toString('latin1', 12, 16) === 'IHDR' ? [png.readUInt32BE(16), png.readUInt32BE(20)] : [];
    check('the screenshot key offers the frame as a PNG download',
          /^tarnyx-\d{8}-\d{6}\.png$/.test(suggestedFilename) && size[0] === 1024 && size[1] === 768,
          `${suggestedFilename}, ${size.join(' x ')}`);
  } catch (e) {
    check('the screenshot key offers the frame as a PNG download', false, e.message);
  }
  // The demo key: the flight so far (keys, the gamepad, the hidden page) as a demo, which the
  // native game replays without drift to the state the page was in.
  try {
    const begun = browser.waitFor('Browser.downloadWillBegin', 10000);
    const finished = browser.waitFor('Browser.downloadProgress', 10000, (p) => p.state === 'completed');
    await holdKey(page, 'F9', 50);
    const [{ suggestedFilename }, { guid }] = [await begun, await finished];
    const file = join(downloads, guid);
    const recorded = readFileSync(file);
    const frames = recorded.readUInt32LE(14);
    let replay;
    try {
      replay = native('demo', file).trim();
    } catch (e) {
      replay = `status ${e.status}: ${e.stderr}`;
    }
    const replayedFrames = Number(replay.split(' ')[0]);
    check('the demo key offers the flight so far as a demo that replays natively without drift',
          /^tarnyx-\d{8}-\d{6}\.tnxdemo$/.test(suggestedFilename) && frames > 500 &&
          replayedFrames === frames && /checksum [0-9a-f]{16}$/.test(replay),
          `${suggestedFilename}, ${frames} frames: "${replay}"`);
  } catch (e) {
    check('the demo key offers the flight so far as a demo that replays natively without drift', false, e.message);
  } finally {
    rmSync(downloads, { recursive: true, force: true });
  }
  await holdKey(page, 'Enter', 50, ALT);
  await until(page, 'document.fullscreenElement !== null', 5000, 'full screen').catch(() => {});
  const full = await page.evaluate('document.fullscreenElement && document.fullscreenElement.id');
  await shoot(page, 'page-fullscreen.png');
  await holdKey(page, 'Enter', 50, ALT);
  await until(page, 'document.fullscreenElement === null', 5000, 'leaving full screen').catch(() => {});
  const left = await page.evaluate('document.fullscreenElement === null');
  check('Alt+Enter switches full screen on and off', full === 'stage' && left, `full screen: ${full}, left: ${left}`);

  // Larger windows: the largest 4:3 rectangle, centred; within it the frame enlarged by a whole
  // number with every pixel an even square, smoothed only beyond the largest whole multiple.
  const layouts = [
    [2048, 1536, { id: 'frame', rect: [0, 0, 2048, 1536], look: 'crisp', pixels: [1024, 768] }],
    [1600, 1000, { id: 'frame', rect: [133, 0, 1333, 1000], look: 'smooth', pixels: [1024, 768] }],
    [2300, 1800, { id: 'enlarged', rect: [0, 37, 2300, 1725], look: 'smooth', pixels: [2048, 1536] }],
  ];
  for (const [width, height, want] of layouts) {
    await page.send('Emulation.setDeviceMetricsOverride', { width, height, deviceScaleFactor: 1, mobile: false });
    await sleep(300);
    const got = await page.evaluate(`(() => {
      const shown = [...document.querySelectorAll('canvas')].find((c) => !c.hidden);
      const r = shown.getBoundingClientRect();
      return { id: shown.id, rect: [r.x, r.y, r.width, r.height].map(Math.floor), look: shown.className,
               pixels: [shown.width, shown.height] };
    })()`);
    await shoot(page, `page-${width}x${height}.png`);
    check(`the frame fits a ${width} x ${height} window`, JSON.stringify(got) === JSON.stringify(want),
          JSON.stringify(got));
  }
  await page.send('Emulation.setDeviceMetricsOverride', { width: 1024, height: 768, deviceScaleFactor: 1, mobile: false });

  check('no errors in the page', page.errors.length === 0, page.errors.join(' | '));
  const errorsBefore = page.errors.length;

  // A committed demo given in the address, played as fast as it goes: the page's game ends it in
  // the state the native one does, to the checksum.
  const demoState = async () => JSON.parse(await page.evaluate("Module.ccall('tarnyx_state', 'string', [], [])"));
  await page.navigate(`${site.url}?timedemo=test-demos/crash.tnxdemo`);
  await until(page, "document.getElementById('play').textContent === 'Click to play the demo'", 30000, 'the demo');
  const waited = await demoState();
  await click(page, '#play');
  await until(page, 'tarnyxStats.demoEnded !== undefined', 180000, 'the end of the demo');
  const ended = await page.evaluate('tarnyxStats.demoEnded');
  const nativeEnd = native('demo', join(demosDir, 'crash.tnxdemo')).trim();
  const endedStatus = (await demoState()).Demo.Status;
  check('a committed demo replays in the page to the native checksum',
        ended.summary === nativeEnd && ended.desyncFrame === 0 && waited.Demo.Frames === 0 && endedStatus === 0,
        `page: "${ended.summary}" in ${ended.seconds.toFixed(2)} s, native: "${nativeEnd}", ` +
        `frames before the click: ${waited.Demo.Frames}`);
  const ending = await page.evaluate(`[document.getElementById('cover').hidden,
      document.getElementById('demo-ending').textContent, document.getElementById('play').textContent]`);
  check('the page says that the demo ended, and how', !ending[0] && ending[1].includes(nativeEnd) &&
        ending[2] === 'Fly yourself', ending[1]);
  await shoot(page, 'page-demo-ended.png');

  // Demos cut short play their whole frames as the native game does, and the page says they were
  // cut; one cut right after its header ends at once.
  for (const name of ['cut.tnxdemo', 'header.tnxdemo']) {
    await page.navigate(`${site.url}?timedemo=test-scratch/${name}`);
    await until(page, "document.getElementById('play').textContent === 'Click to play the demo' || " +
                "tarnyxStats.demoEnded !== undefined", 30000, `the demo ${name}`);
    if (await page.evaluate('tarnyxStats.demoEnded === undefined')) await click(page, '#play');
    await until(page, 'tarnyxStats.demoEnded !== undefined', 60000, `the end of the demo ${name}`);
    const cut = await page.evaluate('tarnyxStats.demoEnded');
    const cutStatus = (await demoState()).Demo.Status;
    const nativeCut = nativeOutput('demo', join(scratchDir, name)).trim();
    check(`a demo cut short plays its whole frames (${name})`, cut.summary === nativeCut && cutStatus === 2 &&
          /cut short: truncated at frame \d+/.test(cut.notes),
          `page: "${cut.summary}", ${cut.notes} status ${cutStatus}; native: "${nativeCut}"`);
  }

  // A demo file dropped on the page plays at the game's pace in a fresh game, frame for frame
  // the native game's.
  await page.evaluate(`fetch('test-demos/landing.tnxdemo').then((r) => r.arrayBuffer()).then((bytes) => {
    const data = new DataTransfer();
    data.items.add(new File([bytes], 'landing.tnxdemo'));
    document.dispatchEvent(new DragEvent('drop', { dataTransfer: data, bubbles: true, cancelable: true }));
    return true;
  })`);
  await until(page, "document.getElementById('demo-name').textContent === 'Demo: landing.tnxdemo' && " +
              "document.getElementById('play').textContent === 'Click to play the demo'", 30000, 'the dropped demo');
  await click(page, '#play');
  await sleep(2000);
  const playing = await demoState();
  const nativeThere = JSON.parse(native('demo', join(demosDir, 'landing.tnxdemo'), '--frames',
                                        `${playing.Demo.Frames}`, '--state', '-'));
  // The world, key by key (the run's frame count and its clock's rate are the tool's own).
  const differ = Object.keys(nativeThere).filter((k) => !['Frame', 'FramesPerSecond'].includes(k) &&
      JSON.stringify(playing[k]) !== JSON.stringify(nativeThere[k]));
  check('a dropped demo plays at the game\'s pace as the native game plays it',
        playing.Demo.Playing && playing.Demo.Frames >= 70 && playing.Demo.Frames <= 130 && differ.length === 0 &&
        !new URL(await page.evaluate('location.href')).search,
        `${playing.Demo.Frames} frames in 2 s, random state ${playing.RandomState}` +
        (differ.length ? `; differs from the native state in ${differ.join(', ')}` : ''));

  // Files that are no demo, or not there, are refused with a clear message.
  for (const [address, want] of [['test-demos/demos.txt', /demos\.txt cannot be played: not a demo/],
                                 ['test-demos/none.tnxdemo', /could not be fetched: 404/]]) {
    await page.navigate(`${site.url}?demo=${address}`);
    await until(page, "!document.getElementById('problem').hidden", 30000, 'the refusal');
    const said = await page.evaluate("document.getElementById('problem').textContent");
    check(`a bad demo in the address is refused (${address})`, want.test(said), said);
  }
  // A demo larger than any demo is refused as soon as that is known: by its length, or, sent
  // without one, once more than 64 MiB came.
  for (const address of ['test-huge/declared.tnxdemo', 'test-huge/streamed.tnxdemo']) {
    await page.navigate(`${site.url}?demo=${address}`);
    await until(page, "!document.getElementById('problem').hidden", 60000, 'the refusal');
    const said = await page.evaluate("document.getElementById('problem').textContent");
    const memory = await page.evaluate('Module.HEAPU8 ? Module.HEAPU8.length : 0');
    check(`a huge demo in the address is refused before it is all read (${address})`,
          /cannot be played: larger than 64 MiB: not a demo/.test(said) && memory <= 64 << 20,
          `${said}; WebAssembly memory ${(memory / 1048576).toFixed(0)} MiB`);
  }
  // An empty ?demo= is no demo: the game starts as usual.
  await page.navigate(`${site.url}?demo=&seed=${SEED}`);
  await until(page, "document.getElementById('play').textContent === 'Click to play' || " +
              "!document.getElementById('problem').hidden", 30000, 'the page');
  check('an empty ?demo= is no demo', await page.evaluate(
      "document.getElementById('problem').hidden && document.getElementById('play').textContent === 'Click to play'"),
        await page.evaluate("document.getElementById('problem').textContent"));
  check('no errors in the pages of demos', page.errors.length === errorsBefore,
        page.errors.slice(errorsBefore).join(' | '));

  // A browser without AudioWorklet: the page falls back to a ScriptProcessorNode over the same
  // queue, and thrust is heard all the same.
  const { identifier } = await page.send('Page.addScriptToEvaluateOnNewDocument',
                                         { source: 'delete window.AudioWorkletNode;' });
  await page.navigate(`${site.url}?seed=${SEED}`);
  await until(page, "document.getElementById('play').textContent === 'Click to play'", 30000, 'the page without worklets');
  await click(page, '#play');
  await until(page, "document.getElementById('cover').hidden", 5000, 'the start');
  await sleep(500);
  const fallbackHeard = await loudestWhile('ArrowUp', 1000);
  const fallback = await page.evaluate('[tarnyxSound.state(), tarnyxSound.kind()]');
  await page.send('Page.removeScriptToEvaluateOnNewDocument', { identifier });
  check('without AudioWorklet the page\'s sound falls back and thrust is heard',
        fallback[0] === 'running' && fallback[1] === 'script' && fallbackHeard > 0.03,
        `audio ${fallback.join(' through ')}, loudest ${fallbackHeard.toFixed(4)} while thrusting`);
  check('no errors in the page without worklets', page.errors.length === errorsBefore,
        page.errors.slice(errorsBefore).join(' | '));

  // The settings panel on the card, from a page with no settings kept: the volume, a key (click
  // the action, press the key; a key another action has is refused, Escape cancels) and the
  // gamepad; a reload keeps them, and they act: W thrusts, the first gamepad steers. Restored to
  // the defaults, the second gamepad is read again and one gamepad gets the hint on the card.
  const fresh = async () => {
    await page.navigate(`${site.url}?seed=${SEED}`);
    await until(page, "document.getElementById('play').textContent === 'Click to play'", 30000, 'the page');
  };
  await page.evaluate('localStorage.clear(); true');
  await fresh();
  await click(page, '#settings summary');
  const settingsNow = () => page.evaluate('tarnyxSettings.state()');
  await page.evaluate(`(() => { const v = document.getElementById('settings-volume'); v.value = 30;
                                v.dispatchEvent(new Event('input')); v.dispatchEvent(new Event('change')); return true; })()`);
  await click(page, '#settings button[data-action=thrust]');
  const waitingText = await page.evaluate("document.querySelector('#settings button[data-action=thrust]').textContent");
  await holdKey(page, 'KeyW', 50);
  await click(page, '#settings button[data-action=turn_left]');
  await holdKey(page, 'KeyW', 50);
  const refusedKey = await page.evaluate("document.getElementById('settings-message').textContent");
  await holdKey(page, 'KeyM', 50);
  const ownKey = await page.evaluate("document.getElementById('settings-message').textContent");
  await holdKey(page, 'Escape', 50);
  await page.evaluate(`(() => { const g = document.getElementById('settings-gamepad'); g.value = 'first';
                                g.dispatchEvent(new Event('change')); return true; })()`);
  const set = await settingsNow();
  check('the panel sets the volume, a key and the gamepad',
        set.volume === '30' && set.thrust === 'W' && set.turn_left === 'Left' && set.joystick === 'first' &&
        /press a key/.test(waitingText) && /already a key of thrust/.test(refusedKey) &&
        /M turns the sound off or on/.test(ownKey) &&
        /30 %/.test(await page.evaluate("document.getElementById('mute').textContent")),
        `${JSON.stringify({ ...set, text: undefined })}; "${refusedKey}"; "${ownKey}"`);
  await shoot(page, 'page-settings.png');
  await fresh();
  const kept = await settingsNow();
  const storedText = await page.evaluate('tarnyxSettings.stored()');
  check('a reload keeps the settings', kept.volume === '30' && kept.thrust === 'W' && kept.joystick === 'first' &&
        /^thrust = W$/m.test(storedText) && /30 %/.test(await page.evaluate("document.getElementById('mute').textContent")),
        JSON.stringify(storedText));
  await click(page, '#play');
  await until(page, "document.getElementById('cover').hidden", 5000, 'the start');
  await sleep(300);
  const beforeW = await look(page);
  await holdKey(page, 'KeyW', 1000);
  await sleep(100);
  const afterW = await look(page);
  check('the key set in the panel thrusts', afterW.speed > beforeW.speed + 0.5,
        `speed ${beforeW.speed.toFixed(2)} then ${afterW.speed.toFixed(2)}`);
  const onePad = `(() => {
    window.standInPads = [{ id: 'Pad A', connected: true, mapping: 'standard', axes: [0, 0, 0, 0],
                            buttons: Array.from({ length: 17 }, () => ({ pressed: false, value: 0 })) }];
    navigator.getGamepads = () => window.standInPads;
    window.dispatchEvent(new Event('gamepadconnected'));
    return true;
  })()`;
  await page.evaluate(onePad);
  await sleep(300);
  const beforeStick = await look(page);
  await page.evaluate('window.standInPads[0].axes[1] = -1; true');
  await sleep(1000);
  await page.evaluate('window.standInPads[0].axes[1] = 0; true');
  await sleep(100);
  const afterStick = await look(page);
  check('with "the first" chosen, one gamepad steers', afterStick.speed > beforeStick.speed + 0.5 &&
        await page.evaluate("document.getElementById('settings-hint').hidden"),
        `speed ${beforeStick.speed.toFixed(2)} then ${afterStick.speed.toFixed(2)}`);
  // A demo recorded natively with other keys (a settings file's) replays in the page, whose own
  // keys are others again, to the native checksum: demos hold input states, not keys.
  const keysFile = join(scratchDir, 'keys.ini');
  writeFileSync(keysFile, 'thrust = Space\nturn_left = A\n');
  native('run', '--seed', `${SEED}`, '--frames', '150', '--settings', keysFile, '--keys', '1-60:Space;40-90:A',
         '--record', join(scratchDir, 'rebound.tnxdemo'));
  await page.navigate(`${site.url}?timedemo=test-scratch/rebound.tnxdemo`);
  await until(page, "document.getElementById('play').textContent === 'Click to play the demo'", 30000, 'the demo');
  await click(page, '#play');
  await until(page, 'tarnyxStats.demoEnded !== undefined', 60000, 'the end of the demo');
  const reboundEnd = await page.evaluate('tarnyxStats.demoEnded');
  const reboundNative = native('demo', join(scratchDir, 'rebound.tnxdemo')).trim();
  check('a demo recorded with other keys replays in the page as natively', reboundEnd.summary === reboundNative &&
        reboundEnd.desyncFrame === 0, `page: "${reboundEnd.summary}", native: "${reboundNative}"`);
  await fresh();
  await click(page, '#settings summary');
  await click(page, '#settings-defaults');
  const restored = await settingsNow();
  await fresh();
  const restoredKept = await settingsNow();
  check('the defaults are restored, and kept', [restored, restoredKept].every((r) => r.volume === '80' &&
        r.thrust === 'Up' && r.joystick === 'stored' && r.mute === 'no'), JSON.stringify(restoredKept.text));
  await click(page, '#play');
  await until(page, "document.getElementById('cover').hidden", 5000, 'the start');
  await page.evaluate(onePad);
  await until(page, "!document.getElementById('settings-hint').hidden", 5000, 'the hint');
  const hint = await page.evaluate("document.getElementById('settings-hint').textContent");
  check('one gamepad the game does not read gets the hint on the card', /the first/.test(hint), hint);
  await page.evaluate("window.standInPads = []; window.dispatchEvent(new Event('gamepaddisconnected')); true");
  check('no errors in the settings\' pages', page.errors.length === errorsBefore,
        page.errors.slice(errorsBefore).join(' | '));

  // A seed that is no time of day is refused with a clear message, and nothing starts.
  await page.navigate(`${site.url}?seed=86400000`);
  await sleep(500);
  const refused = await page.evaluate(`[document.getElementById('problem').textContent,
      document.getElementById('problem').hidden, typeof Module.calledRun]`);
  check('a bad seed in the address is refused', !refused[1] && /86399999/.test(refused[0]) && refused[2] === 'undefined',
        refused[0]);
} catch (e) {
  check('the browser test ran to its end', false, e.message);
} finally {
  await closeSite(site);
  rmSync(scratchDir, { recursive: true, force: true });
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);

// The page on a phone: headless Chromium with mobile emulation and touch, driven over the DevTools
// protocol with fingers (Input.dispatchTouchEvent). The layout held upright and sideways, the
// controls flying the ship, the manifest and its icons, a start with no network after one visit,
// a flight by fingers replayed natively as a demo, the tick rate on a slowed CPU, and no controls
// on the desktop. Prints one line per check, then "N passed, N failed", and exits non-zero on any
// failure.
//
// Usage: node tests/web/touch_test.mjs SITE_DIR NATIVE_TOOL [SHOTS_DIR]
// NATIVE_TOOL is the native tarnyx-headless, which replays the page's demo.
import { execFileSync } from 'node:child_process';
import { appendFileSync, cpSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { fileURLToPath } from 'node:url';

import { Browser } from './devtools.mjs';
import { serve, sleep, until } from './site.mjs';

const webSources = fileURLToPath(new URL('../../web/', import.meta.url));
const [siteDir, nativeTool, shotsDir] = process.argv.slice(2);
if (!siteDir || !nativeTool) {
  console.error('usage: touch_test.mjs SITE_DIR NATIVE_TOOL [SHOTS_DIR]');
  process.exit(2);
}

let passed = 0, failed = 0;
function check(name, ok, detail = '') {
  if (ok) passed += 1;
  else failed += 1;
  console.log(`${ok ? 'ok  ' : 'FAIL'} ${name}${detail ? ': ' + detail : ''}`);
}

async function shoot(page, name) {
  if (!shotsDir) return;
  mkdirSync(shotsDir, { recursive: true });
  writeFileSync(resolve(shotsDir, name), await page.screenshot());
}

const SEED = 45296789;  // the ship starts at rest, away from every planet
const state = async (page) => {
  const s = JSON.parse(await page.evaluate("Module.ccall('tarnyx_state', 'string', [], [])"));
  return { heading: s.Player.Heading, speed: Math.hypot(s.Player.VX, s.Player.VY), speedText: s.SpeedText,
           ticks: s.Ticks, vx: s.Player.VX, vy: s.Player.VY };
};
// Turned to the left: the heading went down (angles grow clockwise), by less than half a turn.
const leftTurn = (before, after) => (before.heading - after.heading + 256) % 256;

// Where the page's controls, the frame and the card are, in CSS pixels.
const LAYOUT = `(() => {
  const box = (e) => { const r = e.getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; };
  const frame = [...document.querySelectorAll('#frame, #enlarged')].find((c) => !c.hidden);
  const controls = {};
  for (const c of document.querySelectorAll('.touch-control'))
    controls[c.dataset.code] = getComputedStyle(c).display === 'none' || !c.offsetParent ? null : box(c);
  return { width: innerWidth, height: innerHeight, frame: box(frame), controls,
           scroll: [document.documentElement.scrollWidth, document.documentElement.scrollHeight,
                    document.body.scrollWidth, document.body.scrollHeight, scrollX, scrollY],
           touch: document.documentElement.classList.contains('touch') };
})()`;
const inside = (r, w, h) => r && r[0] >= 0 && r[1] >= 0 && r[2] <= w + 0.5 && r[3] <= h + 0.5;
const overlap = (a, b) => a[0] < b[2] && b[0] < a[2] && a[1] < b[3] && b[1] < a[3];
const centre = (r) => ({ x: (r[0] + r[2]) / 2, y: (r[1] + r[3]) / 2 });

// Fingers: each { id, x, y }; the protocol is told every finger still down at each change.
const fingers = (page, type, points) => page.send('Input.dispatchTouchEvent', {
  type, touchPoints: points.map(({ id, x, y }) => ({ id, x, y, radiusX: 8, radiusY: 8, force: 1 })),
});
async function tap(page, selector) {
  const r = await page.evaluate(`(() => { const r = document.querySelector(${JSON.stringify(selector)})
      .getBoundingClientRect(); return [r.left, r.top, r.right, r.bottom]; })()`);
  const at = { id: 0, ...centre(r) };
  await fingers(page, 'touchStart', [at]);
  await fingers(page, 'touchEnd', []);
}

// A fresh browser tab as a phone of width x height (CSS pixels), with touch, at the site.
async function phone(browser, url, width, height) {
  const page = await browser.newPage(width, height);
  await page.send('Emulation.setDeviceMetricsOverride', {
    width, height, deviceScaleFactor: 2, mobile: true,
    screenOrientation: width > height ? { type: 'landscapePrimary', angle: 90 } : { type: 'portraitPrimary', angle: 0 },
  });
  await page.send('Emulation.setTouchEmulationEnabled', { enabled: true, maxTouchPoints: 5 });
  await page.navigate(url);
  await until(page, 'window.tarnyxStats && tarnyxStats.firstFrameAt > 0', 30000, 'the first frame');
  await until(page, "!document.getElementById('play').disabled", 30000, 'the program');
  return page;
}

// Ticks a second over the next ms milliseconds, by the page's own clock.
async function tickRate(page, ms) {
  const read = () => page.evaluate('[tarnyxStats.ticks, performance.now()]');
  const [t0, s0] = await read();
  await sleep(ms);
  const [t1, s1] = await read();
  return (t1 - t0) * 1000 / (s1 - s0);
}

const { server, url } = await serve(resolve(siteDir));
const browser = await Browser.launch();
const address = `${url}?seed=${SEED}`;
try {
  // The desktop: no touch, no controls, the frame where it always was.
  {
    const page = await browser.newPage(1024, 768);
    await page.navigate(address);
    await until(page, 'window.tarnyxStats && tarnyxStats.firstFrameAt > 0', 30000, 'the first frame');
    const desk = await page.evaluate(LAYOUT);
    check('on the desktop there are no touch controls', !desk.touch &&
          Object.values(desk.controls).every((c) => c === null) &&
          JSON.stringify(desk.frame) === JSON.stringify([0, 0, 1024, 768]),
          `touch mode ${desk.touch}, frame ${desk.frame.join(',')}`);
    await browser.send('Target.closeTarget', { targetId: page.targetId });
  }

  for (const [width, height, shape] of [[390, 844, 'portrait'], [844, 390, 'landscape']]) {
    const page = await phone(browser, address, width, height);
    const card = await page.evaluate("[document.getElementById('play').textContent, " +
                                     "!!document.getElementById('fullscreen'), getComputedStyle(document.querySelector('.card')).overflowY]");
    const cardBox = await page.evaluate("(() => { const r = document.querySelector('.card').getBoundingClientRect(); " +
                                        'return [r.left, r.top, r.right, r.bottom]; })()');
    check(`${shape}: the card asks for a tap, offers full screen and fits the screen`,
          card[0] === 'Tap to play' && card[1] && inside(cardBox, width, height), `${card[0]}, card ${cardBox.map(Math.round)}`);
    await shoot(page, `touch-${shape}-card.png`);
    await tap(page, '#play');
    await until(page, "document.getElementById('cover').hidden", 5000, 'the start by tap');
    await sleep(300);
    const laid = await page.evaluate(LAYOUT);
    const controls = Object.entries(laid.controls);
    const scrolls = laid.scroll[0] > width || laid.scroll[1] > height || laid.scroll[4] !== 0 || laid.scroll[5] !== 0;
    check(`${shape} ${width} x ${height}: the frame and every control on the screen, no scrolling`,
          laid.touch && inside(laid.frame, width, height) && controls.length === 4 &&
          controls.every(([, r]) => inside(r, width, height)) && !scrolls,
          `frame ${laid.frame.map(Math.round)}, controls ${controls.map(([c, r]) => `${c} ${r && r.map(Math.round)}`).join('; ')}, ` +
          `scroll sizes ${laid.scroll.join(',')}`);
    check(`${shape}: the controls are at least 48 pixels and beside the frame`,
          controls.every(([, r]) => r && r[2] - r[0] >= 48 && r[3] - r[1] >= 48 && !overlap(r, laid.frame)));
    const frameW = laid.frame[2] - laid.frame[0], frameH = laid.frame[3] - laid.frame[1];
    const c = laid.controls;
    if (shape === 'portrait') {
      check('portrait: the frame across the full width, the controls beneath it',
            Math.abs(frameW - width) <= 1 && controls.every(([, r]) => r[1] >= laid.frame[3]),
            `frame ${frameW.toFixed(0)} x ${frameH.toFixed(0)}`);
    } else {
      check('landscape: the frame as high as the screen, turning at the left and thrust at the right',
            Math.abs(frameH - height) <= 1 && c.ArrowLeft[2] <= laid.frame[0] && c.ArrowRight[2] <= laid.frame[0] &&
            c.ArrowUp[0] >= laid.frame[2] && c.ShiftLeft[0] >= laid.frame[2],
            `frame ${frameW.toFixed(0)} x ${frameH.toFixed(0)} at ${laid.frame[0].toFixed(0)}`);
    }
    await shoot(page, `touch-${shape}.png`);

    const thrust = { id: 1, ...centre(c.ArrowUp) }, left = { id: 2, ...centre(c.ArrowLeft) };
    const rest = await state(page);
    await fingers(page, 'touchStart', [thrust]);
    await sleep(800);
    const held = await page.evaluate('tarnyxTouch.held()');
    await fingers(page, 'touchEnd', []);
    await sleep(100);
    const thrusted = await state(page);
    check(`${shape}: holding thrust raises the speed readout`,
          held.join() === 'ArrowUp' && thrusted.speed > rest.speed + 1 && thrusted.speedText !== rest.speedText,
          `"${rest.speedText}" then "${thrusted.speedText}", held ${held.join()}`);
    await shoot(page, `touch-${shape}-flying.png`);

    await fingers(page, 'touchStart', [left]);
    await sleep(500);
    await fingers(page, 'touchEnd', []);
    await sleep(100);
    const turned = await state(page);
    const turn = leftTurn(thrusted, turned);
    check(`${shape}: holding left turns the ship to the left`, turn > 0 && turn < 128,
          `heading ${thrusted.heading} then ${turned.heading}`);

    // Two fingers at once: thrust while turning.
    await fingers(page, 'touchStart', [thrust]);
    await fingers(page, 'touchStart', [thrust, left]);
    await sleep(600);
    const both = await page.evaluate('tarnyxTouch.held().sort()');
    await fingers(page, 'touchEnd', [thrust]);
    await fingers(page, 'touchEnd', []);
    await sleep(100);
    const together = await state(page);
    const turnTogether = leftTurn(turned, together);
    // Away from the planets only thrust changes the velocity (turning alone does not).
    const pushed = Math.hypot(together.vx - turned.vx, together.vy - turned.vy);
    check(`${shape}: thrust and turn together both act`,
          both.join() === 'ArrowLeft,ArrowUp' && turnTogether > 0 && turnTogether < 128 && pushed > 1,
          `held ${both.join()}, heading ${turned.heading} then ${together.heading}, velocity changed by ` +
          `${pushed.toFixed(2)}`);

    // Sliding off: the finger moves from thrust onto the frame and stays down there.
    await fingers(page, 'touchStart', [thrust]);
    await sleep(300);
    const onFrame = { id: 1, ...centre(laid.frame) };
    await fingers(page, 'touchMove', [{ ...thrust, x: (thrust.x + onFrame.x) / 2, y: (thrust.y + onFrame.y) / 2 }]);
    await fingers(page, 'touchMove', [onFrame]);
    await sleep(100);
    const slid = await state(page);
    const heldAfter = await page.evaluate('tarnyxTouch.held()');
    await sleep(600);
    const later = await state(page);
    await fingers(page, 'touchEnd', []);
    check(`${shape}: sliding off the thrust control lets it go`,
          heldAfter.length === 0 && Math.abs(later.speed - slid.speed) < 0.3 && later.ticks > slid.ticks + 10,
          `held ${heldAfter.join() || 'nothing'}, speed ${slid.speed.toFixed(2)} then ${later.speed.toFixed(2)} ` +
          `over ${later.ticks - slid.ticks} ticks`);

    // Fine control is a toggle: on, the game takes Shift as held; off again, released.
    await tap(page, '.touch-control[data-code="ShiftLeft"]');
    const fineOn = await page.evaluate('[tarnyxTouch.fine(), document.querySelector(\'[data-code="ShiftLeft"]\').getAttribute("aria-pressed")]');
    await tap(page, '.touch-control[data-code="ShiftLeft"]');
    const fineOff = await page.evaluate('tarnyxTouch.fine()');
    check(`${shape}: a tap switches fine control on, another off`, fineOn[0] === true && fineOn[1] === 'true' && fineOff === false);

    // The flight so far as a demo: the fingers went in as keys, so the native game flies it to
    // the same ship.
    if (shape === 'portrait') {
      const taken = await page.evaluate(`(() => {
        const size = Module._tarnyx_demo_take(), at = Module._tarnyx_demo_bytes();
        const state = JSON.parse(Module.ccall('tarnyx_state', 'string', [], []));
        return { bytes: Array.from(Module.HEAPU8.subarray(at, at + size)), player: state.Player };
      })()`);
      const scratch = mkdtempSync(join(tmpdir(), 'tarnyx-touch-'));
      let replayed;
      try {
        writeFileSync(join(scratch, 'fingers.tnxdemo'), Buffer.from(taken.bytes));
        replayed = JSON.parse(execFileSync(nativeTool, ['demo', join(scratch, 'fingers.tnxdemo'), '--state', '-'],
                                           { encoding: 'utf8', maxBuffer: 1 << 26, stdio: ['ignore', 'pipe', 'pipe'] })
                               .split('\n')[0]).Player;
      } catch (e) {
        replayed = { error: e.message };
      } finally {
        rmSync(scratch, { recursive: true, force: true });
      }
      check('the flight by fingers replays natively as a demo, to the same ship',
            taken.bytes.length > 0 && JSON.stringify(replayed) === JSON.stringify(taken.player) &&
            Math.hypot(replayed.VX, replayed.VY) > 0.1 && replayed.Heading !== 0,
            `page ${JSON.stringify(taken.player)}, native ${JSON.stringify(replayed)}`);
    }

    // Hidden by another tab while a finger holds thrust: everything is let go.
    if (shape === 'portrait') {
      await fingers(page, 'touchStart', [thrust]);
      await tap(page, '.touch-control[data-code="ShiftLeft"]');
      await fingers(page, 'touchStart', [thrust]);
      const { targetId } = await browser.send('Target.createTarget', { url: 'about:blank' });
      await browser.send('Target.activateTarget', { targetId });
      await until(page, "document.visibilityState === 'hidden'", 5000, 'hiding the page');
      const hidden = await page.evaluate('[tarnyxTouch.held(), tarnyxTouch.fine()]');
      await browser.send('Target.activateTarget', { targetId: page.targetId });
      await browser.send('Target.closeTarget', { targetId });
      await until(page, "document.visibilityState === 'visible'", 5000, 'showing the page');
      await fingers(page, 'touchEnd', []);
      check('a hidden page lets go of every control', hidden[0].length === 0 && hidden[1] === false,
            `held ${hidden[0].join() || 'nothing'}, fine ${hidden[1]}`);
    }
    check(`${shape}: no errors in the page`, page.errors.length === 0, page.errors.join(' | '));
    await browser.send('Target.closeTarget', { targetId: page.targetId });
  }

  // Installable: the manifest as the browser reads it, and its icons at the sizes it states.
  {
    const page = await phone(browser, address, 390, 844);
    const { errors, data } = await page.send('Page.getAppManifest');
    const manifest = JSON.parse(data || '{}');
    const icons = manifest.icons || [];
    const sizes = await page.evaluate(`Promise.all(${JSON.stringify(icons.map((i) => i.src))}.map((src) =>
        new Promise((done) => { const image = new Image(); image.onload = () => done(image.naturalWidth + 'x' + image.naturalHeight);
                                image.onerror = () => done('not loaded'); image.src = src; })))`);
    check('the manifest parses, and names the game, a dark theme, a full-screen display and any orientation',
          errors.length === 0 && manifest.name === 'Tarnyx' && manifest.short_name === 'Tarnyx' &&
          ['fullscreen', 'standalone'].includes(manifest.display) && manifest.orientation === 'any' &&
          /^#0{6}$/.test(manifest.background_color) && /^#0{6}$/.test(manifest.theme_color),
          errors.map((e) => e.message).join(' | '));
    check('the manifest\'s icons load at 192 and 512 pixels, as it states',
          icons.map((i) => i.sizes).sort().join() === '192x192,512x512' &&
          icons.every((icon, i) => icon.sizes === sizes[i]), `${icons.map((i) => i.sizes).join(', ')}: ${sizes.join(', ')}`);

    // After one visit, with no network, the game starts again.
    await until(page, 'navigator.serviceWorker.controller !== null', 30000, 'the service worker');
    const cache = await page.evaluate('caches.keys()');
    await page.send('Network.enable');
    await page.send('Network.emulateNetworkConditions', { offline: true, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
    const offline = await page.evaluate("fetch('offline-probe').then(() => 'answered', () => 'no network')");
    await page.navigate(address);
    await until(page, 'window.tarnyxStats && tarnyxStats.firstFrameAt > 0', 30000, 'the first frame offline');
    await until(page, "!document.getElementById('play').disabled", 30000, 'the program offline');
    await tap(page, '#play');
    await until(page, "document.getElementById('cover').hidden", 5000, 'the start offline');
    const t0 = (await state(page)).ticks;
    await sleep(500);
    const t1 = (await state(page)).ticks;
    check('after one visit, with no network, a reload starts the game',
          offline === 'no network' && cache.length === 1 && /^tarnyx-[\d.]+-[0-9a-f]{16}$/.test(cache[0]) && t1 > t0 + 10,
          `network: ${offline}, caches: ${cache.join()}, ${t1 - t0} ticks in half a second`);
    await page.send('Network.emulateNetworkConditions', { offline: false, latency: 0, downloadThroughput: -1, uploadThroughput: -1 });
    check('offline: no errors in the page', page.errors.length === 0, page.errors.join(' | '));
    await browser.send('Target.closeTarget', { targetId: page.targetId });
  }

  // A new build of the site (one file changed, the service worker written again as the build
  // writes it) replaces the old files at the next visit, with no reload asked of anyone.
  {
    const copy = mkdtempSync(join(tmpdir(), 'tarnyx-site-'));
    const second = { server: null };
    try {
      cpSync(resolve(siteDir), copy, { recursive: true });
      second.server = await serve(copy);
      const site = `${second.server.url}?seed=${SEED}`;
      const page = await phone(browser, site, 390, 844);
      await until(page, 'navigator.serviceWorker.controller !== null', 30000, 'the service worker');
      const [before] = await page.evaluate('caches.keys()');
      const worker = readFileSync(join(copy, 'sw.js'), 'utf8');
      const files = JSON.parse(/const FILES = (\[.*\]);/.exec(worker)[1].replaceAll("'", '"'));
      const version = /'tarnyx-([\d.]+)-/.exec(worker)[1];
      appendFileSync(join(copy, 'tarnyx-touch.css'), '/* rebuilt */\n');
      execFileSync('cmake', [`-DSITE=${copy}`, `-DTEMPLATE=${join(webSources, 'sw.js')}`, `-DVERSION=${version}`,
                             `-DFILES=${files.join(';')}`, '-P', join(webSources, 'ServiceWorker.cmake')]);
      let navigations = 0;
      const off = browser.on('Page.frameNavigated', (p) => { if (!p.frame.parentId) navigations += 1; }, page.sessionId);
      await page.navigate(site);
      await until(page, `caches.keys().then((k) => k.length === 1 && k[0] !== ${JSON.stringify(before)})`, 30000, 'the new build');
      const served = await page.evaluate("fetch('tarnyx-touch.css').then((r) => r.text())");
      await sleep(1000);
      off();
      const [after] = await page.evaluate('caches.keys()');
      check('a new build replaces the kept files by itself, without reloading the page',
            after !== before && served.endsWith('/* rebuilt */\n') && navigations === 1 &&
            await page.evaluate('navigator.serviceWorker.controller !== null'),
            `cache ${before} then ${after}, ${navigations} navigation(s)`);
      await browser.send('Target.closeTarget', { targetId: page.targetId });
    } finally {
      if (second.server) second.server.server.close();
      rmSync(copy, { recursive: true, force: true });
    }
  }

  // A modest phone: the CPU four times slower, Up held, the median of five seconds.
  {
    const page = await phone(browser, address, 844, 390);
    await tap(page, '#play');
    await until(page, "document.getElementById('cover').hidden", 5000, 'the start');
    await page.send('Emulation.setCPUThrottlingRate', { rate: 4 });
    const thrust = await page.evaluate("(() => { const r = document.querySelector('[data-code=\"ArrowUp\"]').getBoundingClientRect(); " +
                                       'return { x: r.left + r.width / 2, y: r.top + r.height / 2 }; })()');
    await fingers(page, 'touchStart', [{ id: 1, ...thrust }]);
    await sleep(1500);
    const rates = [];
    for (let i = 0; i < 5; ++i) rates.push(await tickRate(page, 1000));
    await fingers(page, 'touchEnd', []);
    await page.send('Emulation.setCPUThrottlingRate', { rate: 1 });
    const rate = [...rates].sort((a, b) => a - b)[2];
    check('with the CPU four times slower the game still ticks 50 times a second (48 to 52)', rate >= 48 && rate <= 52,
          `${rate.toFixed(1)} a second (seconds: ${rates.map((r) => r.toFixed(1)).join(', ')})`);
    await browser.send('Target.closeTarget', { targetId: page.targetId });
  }
} catch (e) {
  check('the touch test ran to its end', false, e.stack || e.message);
} finally {
  await browser.close();
  server.close();
}
console.log(`${passed} passed, ${failed} failed`);
process.exit(failed ? 1 : 0);

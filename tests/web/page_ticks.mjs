// How many ticks a second the page runs with its CPU slowed down (DevTools' CPU throttling, as
// on a modest phone), and where each tick's time goes: how late the page woke for it (after the
// time the step before asked for), how long the game's step took and, of that, the present.
// Several builds of the site are measured in turns, round after round, so that a machine busy
// elsewhere weighs on them alike.
//
// Usage: node tests/web/page_ticks.mjs [--rates 1,4,6,10] [--rounds 3] [--seconds 5] SITE_DIR...
// Prints one line per measurement, then the medians per site and rate, and the load average.
import { loadavg } from 'node:os';
import { resolve } from 'node:path';

import { Browser } from './devtools.mjs';
import { click, serve, sleep, until } from './site.mjs';

const args = process.argv.slice(2);
const option = (name, fallback) => {
  const at = args.indexOf(name);
  if (at < 0) return fallback;
  const value = args[at + 1];
  args.splice(at, 2);
  return value;
};
const rates = option('--rates', '1,4,6,10').split(',').map(Number);
const rounds = Number(option('--rounds', '3'));
const seconds = Number(option('--seconds', '5'));
const sites = args;
if (sites.length === 0 || rates.some((r) => !(r >= 1)) || !(rounds >= 1) || !(seconds > 0)) {
  console.error('usage: page_ticks.mjs [--rates 1,4,6,10] [--rounds 3] [--seconds 5] SITE_DIR...');
  process.exit(2);
}

const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length === 0 ? NaN : s.length % 2 ? s[s.length >> 1] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};
const quantile = (v, q) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length === 0 ? NaN : s[Math.min(s.length - 1, Math.floor(q * s.length))];
};

// Runs in the page: every step of the game's loop timed, and for each step that ticked, how long
// after the tick was due it began.
const WATCH = `(() => {
  const step = Module._tarnyx_step;
  const watch = window.tickWatch = { due: -1, late: [], step: [], steps: 0 };
  Module._tarnyx_step = () => {
    const start = performance.now(), ticks = tarnyxStats.ticks;
    const due = step();
    watch.steps += 1;
    if (tarnyxStats.ticks > ticks && watch.due >= 0) {
      watch.late.push(start - watch.due);
      watch.step.push(performance.now() - start);
    }
    if (due >= 0) watch.due = due;
    return due;
  };
  return true;
})()`;

const load = () => loadavg().map((l) => l.toFixed(2)).join(' ');
console.log(`load average at the start: ${load()}`);
const servers = await Promise.all(sites.map((s) => serve(resolve(s))));
const browser = await Browser.launch();
const results = {};  // site -> rate -> [measurement]
try {
  for (let round = 1; round <= rounds; ++round) {
    for (const [i, site] of sites.entries()) {
      for (const rate of rates) {
        const page = await browser.newPage(1024, 768);
        await page.navigate(`${servers[i].url}?seed=45296789`);
        await until(page, 'window.tarnyxStats && tarnyxStats.firstFrameAt > 0', 30000, 'the first frame');
        await until(page, "!document.getElementById('play').disabled", 30000, 'the start');
        await click(page, '#play');
        await until(page, "document.getElementById('cover').hidden", 5000, 'the start');
        await page.send('Emulation.setCPUThrottlingRate', { rate });
        await page.send('Input.dispatchKeyEvent', { type: 'rawKeyDown', code: 'ArrowUp', key: 'ArrowUp',
                                                    windowsVirtualKeyCode: 38, nativeVirtualKeyCode: 38 });
        await sleep(1500);
        await page.evaluate(WATCH);
        const read = () => page.evaluate('[tarnyxStats.ticks, performance.now()]');
        const [t0, s0] = await read();
        await sleep(seconds * 1000);
        const [t1, s1] = await read();
        const watch = await page.evaluate('tickWatch');
        const stats = await page.evaluate(`[tarnyxStats.tickMs.slice(-${t1 - t0}), tarnyxStats.presentMs.slice(-${t1 - t0})]`);
        await page.send('Emulation.setCPUThrottlingRate', { rate: 1 });
        await browser.send('Target.closeTarget', { targetId: page.targetId });
        const m = {
          rate: (t1 - t0) * 1000 / (s1 - s0),
          lateMedian: median(watch.late), late90: quantile(watch.late, 0.9),
          lateOver2: watch.late.filter((l) => l > 2).length / Math.max(1, watch.late.length),
          lateMax: Math.max(0, ...watch.late),
          stepMedian: median(watch.step), tickMedian: median(stats[0]), presentMedian: median(stats[1]),
          stepsPerTick: watch.steps / Math.max(1, watch.late.length),
        };
        ((results[site] ??= {})[rate] ??= []).push(m);
        console.log(`round ${round} ${site} ${rate}x: ${m.rate.toFixed(1)} ticks/s; late by ${m.lateMedian.toFixed(2)} ms ` +
                    `(90%: ${m.late90.toFixed(2)}, over 2 ms: ${(m.lateOver2 * 100).toFixed(0)}%, at most ${m.lateMax.toFixed(0)}), ` +
                    `tick ${m.tickMedian.toFixed(2)} ms ` +
                    `(present ${m.presentMedian.toFixed(2)}), ${m.stepsPerTick.toFixed(1)} steps a tick`);
      }
    }
  }
} finally {
  await browser.close();
  for (const { server } of servers) server.close();
}
console.log('\nmedians (ticks/s; late by; tick; present):');
for (const site of sites) {
  for (const rate of rates) {
    const list = results[site][rate];
    const f = (key) => median(list.map((m) => m[key]));
    console.log(`${site} ${rate}x: ${f('rate').toFixed(1)}; ${f('lateMedian').toFixed(2)} ms; ` +
                `${f('tickMedian').toFixed(2)} ms; ${f('presentMedian').toFixed(2)} ms`);
  }
}
console.log(`load average at the end: ${load()}`);

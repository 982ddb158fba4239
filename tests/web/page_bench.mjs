// The game's speed in a browser beside its native speed, measured in the same run: a quiet frame
// and the busiest frame (median and worst of each, in headless Chromium, timed in the page with
// performance.now(), the present into the canvas included, and its share), the first frame after
// the page starts loading from 127.0.0.1, and what the page weighs on the wire (gzip).
//
// Usage: node tests/web/page_bench.mjs WEB_BUILD NATIVE_BENCH_GAMEFRAME [NATIVE_BENCH_PORTABLE]
// The native program is the frame benchmark (bench/GameFrame.cpp) of the native build; the
// optional second one is the same built with the software extended type, as the page computes.
// The native frames present into the headless back end, which keeps the 8-bit frame as it is: the
// page's frames are also given without their present (the 8-to-32 conversion and the canvas).
import { execFileSync } from 'node:child_process';
import { readdirSync, readFileSync } from 'node:fs';
import { join, resolve } from 'node:path';
import { gzipSync } from 'node:zlib';

import { Browser } from './devtools.mjs';
import { serve, sleep, until } from './site.mjs';

const [webBuild, nativeBench, portableBench] = process.argv.slice(2);
if (!webBuild || !nativeBench) {
  console.error('usage: page_bench.mjs WEB_BUILD NATIVE_BENCH_GAMEFRAME [NATIVE_BENCH_PORTABLE]');
  process.exit(2);
}
const ROUNDS = 3, QUIET_FRAMES = 1000, BUSY_FRAMES = 300, LOADS = 5;

const median = (v) => {
  const s = [...v].sort((a, b) => a - b);
  return s.length % 2 ? s[s.length >> 1] : (s[s.length / 2 - 1] + s[s.length / 2]) / 2;
};

// The native frames in microseconds: the median of a few repetitions of each.
function nativeFrames(program) {
  const out = execFileSync(program, ['--benchmark_format=json', '--benchmark_repetitions=3',
                                         '--benchmark_report_aggregates_only=true'],
                           { encoding: 'utf8', maxBuffer: 1 << 24 });
  const figures = {};
  for (const b of JSON.parse(out).benchmarks) {
    const m = /^BM_(Quiet|Worst)Frame(?:_Portable)?_median$/.exec(b.name);
    if (m) figures[m[1]] = b.real_time * { ns: 1e-3, us: 1, ms: 1e3 }[b.time_unit];
  }
  return figures;
}

const { server, url } = await serve(resolve(webBuild));
const browser = await Browser.launch();
try {
  const rounds = [];
  for (let r = 0; r < ROUNDS; ++r) {
    const native = nativeFrames(nativeBench);
    const portable = portableBench ? nativeFrames(portableBench) : null;
    const page = await browser.newPage(1024, 768);
    await page.navigate(url + 'bench/bench.html');
    await until(page, 'window.benchReady === true', 30000, 'the benchmark program');
    const run = async (scene, count) =>
      JSON.parse(await page.evaluate(`Module.ccall('tarnyx_bench', 'string', ['number', 'number'], [${scene}, ${count}])`));
    // Warmed up first, as the native benchmark is: the first frames convert and put the whole
    // frame, and the browser compiles the program's hot code again, optimised (about 60 ms once).
    await run(0, 100);
    await run(1, 50);
    const quiet = await run(0, QUIET_FRAMES);
    const busy = await run(1, BUSY_FRAMES);
    await browser.send('Target.closeTarget', { targetId: page.targetId });
    rounds.push({ native, portable, quiet, busy });
  }

  const firstFrames = [];
  for (let i = 0; i < LOADS; ++i) {
    const page = await browser.newPage(1024, 768);
    await page.navigate(url + 'site/?seed=45296789');
    await until(page, 'window.tarnyxStats && tarnyxStats.firstFrameAt > 0', 30000, 'the first frame');
    firstFrames.push(await page.evaluate('tarnyxStats.firstFrameAt'));
    await browser.send('Target.closeTarget', { targetId: page.targetId });
    await sleep(200);
  }

  const pick = (f) => median(rounds.map(f));
  const peer = (which) => portableBench ? pick((r) => r.portable[which]) : null;
  const rows = [
    ['quiet frame, median', pick((r) => r.quiet.median * 1000), pick((r) => r.native.Quiet), peer('Quiet')],
    ['  without the present', pick((r) => r.quiet.withoutPresentMedian * 1000), pick((r) => r.native.Quiet), peer('Quiet')],
    ['quiet frame, worst of ' + QUIET_FRAMES, pick((r) => r.quiet.max * 1000), null, null],
    ['busiest frame, median', pick((r) => r.busy.median * 1000), pick((r) => r.native.Worst), peer('Worst')],
    ['  without the present', pick((r) => r.busy.withoutPresentMedian * 1000), pick((r) => r.native.Worst), peer('Worst')],
    ['busiest frame, worst of ' + BUSY_FRAMES, pick((r) => r.busy.max * 1000), null, null],
  ];
  const cell = (v, width) => (v === null ? '' : v.toFixed(v < 10 ? 2 : 0)).padStart(width);
  console.log(`frames (${ROUNDS} rounds, the median of each figure; native from ${nativeBench}` +
              `${portableBench ? `, software extended type from ${portableBench}` : ''})`);
  console.log('  what                            page µs   native µs   page / native' +
              (portableBench ? '   software µs   page / software' : ''));
  for (const [what, page, native, soft] of rows) {
    console.log(`  ${what.padEnd(30)} ${cell(page, 9)} ${cell(native, 11)}${cell(native && page / native, 16)}` +
                (portableBench ? `${cell(soft, 14)}${cell(soft && page / soft, 18)}` : ''));
  }
  const share = (r, kind) => r[kind].presentMedian / r[kind].median;
  console.log(`present (8 to 32 bits and into the canvas), median: ${pick((r) => r.quiet.presentMedian * 1000).toFixed(0)} µs, ` +
              `${(100 * pick((r) => share(r, 'quiet'))).toFixed(0)} % of a quiet frame, ` +
              `${(100 * pick((r) => share(r, 'busy'))).toFixed(0)} % of the busiest`);
  console.log(`first frame after the page starts loading: median ${median(firstFrames).toFixed(0)} ms of ` +
              `${LOADS} loads (${firstFrames.map((t) => t.toFixed(0)).join(', ')})`);

  const site = join(resolve(webBuild), 'site');
  let raw = 0, packed = 0;
  const files = readdirSync(site).sort().map((name) => {
    const bytes = readFileSync(join(site, name));
    const gz = gzipSync(bytes, { level: 9 }).length;
    raw += bytes.length;
    packed += gz;
    return `${name} ${(bytes.length / 1024).toFixed(0)} KB (${(gz / 1024).toFixed(0)} KB gzip)`;
  });
  console.log(`the page: ${(raw / 1024).toFixed(0)} KB, ${(packed / 1024).toFixed(0)} KB with gzip: ${files.join(', ')}`);
} finally {
  await browser.close();
  server.close();
}

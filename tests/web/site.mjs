// The built page served from its folder on 127.0.0.1, as any static web server would serve it,
// and the page opened in a fresh headless Chromium: what the browser test and the page's
// benchmark both start from.
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';

import { Browser } from './devtools.mjs';

const TYPES = {
  '.html': 'text/html; charset=utf-8', '.js': 'text/javascript', '.css': 'text/css',
  '.wasm': 'application/wasm', '.png': 'image/png', '.json': 'application/json',
  '.webmanifest': 'application/manifest+json',
};

// Serves the files of folder, and those of other folders under the paths mounts names
// ({ '/demos/': '/abs/folder' }, or a function (request, response) that answers those paths);
// resolves with { server, url }.
export async function serve(folder, mounts = {}) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const mount = Object.keys(mounts).find((m) => path.startsWith(m));
    // A mount may be a function that answers the request itself.
    if (mount && typeof mounts[mount] === 'function') {
      mounts[mount](request, response);
      return;
    }
    const root = mount ? mounts[mount] : folder;
    const inRoot = mount ? path.slice(mount.length - 1) : path;
    const file = join(root, inRoot.endsWith('/') ? inRoot + 'index.html' : inRoot);
    if (!file.startsWith(root)) {
      response.writeHead(403).end();
      return;
    }
    try {
      const body = await readFile(file);
      // Isolated from other origins, the page's clock reads to 5 µs instead of 100 µs.
      response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream',
                                'Cache-Control': 'no-store', 'Cross-Origin-Opener-Policy': 'same-origin',
                                'Cross-Origin-Embedder-Policy': 'require-corp' });
      response.end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, url: `http://127.0.0.1:${server.address().port}/` };
}

export const sleep = (ms) => new Promise((resolve) => setTimeout(resolve, ms));

// Waits until the page's expression is true, checking every 50 ms; rejects after timeoutMs.
export async function until(page, expression, timeoutMs, what) {
  const end = Date.now() + timeoutMs;
  for (;;) {
    // A page being replaced has no document for a moment: that is a "not yet".
    if (await page.evaluate(expression).catch(() => false)) return;
    if (Date.now() > end) throw new Error(`${what}: not within ${timeoutMs} ms`);
    await sleep(50);
  }
}

// Starts the browser, serves folder (and mounts, as serve does) and opens the page in a
// 1024 x 768 view, waiting for the game's first frame. Resolves with { browser, page, server,
// url }; close with closeSite.
export async function openSite(folder, query = '', mounts = {}) {
  const { server, url } = await serve(folder, mounts);
  let browser;
  try {
    browser = await Browser.launch();
    const page = await browser.newPage(1024, 768);
    await page.navigate(url + query);
    await until(page, 'window.tarnyxStats && tarnyxStats.firstFrameAt > 0', 30000, 'the first frame');
    return { browser, page, server, url };
  } catch (e) {
    if (browser) await browser.close();
    server.close();
    throw e;
  }
}

export async function closeSite(site) {
  await site.browser.close();
  site.server.close();
}

// A real click of the mouse in the middle of the page's element (a gesture, which browsers ask
// for before they give a page full screen, gamepads or, here, the game's start).
export async function click(page, selector) {
  const box = await page.evaluate(`(() => { const r = document.querySelector(${JSON.stringify(selector)})
      .getBoundingClientRect(); return { x: r.x + r.width / 2, y: r.y + r.height / 2 }; })()`);
  for (const type of ['mousePressed', 'mouseReleased'])
    await page.send('Input.dispatchMouseEvent', { type, x: box.x, y: box.y, button: 'left', clickCount: 1 });
}

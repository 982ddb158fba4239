// A headless Chromium driven over the DevTools protocol: start it with a fresh profile, open
// pages, send commands, wait for events, close it through the protocol and remove the profile.
// The protocol runs over a pair of pipes (the browser reads commands from its descriptor 3 and
// writes answers and events to its descriptor 4, each message JSON ending in a NUL byte), which
// every version of node can speak: no WebSocket, no port.
import { spawn } from 'node:child_process';
import { mkdtempSync, rmSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join } from 'node:path';

const FLAGS = [
  '--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--no-default-browser-check', '--mute-audio', '--remote-debugging-pipe',
];

export class Browser {
  // Starts the browser; rejects if it does not answer within timeoutMs.
  static async launch({ executable = '/usr/bin/chromium', timeoutMs = 30000, extraFlags = [] } = {}) {
    const profile = mkdtempSync(join(tmpdir(), 'tarnyx-chromium-'));
    const child = spawn(executable, [...FLAGS, ...extraFlags, `--user-data-dir=${profile}`, 'about:blank'],
                        { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    let log = '';
    child.stderr.on('data', (chunk) => { log = (log + chunk).slice(-4000); });
    const browser = new Browser(child, profile);
    try {
      await new Promise((resolve, reject) => {
        const timer = setTimeout(() => reject(new Error(`no answer within ${timeoutMs} ms:\n${log}`)), timeoutMs);
        child.on('exit', (code) => { clearTimeout(timer); reject(new Error(`chromium exited (${code}):\n${log}`)); });
        browser.send('Browser.getVersion').then(() => { clearTimeout(timer); resolve(); }, reject);
      });
    } catch (e) {
      child.kill('SIGKILL');
      rmSync(profile, { recursive: true, force: true });
      throw e;
    }
    return browser;
  }

  constructor(child, profile) {
    this.child = child;
    this.profile = profile;
    this.nextId = 1;
    this.pending = new Map();  // command id -> { resolve, reject, method }
    this.listeners = [];       // { sessionId, method, handler }
    this.input = child.stdio[3];
    let buffered = '';
    child.stdio[4].setEncoding('utf8');
    child.stdio[4].on('data', (chunk) => {
      buffered += chunk;
      for (let end = buffered.indexOf('\0'); end >= 0; end = buffered.indexOf('\0')) {
        const text = buffered.slice(0, end);
        buffered = buffered.slice(end + 1);
        this.receive(JSON.parse(text));
      }
    });
    // A browser that went away answers nothing more.
    child.on('exit', () => {
      for (const call of this.pending.values()) call.reject(new Error(`${call.method}: the browser ended`));
      this.pending.clear();
    });
  }

  receive(message) {
    if (message.id !== undefined) {
      const call = this.pending.get(message.id);
      if (!call) return;
      this.pending.delete(message.id);
      if (message.error) call.reject(new Error(`${call.method}: ${message.error.message}`));
      else call.resolve(message.result);
      return;
    }
    for (const l of [...this.listeners]) {
      if (l.method === message.method && l.sessionId === message.sessionId) l.handler(message.params);
    }
  }

  // Sends one command (to a page when sessionId is given) and resolves with its result.
  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.input.write(JSON.stringify(message) + '\0');
    });
  }

  on(method, handler, sessionId = undefined) {
    const listener = { method, handler, sessionId };
    this.listeners.push(listener);
    return () => { this.listeners = this.listeners.filter((l) => l !== listener); };
  }

  // Resolves with the parameters of the next browser event of that name that accept() takes,
  // or rejects after timeoutMs.
  waitFor(method, timeoutMs = 10000, accept = () => true, sessionId = undefined) {
    return new Promise((resolve, reject) => {
      const timer = setTimeout(() => { off(); reject(new Error(`no ${method} within ${timeoutMs} ms`)); }, timeoutMs);
      const off = this.on(method, (params) => {
        if (!accept(params)) return;
        clearTimeout(timer);
        off();
        resolve(params);
      }, sessionId);
    });
  }

  // Opens a new page of width x height CSS pixels and returns it, not yet navigated.
  async newPage(width = 1024, height = 768) {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, sessionId, targetId);
    await page.send('Page.enable');
    await page.send('Runtime.enable');
    await page.send('Emulation.setDeviceMetricsOverride',
                    { width, height, deviceScaleFactor: 1, mobile: false });
    return page;
  }

  // Closes the browser through the protocol, waits for it to end, then removes its profile.
  async close() {
    const ended = new Promise((resolve) => {
      if (this.child.exitCode !== null) resolve();
      else this.child.on('exit', resolve);
    });
    try {
      await Promise.race([this.send('Browser.close'), new Promise((r) => setTimeout(r, 5000))]);
    } catch { /* the browser may go before it answers */ }
    const late = setTimeout(() => this.child.kill('SIGKILL'), 10000);
    await ended;
    clearTimeout(late);
    rmSync(this.profile, { recursive: true, force: true });
  }
}

export class Page {
  constructor(browser, sessionId, targetId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.targetId = targetId;
    this.errors = [];  // uncaught exceptions and console errors, as text
    browser.on('Runtime.exceptionThrown', (p) => {
      const d = p.exceptionDetails;
      this.errors.push((d.exception && d.exception.description) || d.text);
    }, sessionId);
    browser.on('Runtime.consoleAPICalled', (p) => {
      if (p.type === 'error') this.errors.push(p.args.map((a) => a.value ?? a.description).join(' '));
    }, sessionId);
  }

  send(method, params = {}) { return this.browser.send(method, params, this.sessionId); }

  // Resolves with the parameters of the next event of that name, or rejects after timeoutMs.
  waitFor(method, timeoutMs = 10000, accept = () => true) {
    return this.browser.waitFor(method, timeoutMs, accept, this.sessionId);
  }

  async navigate(url) {
    const loaded = this.waitFor('Page.loadEventFired', 30000);
    const result = await this.send('Page.navigate', { url });
    if (result.errorText) throw new Error(`cannot load ${url}: ${result.errorText}`);
    await loaded;
  }

  // The value of a JavaScript expression in the page (awaited when it is a promise).
  async evaluate(expression) {
    const r = await this.send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) {
      const d = r.exceptionDetails;
      throw new Error(`${expression}: ${(d.exception && d.exception.description) || d.text}`);
    }
    return r.result.value;
  }

  // Presses or releases a key as the keyboard would: code as KeyboardEvent.code names it.
  async key(type, code, key, keyCode, modifiers = 0) {
    await this.send('Input.dispatchKeyEvent', {
      type, code, key, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode, modifiers,
    });
  }

  async screenshot() {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    return Buffer.from(data, 'base64');
  }
}

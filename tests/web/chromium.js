// Headless Chromium driven over its DevTools protocol, through the pipe transport
// (--remote-debugging-pipe: commands on fd 3, answers and events on fd 4, each
// message JSON ended by a NUL byte). No dependencies beyond Node itself.
'use strict';

const { spawn } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');

const CHROMIUM = process.env.TORV_CHROMIUM || '/usr/bin/chromium';

// Quiet, isolated, no network beyond the page: a fresh profile per launch.
const FLAGS = [
  '--headless=new', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
  '--disable-background-networking', '--disable-component-update', '--disable-sync',
  '--disable-default-apps', '--disable-extensions', '--mute-audio', '--no-default-browser-check',
  '--remote-debugging-pipe',
];

class Browser {
  // Starts Chromium. profileDir: a folder to keep between launches (to test what
  // survives closing the browser); by default a fresh one removed at close().
  static async launch({ width = 1000, height = 800, profileDir = null, extraFlags = [] } = {}) {
    const ownProfile = !profileDir;
    const profile = profileDir || fs.mkdtempSync(path.join(os.tmpdir(), 'torv-chromium-'));
    const args = [...FLAGS, `--user-data-dir=${profile}`, `--window-size=${width},${height}`, ...extraFlags,
                  'about:blank'];
    const child = spawn(CHROMIUM, args, { stdio: ['ignore', 'ignore', 'pipe', 'pipe', 'pipe'] });
    const browser = new Browser(child, profile, ownProfile);
    await browser.send('Target.setDiscoverTargets', { discover: false });
    return browser;
  }

  constructor(child, profile, ownProfile) {
    this.child = child;
    this.profile = profile;
    this.ownProfile = ownProfile;
    this.nextId = 1;
    this.pending = new Map();
    this.listeners = [];
    this.stderr = '';
    this.exited = new Promise((resolve) => child.on('exit', resolve));
    child.stderr.on('data', (d) => { this.stderr = (this.stderr + d).slice(-4000); });
    let buffered = Buffer.alloc(0);
    child.stdio[4].on('data', (chunk) => {
      buffered = Buffer.concat([buffered, chunk]);
      let end;
      while ((end = buffered.indexOf(0)) >= 0) {
        const message = JSON.parse(buffered.subarray(0, end).toString('utf8'));
        buffered = buffered.subarray(end + 1);
        this.dispatch(message);
      }
    });
    this.exited.then(() => {
      for (const { reject } of this.pending.values()) reject(new Error(`Chromium exited\n${this.stderr}`));
      this.pending.clear();
    });
  }

  dispatch(message) {
    if (message.id !== undefined) {
      const waiter = this.pending.get(message.id);
      if (!waiter) return;
      this.pending.delete(message.id);
      if (message.error) waiter.reject(new Error(`${waiter.method}: ${message.error.message}`));
      else waiter.resolve(message.result);
      return;
    }
    for (const listener of [...this.listeners]) listener(message);
  }

  send(method, params = {}, sessionId = undefined) {
    const id = this.nextId++;
    const message = { id, method, params };
    if (sessionId) message.sessionId = sessionId;
    return new Promise((resolve, reject) => {
      this.pending.set(id, { resolve, reject, method });
      this.child.stdio[3].write(JSON.stringify(message) + '\0');
    });
  }

  // A new tab with its own session (flat mode: the session id rides on each message).
  async newPage() {
    const { targetId } = await this.send('Target.createTarget', { url: 'about:blank' });
    const { sessionId } = await this.send('Target.attachToTarget', { targetId, flatten: true });
    const page = new Page(this, sessionId, targetId);
    await page.start();
    return page;
  }

  async close() {
    try {
      await Promise.race([this.send('Browser.close'), new Promise((r) => setTimeout(r, 3000))]);
    } catch (e) {
      // Already gone.
    }
    const killer = setTimeout(() => this.child.kill('SIGKILL'), 5000);
    await this.exited;
    clearTimeout(killer);
    if (this.ownProfile) fs.rmSync(this.profile, { recursive: true, force: true });
  }
}

class Page {
  constructor(browser, sessionId, targetId) {
    this.browser = browser;
    this.sessionId = sessionId;
    this.targetId = targetId;
    this.console = [];  // { level, text }: console calls, uncaught exceptions, log entries
    this.eventWaiters = [];
    browser.listeners.push((m) => {
      if (m.sessionId !== sessionId) return;
      this.onEvent(m.method, m.params);
    });
  }

  async start() {
    await Promise.all([this.send('Page.enable'), this.send('Runtime.enable'), this.send('Log.enable')]);
    // A tab opened through the protocol need not be the focused one, and keys go
    // only to a focused page.
    await this.send('Page.bringToFront');
    await this.send('Emulation.setFocusEmulationEnabled', { enabled: true });
  }

  send(method, params = {}) {
    return this.browser.send(method, params, this.sessionId);
  }

  onEvent(method, params) {
    if (method === 'Runtime.consoleAPICalled') {
      const text = params.args.map((a) => (a.value !== undefined ? String(a.value) : a.description || '')).join(' ');
      this.console.push({ level: params.type, text });
    } else if (method === 'Runtime.exceptionThrown') {
      const d = params.exceptionDetails;
      this.console.push({ level: 'error', text: `uncaught: ${(d.exception && d.exception.description) || d.text}` });
    } else if (method === 'Log.entryAdded') {
      this.console.push({ level: params.entry.level, text: `${params.entry.source}: ${params.entry.text} ${params.entry.url || ''}` });
    }
    for (const w of [...this.eventWaiters]) {
      if (w.method === method && w.accept(params)) {
        this.eventWaiters.splice(this.eventWaiters.indexOf(w), 1);
        w.resolve(params);
      }
    }
  }

  waitForEvent(method, accept = () => true, timeoutMs = 30000) {
    return new Promise((resolve, reject) => {
      // The timer ends with the wait: a pending one would keep Node running.
      const w = { method, accept, resolve: (params) => { clearTimeout(timer); resolve(params); } };
      this.eventWaiters.push(w);
      const timer = setTimeout(() => {
        const i = this.eventWaiters.indexOf(w);
        if (i >= 0) {
          this.eventWaiters.splice(i, 1);
          reject(new Error(`timed out waiting for ${method}`));
        }
      }, timeoutMs);
    });
  }

  errors() {
    return this.console.filter((c) => c.level === 'error' || c.level === 'assert');
  }

  // Navigates and waits for the load event.
  async goto(url) {
    const loaded = this.waitForEvent('Page.loadEventFired');
    const r = await this.send('Page.navigate', { url });
    if (r.errorText) throw new Error(`navigation to ${url}: ${r.errorText}`);
    await loaded;
  }

  async reload() {
    const loaded = this.waitForEvent('Page.loadEventFired');
    await this.send('Page.reload', { ignoreCache: false });
    await loaded;
  }

  // The value of a JavaScript expression (awaited when it is a promise).
  async evaluate(expression) {
    const r = await this.send('Runtime.evaluate', { expression, awaitPromise: true, returnByValue: true });
    if (r.exceptionDetails) {
      const d = r.exceptionDetails;
      throw new Error(`evaluate: ${(d.exception && d.exception.description) || d.text}`);
    }
    return r.result.value;
  }

  // Polls an expression until it is truthy; answers its value.
  async waitFor(expression, { timeoutMs = 30000, intervalMs = 50, what = expression } = {}) {
    const deadline = Date.now() + timeoutMs;
    for (;;) {
      const v = await this.evaluate(expression);
      if (v) return v;
      if (Date.now() > deadline) throw new Error(`timed out waiting for ${what}`);
      await new Promise((r) => setTimeout(r, intervalMs));
    }
  }

  // A key as the keyboard sends it: DOM key, code and the Windows key code.
  async key(type, { key, code, keyCode }) {
    await this.send('Input.dispatchKeyEvent', {
      type, key, code, windowsVirtualKeyCode: keyCode, nativeVirtualKeyCode: keyCode,
    });
  }

  async click(x, y) {
    for (const type of ['mousePressed', 'mouseReleased']) {
      await this.send('Input.dispatchMouseEvent', { type, x, y, button: 'left', clickCount: 1 });
    }
  }

  async close() {
    await this.browser.send('Target.closeTarget', { targetId: this.targetId });
  }

  async screenshot(file) {
    const { data } = await this.send('Page.captureScreenshot', { format: 'png' });
    fs.writeFileSync(file, Buffer.from(data, 'base64'));
  }
}

module.exports = { Browser, Page };

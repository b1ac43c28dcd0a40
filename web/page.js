// The page around the game: loads the data package with a progress bar, starts the
// WebAssembly module, scales the canvas by whole numbers, keeps the keyboard on the
// game, and shows a plain message when something cannot load. The module's own
// browser glue (saves in IndexedDB, frame hooks) is in module_pre.js.
'use strict';

(function () {
  const WIDTH = 640;
  const HEIGHT = 480;
  const DATA_PACKAGE = 'torv.data';
  const DATA_DIR = '/data';
  const FONT = 'torv-gothic-subset.ttf';
  const canvas = document.getElementById('canvas');
  const stage = document.getElementById('stage');
  const below = document.getElementById('below');
  const overlay = document.getElementById('overlay');
  const statusLine = document.getElementById('status');
  const bar = document.getElementById('bar');
  const barFill = bar.firstElementChild;
  const message = document.getElementById('message');
  const note = document.getElementById('note');
  const muteButton = document.getElementById('mute');
  const fullscreenButton = document.getElementById('fullscreen');
  const params = new URLSearchParams(location.search);
  let failed = false;
  let started = false;  // the WebAssembly runtime is up

  function showError(text) {
    failed = true;
    overlay.hidden = false;
    statusLine.hidden = true;
    bar.hidden = true;
    message.textContent = text;
    message.hidden = false;
  }

  // A message that is not an error: the picture stays, the text goes below it.
  function showNote(text) {
    note.textContent = text;
    note.hidden = false;
  }

  function setProgress(done, total) {
    barFill.style.width = total > 0 ? `${Math.min(100, (100 * done) / total).toFixed(1)}%` : '0';
    if (total > 0) statusLine.textContent = `Loading… ${(done / 1048576).toFixed(1)} of ${(total / 1048576).toFixed(1)} MB`;
  }

  // The largest whole multiple of the picture that fits above the controls (or the
  // whole screen in full screen), in device pixels, placed at whole device pixels:
  // the canvas is then never resampled, and every pixel stays sharp.
  function fit() {
    const full = document.fullscreenElement === stage;
    const dpr = window.devicePixelRatio || 1;
    const roomX = window.innerWidth * dpr;
    const roomY = (window.innerHeight - (full ? 0 : below.offsetHeight)) * dpr;
    const k = Math.max(1, Math.floor(Math.min(roomX / WIDTH, roomY / HEIGHT)));
    canvas.style.width = `${(WIDTH * k) / dpr}px`;
    canvas.style.height = `${(HEIGHT * k) / dpr}px`;
    const left = `${Math.max(0, Math.floor((roomX - WIDTH * k) / 2)) / dpr}px`;
    const top = `${Math.max(0, Math.floor((roomY - HEIGHT * k) / 2)) / dpr}px`;
    // In full screen the stage is the screen and the canvas moves inside it.
    (full ? canvas : stage).style.marginLeft = left;
    (full ? canvas : stage).style.marginTop = top;
    (full ? stage : canvas).style.marginLeft = '0';
    (full ? stage : canvas).style.marginTop = '0';
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();

  // The game reads the keyboard from the canvas: give it focus on load and after any
  // click, and keep arrows and space from scrolling the page.
  function focusGame() {
    canvas.focus({ preventScroll: true });
  }
  const SCROLL_KEYS = new Set(['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Space', 'PageUp',
                               'PageDown', 'Home', 'End']);
  window.addEventListener('keydown', (e) => {
    if (SCROLL_KEYS.has(e.code)) e.preventDefault();
  }, { capture: true });
  document.addEventListener('click', focusGame);
  window.addEventListener('load', focusGame);
  focusGame();

  // Browsers start audio only after a gesture: a key or click resumes it, unless the
  // player muted the game. The runtime resumes it on the first gesture on its own;
  // ours runs after that, so a muted game stays silent.
  let muted = localStorage.getItem('torv-muted') === '1';
  function audioContext() {
    return window.Module && Module.SDL2 && Module.SDL2.audioContext;
  }
  const watched = new WeakSet();
  function applyMute() {
    muteButton.textContent = muted ? 'Sound on' : 'Mute';
    const ctx = audioContext();
    if (!ctx) return;
    // The runtime may resume the context later than our handlers run (its resume is
    // asynchronous), so a muted game puts it back to sleep whenever it wakes.
    if (!watched.has(ctx)) {
      watched.add(ctx);
      ctx.addEventListener('statechange', () => {
        if (muted && ctx.state === 'running') ctx.suspend();
      });
    }
    if (muted) ctx.suspend();
    else ctx.resume();
  }
  for (const type of ['keydown', 'mousedown', 'touchstart']) {
    window.addEventListener(type, () => setTimeout(applyMute), { capture: true });
  }
  muteButton.addEventListener('click', () => {
    muted = !muted;
    localStorage.setItem('torv-muted', muted ? '1' : '0');
    applyMute();
  });
  muteButton.textContent = muted ? 'Sound on' : 'Mute';

  fullscreenButton.addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else if (stage.requestFullscreen) stage.requestFullscreen().catch(() => {});
  });

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    showError('This game needs WebAssembly, which this browser does not offer or has switched off.');
    return;
  }

  // Each download with its progress counted in one bar.
  const progress = new Map();
  function showProgress() {
    let done = 0;
    let total = 0;
    for (const p of progress.values()) {
      done += p.done;
      total += p.total;
    }
    setProgress(done, total);
  }

  async function fetchBytes(url) {
    const response = await fetch(url);
    if (!response.ok) throw new Error(`${response.status} ${response.statusText}`.trim());
    const mine = { done: 0, total: Number(response.headers.get('Content-Length')) || 0 };
    progress.set(url, mine);
    const reader = response.body.getReader();
    const chunks = [];
    for (;;) {
      const part = await reader.read();
      if (part.done) break;
      chunks.push(part.value);
      mine.done += part.value.length;
      showProgress();
    }
    const bytes = new Uint8Array(mine.done);
    let at = 0;
    for (const c of chunks) {
      bytes.set(c, at);
      at += c.length;
    }
    return bytes;
  }

  // The data package: "TORVDATA", a little-endian 32-bit length, a JSON list of
  // {name, size}, then the files' bytes in that order (web/pack_data.js).
  function unpack(bytes) {
    const magic = new TextDecoder().decode(bytes.subarray(0, 8));
    if (magic !== 'TORVDATA') throw new Error('not a data package');
    const headerSize = new DataView(bytes.buffer).getUint32(8, true);
    const list = JSON.parse(new TextDecoder().decode(bytes.subarray(12, 12 + headerSize)));
    let at = 12 + headerSize;
    const files = [];
    for (const { name, size } of list) {
      if (at + size > bytes.length) throw new Error('the data package is cut short');
      files.push({ name, bytes: bytes.subarray(at, at + size) });
      at += size;
    }
    return files;
  }

  // The font is a file of its own beside the package, so that another font (the
  // original of this subset) can take its place under the same name.
  function loading(what, promise) {
    promise.catch((e) => showError(`The ${what} could not be loaded: ${e.message}.\nReload the page to try again.`));
    return promise;
  }
  const data = Promise.all([
    loading(`game data (${DATA_PACKAGE})`, fetchBytes(DATA_PACKAGE).then(unpack)),
    loading(`font (${FONT})`, fetchBytes(FONT).then((bytes) => [{ name: FONT, bytes }])),
  ]).then((parts) => parts.flat());

  // Test and benchmark runs pass an input script (?script=URL), fed to the game as
  // key events the way the desktop game's --script does; ?deterministic=1 adds
  // --deterministic (every frame on time, a fixed seed).
  const script = params.get('script');
  const scriptText = script ? fetch(script).then((r) => {
    if (!r.ok) throw new Error(`the input script ${script}: ${r.status} ${r.statusText}`.trim());
    return r.text();
  }) : Promise.resolve(null);
  const args = ['--data', DATA_DIR, '--font', `${DATA_DIR}/${FONT}`, '--window-scale', '1'];
  if (params.get('deterministic') === '1') args.push('--deterministic');

  window.Module = {
    canvas,
    arguments: args,
    // module_pre.js turns these into files before the game starts.
    torvFiles: Promise.all([data, scriptText]),
    onRuntimeInitialized() {
      started = true;
      if (failed) return;
      overlay.hidden = true;
      applyMute();
      focusGame();
    },
    onAbort(what) {
      if (failed) return;
      // Before the runtime is up an abort means the code itself did not load.
      if (!started) showError(`The game's code (torv.wasm) could not be loaded: ${what}.\nReload the page to try again.`);
      else showError(`The game stopped: ${what}.\nReload the page to start again.`);
    },
    // The game's own messages (web/message_box_web.cpp): why it cannot go on.
    torvShowMessage(isError, text) {
      if (isError) showError(text);
      else console.log(text);
    },
    torvEnded() {
      if (failed) return;
      document.body.classList.add('ended');
      showNote('The game has ended. Reload the page to play again.');
    },
    print(text) {
      console.log(text);
    },
    printErr(text) {
      console.warn(text);
    },
  };
  Module.torvFiles.catch((e) => {
    if (!failed) showError(`The game could not start: ${e.message}.`);
  });

  const glue = document.createElement('script');
  glue.src = 'torv.js';
  glue.onerror = () => showError('The game (torv.js) could not be loaded. Reload the page to try again.');
  document.body.appendChild(glue);
})();

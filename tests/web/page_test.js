// The browser game in headless Chromium, against the page served from 127.0.0.1:
//   title    the page loads with no console error, and the title frame on the canvas
//            is the native front-end's title frame, pixel for pixel;
//   keys     key presses start a game;
//   mute     muted before the first key, the game stays silent; unmuted, it plays;
//   replay   stage 1's replay, fed through the input-script path, reaches the goal;
//   save     pause, save to file 3, close the browser, start it again on the same
//            profile, continue from file 3: the saved stage comes back;
//   missing-files  a page served without its data package, its font, its code or
//            its script says which.
// Usage: node page_test.js --web DIR --data DIR --native TORV --replays DIR
'use strict';

const { spawnSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const { Browser } = require('./chromium');
const { readPng } = require('./png');
const { canvasFrame, differingPixels, framesDone, waitFrames, pressKey, scriptedRun, nativeOutcome, runCases } =
  require('./page_tools');
const { serve } = require('./static_server');

const options = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) options[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
for (const name of ['web', 'data', 'native', 'replays']) {
  if (!options[name]) {
    console.error('usage: node page_test.js --web DIR --data DIR --native TORV --replays DIR');
    process.exit(2);
  }
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'torv-web-test-'));
const TITLE_FRAMES = 30;
const nativeGame = { game: options.native, data: options.data, home: path.join(work, 'native-home') };

function writeScript(name, lines) {
  fs.writeFileSync(path.join(work, name), `${lines.join('\n')}\n`);
  return `/scripts/${name}`;
}

// Title: one idle frame, the decide key (start), one frame for its release; then
// stage 1's replay; then the goal's pause, the time bonus and the next stage's start.
const stageOne = fs.readFileSync(path.join(options.replays, '0001.txt'), 'utf8').split('\n')
  .filter((l) => l.trim() !== '' && !l.startsWith('#'));
const toStageTwo = ['1 -', '1 J', '1 -', ...stageOne, '420 -'];
// Pause, down to "save", right twice to file 3, choose; the notice waits for the
// decide key; then a few idle frames.
const saveToFileThree = [...toStageTwo, '1 P', '2 -', '1 D', '2 -', '1 R', '2 -', '1 R', '2 -', '1 J', '2 -', '1 J',
  '10 -'];
// Title: down to "continue", right twice to file 3, choose; then a second of play.
const continueFileThree = ['1 -', '1 D', '2 -', '1 R', '2 -', '1 R', '2 -', '1 J', '60 -'];

// The native front-end's title frame: SDL's dummy video driver, the frames read
// back from the renderer as PNG files.
function nativeTitleFrame() {
  const script = path.join(work, 'title.txt');
  fs.writeFileSync(script, `${TITLE_FRAMES} -\n`);
  const frames = path.join(work, 'native-frames');
  fs.mkdirSync(frames);
  const run = spawnSync(options.native, ['--data', options.data, '--window-scale', '1', '--deterministic',
    '--script', script, '--frames', frames], {
    env: { ...process.env, XDG_DATA_HOME: path.join(work, 'native-home'), SDL_VIDEODRIVER: 'dummy',
           SDL_AUDIODRIVER: 'dummy', ASAN_OPTIONS: 'detect_leaks=0' },
    encoding: 'utf8', timeout: 120000,
  });
  if (run.status !== 0) throw new Error(`the native game failed (${run.status}): ${run.stderr}`);
  const last = fs.readdirSync(frames).filter((f) => f.endsWith('.png')).sort().pop();
  if (!last) throw new Error('the native game wrote no frame');
  return readPng(path.join(frames, last));
}

const KEY_Z = { key: 'z', code: 'KeyZ', keyCode: 90 };

// The cases reach the run's server and browser as these two.
let server;
let browser;
const cases = [];
function test(name, body) {
  cases.push({ name, body: (run) => { ({ server, browser } = run); return body(); } });
}

test('title', async () => {
  const native = nativeTitleFrame();
  const page = await browser.newPage();
  await page.goto(server.url);
  await page.waitFor(`${framesDone} >= ${TITLE_FRAMES}`, { timeoutMs: 60000, what: 'the title' });
  const shown = await canvasFrame(page);
  const diff = differingPixels(shown, native);
  if (diff.count > 0) {
    fs.writeFileSync(path.join(work, 'title-canvas.rgba'), shown.rgba);
    throw new Error(`${diff.count} pixels differ from the native title frame, first ${diff.first}`);
  }
  const errors = page.errors();
  if (errors.length) throw new Error(`console errors: ${errors.map((e) => e.text).join(' | ')}`);
  test.title = native;
  test.titlePage = page;
});

test('keys', async () => {
  const page = test.titlePage;
  if (!page) throw new Error('needs the title case');
  await page.evaluate("window.keysSeen = []; for (const t of ['keydown', 'keyup', 'blur', 'focus']) window.addEventListener(t, (e) => window.keysSeen.push(t + ':' + (e.code || '') + ':' + Module.torvTurns), true)");
  await pressKey(page, KEY_Z);
  await waitFrames(page, 30);
  const shown = await canvasFrame(page);
  // The stage and its status bar replace the whole title picture.
  const diff = differingPixels(shown, test.title);
  if (diff.count < 640 * 480 / 2) {
    const seen = await page.evaluate('JSON.stringify({ keys: window.keysSeen, focus: document.hasFocus() })');
    throw new Error(`after Z only ${diff.count} pixels changed: still the title? (page saw ${seen})`);
  }
  const errors = page.errors();
  if (errors.length) throw new Error(`console errors: ${errors.map((e) => e.text).join(' | ')}`);
  await page.close();
});

// Muted before the first key, the game stays silent through keys (the runtime
// resumes the audio on the first key of its own accord); unmuted, it plays.
test('mute', async () => {
  const page = await browser.newPage();
  await page.goto(server.url);
  await page.waitFor(`${framesDone} >= ${TITLE_FRAMES}`, { timeoutMs: 60000, what: 'the title' });
  const audio = 'Module.SDL2 && Module.SDL2.audioContext ? Module.SDL2.audioContext.state : "none"';
  const button = await page.evaluate(`(() => {
    const r = document.getElementById('mute').getBoundingClientRect();
    return { x: r.x + r.width / 2, y: r.y + r.height / 2 };
  })()`);
  await page.click(button.x, button.y);
  await pressKey(page, { key: 'ArrowRight', code: 'ArrowRight', keyCode: 39 });
  await waitFrames(page, 10);
  const muted = await page.evaluate(audio);
  if (muted !== 'suspended') throw new Error(`muted, a key turned the sound on (${muted})`);
  await page.click(button.x, button.y);
  await page.waitFor(`${audio} === 'running'`, { what: 'the sound on after unmuting' });
  await page.close();
});

test('replay', async () => {
  const page = await browser.newPage();
  const script = writeScript('stage1.txt', toStageTwo);
  const native = nativeOutcome(nativeGame, path.join(work, path.basename(script)));
  native.catch(() => {});  // a failure is awaited below, once the page has run
  const line = await scriptedRun(page, `${server.url}?deterministic=1&script=${script}`);
  if (!/ stage=0002\.afb stage_number=2$/.test(line)) throw new Error(`stage 1's goal not reached: ${line}`);
  // Frames, score, lives, place and time as the native game ends the same script.
  if (line !== await native) throw new Error(`the page ended "${line}", the native game "${await native}"`);
  await page.waitFor("document.body.classList.contains('ended')", { what: 'the end notice' });
  await page.close();
});

test('save', async () => {
  const profile = fs.mkdtempSync(path.join(work, 'profile-'));
  let first = await Browser.launch({ profileDir: profile });
  try {
    const page = await first.newPage();
    const line = await scriptedRun(page, `${server.url}?deterministic=1&script=${writeScript('save.txt', saveToFileThree)}`);
    if (!/ stage=0002\.afb stage_number=2$/.test(line)) throw new Error(`the saving run ended elsewhere: ${line}`);
    await page.waitFor('Module.torvSaves.asked > 0 && Module.torvSaves.done === Module.torvSaves.asked',
                       { what: 'the save reaching IndexedDB' });
    const failed = await page.evaluate('Module.torvSaves.failed');
    if (failed) throw new Error(`${failed} writes to IndexedDB failed`);
  } finally {
    await first.close();
  }
  const second = await Browser.launch({ profileDir: profile });
  try {
    const page = await second.newPage();
    const line = await scriptedRun(page,
      `${server.url}?deterministic=1&script=${writeScript('continue.txt', continueFileThree)}`);
    if (!/ stage=0002\.afb stage_number=2$/.test(line)) throw new Error(`file 3 did not bring stage 2 back: ${line}`);
  } finally {
    await second.close();
  }
});

// A page served without one of its files says which, instead of a blank canvas.
test('missing-files', async () => {
  const cases = [
    { hide: '/torv.data', message: /torv\.data.*could not be loaded/ },
    { hide: '/torv-gothic-subset.ttf', message: /font \(torv-gothic-subset\.ttf\) could not be loaded/ },
    { hide: '/torv.wasm', message: /torv\.wasm.*could not be loaded/ },
    { hide: '/torv.js', message: /torv\.js.*could not be loaded/ },
  ];
  for (const c of cases) {
    const bare = await serve({ mounts: { '/': options.web }, hidden: new Set([c.hide]) });
    try {
      const page = await browser.newPage();
      await page.goto(bare.url);
      const text = await page.waitFor(`(() => {
        const m = document.getElementById('message');
        return !m.hidden && !document.getElementById('overlay').hidden && m.textContent;
      })()`, { what: `the error message without ${c.hide}` });
      if (!c.message.test(text)) throw new Error(`without ${c.hide}, an unexpected message: ${text}`);
      await page.close();
    } finally {
      await bare.close();
    }
  }
});

runCases(cases, { mounts: { '/': options.web, '/scripts/': work }, work });

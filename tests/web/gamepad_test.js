// The browser game played with a gamepad, in headless Chromium. Chromium has no pad
// here: fake_gamepad.js plugs a standard-mapping one in through the Gamepad API.
//   mapping  for each run of pad states in the table below, a scripted page played
//            with the pad ends as the native game ends when played on the keys the
//            desktop's pad mapping gives (B jumps and chooses, A dashes, X attacks,
//            LB pauses, the cross pad and the left stick are the arrows); each pad
//            run leaves its trace: the native game without it ends elsewhere;
//   hot-plug the page as played, at the title: a pad plugged in moves the cursor
//            (shown once the button is let go: here by unplugging the pad while it
//            is held); the keyboard moves it back; plugged in again, B starts a game.
// Usage: node gamepad_test.js --web DIR --data DIR --native TORV
'use strict';

const fs = require('fs');
const os = require('os');
const path = require('path');
const { canvasFrame, differingPixels, framesDone, waitFrames, pressKey, scriptedRun, nativeOutcome, runCases } =
  require('./page_tools');

const options = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) options[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
for (const name of ['web', 'data', 'native']) {
  if (!options[name]) {
    console.error('usage: node gamepad_test.js --web DIR --data DIR --native TORV');
    process.exit(2);
  }
}

const work = fs.mkdtempSync(path.join(os.tmpdir(), 'torv-gamepad-test-'));
const nativeGame = { game: options.native, data: options.data, home: path.join(work, 'native-home') };
const FAKE_PAD = fs.readFileSync(path.join(__dirname, 'fake_gamepad.js'), 'utf8');

// The standard mapping's button numbers.
const [A, B, X, LB, UP, DOWN, LEFT, RIGHT] = [0, 1, 2, 4, 12, 13, 14, 15];

// One run of frames: what the pad does (held buttons and stick, or 'unplugged'),
// what a desktop player holds on the keyboard for the same effect (input script
// keys), and what the page's own script holds on the keyboard meanwhile. unlike: the
// keys the native game is also played with in place of `keys`, to show the run leaves
// a trace (by default nothing held; null where the run is not checked).
function run(frames, keys, pad, { keyboard = '-', unlike = keys === '-' ? null : '-' } = {}) {
  return { frames, keys, pad, keyboard, unlike };
}
const idle = {};
const stick = (x, y) => ({ axes: [x, y] });
const press = (...buttons) => ({ buttons });

// From the title's first item, after a frame to settle.
const START = [run(1, '-', idle), run(1, 'J', press(B)), run(1, '-', idle)];

const mappingCases = [
  { name: 'cross pad on the title', runs: [
    // Down to "continue", up again, choose "start": without either, the game quits
    // or never starts.
    run(1, '-', idle), run(2, 'D', press(DOWN)), run(2, '-', idle), run(2, 'U', press(UP)), run(2, '-', idle),
    run(1, 'J', press(B)), run(1, '-', idle), run(30, 'R', press(RIGHT))] },
  { name: 'cross pad in play', runs: [
    ...START, run(30, 'R', press(RIGHT)), run(20, 'DL', press(DOWN, LEFT)), run(10, '-', idle)] },
  { name: 'left stick on the title', runs: [
    run(1, '-', idle), run(2, 'D', stick(0, 0.9)), run(2, '-', idle), run(2, 'U', stick(0, -0.9)), run(2, '-', idle),
    run(1, 'J', press(B)), run(1, '-', idle), run(30, 'R', stick(0.8, 0))] },
  { name: 'left stick in play', runs: [
    ...START, run(30, 'R', stick(0.8, 0)), run(20, 'LU', stick(-0.7, -0.7)),
    // Inside the dead zone: a stick at rest is never quite centred.
    run(20, '-', stick(0.1, -0.1), { unlike: 'R' })] },
  { name: 'face buttons', runs: [
    ...START, run(20, 'RS', press(RIGHT, A), { unlike: 'R' }), run(20, 'RA', press(RIGHT, X), { unlike: 'R' }),
    // Ends in the air.
    run(10, 'RJ', press(RIGHT, B), { unlike: 'R' })] },
  { name: 'shoulder pauses', runs: [
    ...START, run(20, 'R', press(RIGHT)), run(1, 'P', press(LB)), run(30, '-', idle)] },
  { name: 'unplugged while held, then the keyboard', runs: [
    // A pad that stayed held after it went would walk on.
    ...START, run(20, 'R', press(RIGHT)), run(20, '-', 'unplugged', { unlike: 'R' }),
    run(20, 'L', 'unplugged', { keyboard: 'L' }),
    // Plugged in again while playing (SDL takes what is held as it comes in for
    // the pad at rest: nothing held then).
    run(1, '-', idle), run(20, 'R', press(RIGHT))] },
];

function writeScript(name, runs, column) {
  fs.writeFileSync(path.join(work, name), `${runs.map((r) => `${r.frames} ${r[column]}`).join('\n')}\n`);
  return name;
}

// A page whose pad is there from its first script on: following `timeline`, or
// unplugged until the test plugs it in.
async function pageWithPad(browser, timeline = null) {
  const page = await browser.newPage();
  const follow = timeline ? `testPad.follow(${JSON.stringify(timeline)});` : '';
  await page.send('Page.addScriptToEvaluateOnNewDocument', { source: `${FAKE_PAD}\n${follow}` });
  return page;
}

async function mappingCase({ browser, server }, c) {
  const slug = c.name.replace(/\W+/g, '-');
  const native = (name) => nativeOutcome(nativeGame, path.join(work, name));
  const desktop = native(writeScript(`${slug}-desktop.txt`, c.runs, 'keys'));
  desktop.catch(() => {});  // a failure is awaited below, once the page has run
  const pageScript = writeScript(`${slug}-page.txt`, c.runs, 'keyboard');
  const page = await pageWithPad(browser, c.runs.map((r) => [r.frames, r.pad]));
  const line = await scriptedRun(page, `${server.url}?deterministic=1&script=/scripts/${pageScript}`);
  const errors = page.errors();
  await page.close();
  const expected = await desktop;
  if (line !== expected) throw new Error(`the page ended "${line}", the desktop keys "${expected}"`);
  if (errors.length) throw new Error(`console errors: ${errors.map((e) => e.text).join(' | ')}`);
  for (let i = 0; i < c.runs.length; ++i) {
    if (c.runs[i].unlike === null) continue;
    const runs = c.runs.map((r, j) => (j === i ? { ...r, keys: r.unlike } : r));
    const other = await native(writeScript(`${slug}-unlike-${i}.txt`, runs, 'keys'));
    if (other === expected) {
      throw new Error(`run ${i + 1} (${c.runs[i].frames} ${c.runs[i].keys}) leaves no trace: ` +
                      `"${c.runs[i].unlike}" there ends the same`);
    }
  }
}

// The title waits for input and draws the same frame until it comes.
const TITLE_FRAMES = 30;
const KEY_UP = { key: 'ArrowUp', code: 'ArrowUp', keyCode: 38 };

// Does something with the pad (a call of window.testPad), then lets the game play
// a few frames.
async function padDoes(page, call) {
  await page.evaluate(`testPad.${call}`);
  await waitFrames(page, 3);
}

async function hotPlug({ browser, server }) {
  const page = await pageWithPad(browser);
  await page.goto(server.url);
  await page.waitFor(`${framesDone} >= ${TITLE_FRAMES}`, { timeoutMs: 60000, what: 'the title' });
  const title = await canvasFrame(page);
  await waitFrames(page, 3);
  if (differingPixels(await canvasFrame(page), title).count) throw new Error('the title changes by itself');

  // The title moves its cursor once the key or button is let go: here by unplugging
  // the pad while it is held (a pad that stayed held after it went would keep the
  // title waiting).
  for (const call of ['plug()', `hold({ buttons: [${DOWN}] })`, 'unplug()']) await padDoes(page, call);
  if (!differingPixels(await canvasFrame(page), title).count) {
    throw new Error('the cross pad plugged in at the title, then unplugged, moved nothing');
  }
  await pressKey(page, KEY_UP);
  const back = differingPixels(await canvasFrame(page), title);
  if (back.count) {
    throw new Error(`after the pad went, the Up key did not bring the title back (${back.count} pixels, ` +
                    `first ${back.first})`);
  }

  // Plugged in again, at rest, then B pressed and let go.
  for (const call of ['hold({})', 'plug()', `hold({ buttons: [${B}] })`, 'hold({})']) await padDoes(page, call);
  await waitFrames(page, 30);
  // The stage and its status bar replace the whole title picture.
  const playing = differingPixels(await canvasFrame(page), title);
  if (playing.count < 640 * 480 / 2) throw new Error(`after B only ${playing.count} pixels changed: still the title?`);
  const errors = page.errors();
  if (errors.length) throw new Error(`console errors: ${errors.map((e) => e.text).join(' | ')}`);
  await page.close();
}

const cases = [
  ...mappingCases.map((c) => ({ name: `mapping: ${c.name}`, body: (run) => mappingCase(run, c) })),
  { name: 'hot-plug', body: hotPlug },
];

runCases(cases, { mounts: { '/': options.web, '/scripts/': work }, work });

// What the browser tests share: the canvas as the page shows it, pixel comparison,
// the game's frame count, keys held across whole frames, the outcome line of a
// scripted run in the page and in the native front-end, and running the cases.
'use strict';

const { execFile } = require('child_process');
const fs = require('fs');
const { Browser } = require('./chromium');
const { decodePng } = require('./png');
const { serve } = require('./static_server');

// The canvas as the page shows it, one pixel per game pixel.
async function canvasFrame(page) {
  const box = await page.evaluate(`(() => {
    const r = document.getElementById('canvas').getBoundingClientRect();
    return { x: r.x, y: r.y, width: r.width, height: r.height, dpr: devicePixelRatio };
  })()`);
  if (box.dpr !== 1 || box.x % 1 || box.y % 1 || box.width !== 640 || box.height !== 480) {
    throw new Error(`the canvas is not at whole pixels 640 x 480 here: ${JSON.stringify(box)}`);
  }
  const { data } = await page.send('Page.captureScreenshot', {
    format: 'png', clip: { x: box.x, y: box.y, width: 640, height: 480, scale: 1 },
  });
  return decodePng(Buffer.from(data, 'base64'));
}

// count: pixels that differ in any channel; first: where and how the first one does.
function differingPixels(a, b) {
  if (a.width !== b.width || a.height !== b.height) return { count: Infinity, first: 'sizes differ' };
  let count = 0;
  let first = null;
  for (let p = 0; p < a.width * a.height; ++p) {
    const i = p * 4;
    const d = Math.max(Math.abs(a.rgba[i] - b.rgba[i]), Math.abs(a.rgba[i + 1] - b.rgba[i + 1]),
                       Math.abs(a.rgba[i + 2] - b.rgba[i + 2]));
    if (d === 0) continue;
    if (!first) first = `(${p % a.width}, ${Math.floor(p / a.width)}): ${[...a.rgba.subarray(i, i + 3)]} vs ${[...b.rgba.subarray(i, i + 3)]}`;
    ++count;
  }
  return { count, first };
}

// Frames the game has begun since the page loaded.
const framesDone = '(Module.torvTurns || 0)';
async function waitFrames(page, n) {
  const start = await page.evaluate(framesDone);
  await page.waitFor(`${framesDone} >= ${start + n}`, { what: `${n} more frames` });
}

async function pressKey(page, key) {
  await page.key('keyDown', key);
  await waitFrames(page, 3);
  await page.key('keyUp', key);
  await waitFrames(page, 3);
}

// The outcome line a scripted run prints at its end.
async function scriptedRun(page, url) {
  const ended = page.waitForEvent('Runtime.consoleAPICalled',
    (p) => p.args.some((a) => typeof a.value === 'string' && a.value.startsWith('result=')), 180000);
  await page.goto(url);
  const event = await ended;
  return event.args.map((a) => a.value).join(' ');
}

// The outcome line of the native front-end (game) for a script file, on the archives
// in data, its player's files in home.
function nativeOutcome({ game, data, home }, script) {
  return new Promise((resolve, reject) => {
    execFile(game, ['--data', data, '--window-scale', '1', '--deterministic', '--script', script], {
      env: { ...process.env, XDG_DATA_HOME: home, SDL_VIDEODRIVER: 'dummy',
             SDL_AUDIODRIVER: 'dummy', ASAN_OPTIONS: 'detect_leaks=0' },
      timeout: 300000,
    }, (error, stdout, stderr) => (error ? reject(new Error(`native run: ${error.message} ${stderr}`))
      : resolve(stdout.trim())));
  });
}

// Runs each case's body({ server, browser }) in turn, with the folders `mounts`
// served and one browser, saying PASS or FAIL for each (TORV_WEB_CASES=a,b runs only
// those); then ends the process. The work folder is removed when all pass and kept
// for inspection otherwise.
function runCases(cases, { mounts, work }) {
  (async () => {
    let failed = 0;
    const server = await serve({ mounts });
    const browser = await Browser.launch();
    try {
      const only = process.env.TORV_WEB_CASES ? process.env.TORV_WEB_CASES.split(',') : null;
      for (const c of cases.filter((x) => !only || only.includes(x.name))) {
        const started = Date.now();
        try {
          await c.body({ server, browser });
          console.log(`PASS ${c.name} (${((Date.now() - started) / 1000).toFixed(1)} s)`);
        } catch (e) {
          ++failed;
          console.log(`FAIL ${c.name}: ${e.message}`);
        }
      }
    } finally {
      await browser.close();
      await server.close();
    }
    if (failed === 0) fs.rmSync(work, { recursive: true, force: true });
    else console.log(`kept for inspection: ${work}`);
    process.exit(failed ? 1 : 0);
  })().catch((e) => {
    console.error(e);
    process.exit(1);
  });
}

module.exports = { canvasFrame, differingPixels, framesDone, waitFrames, pressKey, scriptedRun, nativeOutcome,
                   runCases };

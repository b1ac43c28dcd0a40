// Benchmarks of the browser game in headless Chromium (make bench):
//   - one play frame's cost: stage 1's replay with --deterministic, in the page as
//     built (Asyncify: each frame returns to the browser) and in a build without
//     Asyncify (nothing returns until the end: what one call per frame would cost);
//     and the native front-end's frame from the same replay in the same run;
//   - from navigation to the first title frame, served from 127.0.0.1;
//   - the download: every file of the page, and gzipped.
// Usage: node bench.js --web DIR --sync DIR --data DIR --native TORV --replays DIR
'use strict';

const { spawnSync } = require('child_process');
const fs = require('fs');
const os = require('os');
const path = require('path');
const zlib = require('zlib');
const { Browser } = require('./chromium');
const { serve } = require('./static_server');

const options = {};
for (let i = 2; i + 1 < process.argv.length; i += 2) options[process.argv[i].replace(/^--/, '')] = process.argv[i + 1];
const work = fs.mkdtempSync(path.join(os.tmpdir(), 'torv-web-bench-'));
const RUNS = 3;

const stageOne = fs.readFileSync(path.join(options.replays, '0001.txt'), 'utf8').split('\n')
  .filter((l) => l.trim() !== '' && !l.startsWith('#'));
fs.writeFileSync(path.join(work, 'stage1.txt'), ['1 -', '1 J', '1 -', ...stageOne, '420 -', ''].join('\n'));
fs.writeFileSync(path.join(work, 'idle.txt'), '3 -\n');

function stats(samples) {
  const s = [...samples].sort((a, b) => a - b);
  const at = (q) => s[Math.min(s.length - 1, Math.floor(q * s.length))];
  return { n: s.length, mean: s.reduce((a, b) => a + b, 0) / s.length, median: at(0.5), p95: at(0.95) };
}
const ms = (v) => `${v.toFixed(3)} ms`;

// The native front-end: the replay's run less a three-frame run (loading), per frame.
function nativeFrame() {
  const run = (script) => {
    const started = process.hrtime.bigint();
    const r = spawnSync(options.native, ['--data', options.data, '--window-scale', '1', '--deterministic',
      '--script', path.join(work, script)], {
      env: { ...process.env, XDG_DATA_HOME: path.join(work, 'home'), SDL_VIDEODRIVER: 'dummy',
             SDL_AUDIODRIVER: 'dummy' }, encoding: 'utf8' });
    if (r.status !== 0) throw new Error(`native run failed: ${r.stderr}`);
    const frames = Number(/frames=(\d+)/.exec(r.stdout)[1]);
    return { seconds: Number(process.hrtime.bigint() - started) / 1e9, frames };
  };
  const times = [];
  for (let i = 0; i < RUNS; ++i) {
    const long = run('stage1.txt');
    const short = run('idle.txt');
    times.push((1000 * (long.seconds - short.seconds)) / (long.frames - short.frames));
  }
  return stats(times).median;
}

async function replayFrames(browser, url) {
  const page = await browser.newPage();
  const ended = page.waitForEvent('Runtime.consoleAPICalled',
    (p) => p.args.some((a) => typeof a.value === 'string' && a.value.startsWith('result=')), 300000);
  await page.goto(`${url}?deterministic=1&script=/scripts/stage1.txt`);
  await ended;
  const samples = await page.evaluate('Module.torvFrames.samples');
  await page.close();
  return samples;
}

async function firstTitleFrame(url) {
  const times = [];
  for (let i = 0; i < RUNS; ++i) {
    const browser = await Browser.launch();
    try {
      const page = await browser.newPage();
      await page.goto(url);
      times.push(await page.waitFor('Module.torvFrames && Module.torvFrames.firstAt', { timeoutMs: 60000 }));
      await page.close();
    } finally {
      await browser.close();
    }
  }
  return stats(times).median;
}

function sizes(dir) {
  let raw = 0;
  let gzip = 0;
  const lines = [];
  for (const f of fs.readdirSync(dir).sort()) {
    const bytes = fs.readFileSync(path.join(dir, f));
    const packed = zlib.gzipSync(bytes, { level: 9 }).length;
    raw += bytes.length;
    gzip += packed;
    lines.push(`  ${f.padEnd(12)} ${(bytes.length / 1e6).toFixed(3)} MB, gzip ${(packed / 1e6).toFixed(3)} MB`);
  }
  return { raw, gzip, lines };
}

const began = Date.now();
const since = () => `${((Date.now() - began) / 1000).toFixed(1)} s`;

(async () => {
  const server = await serve({ mounts: { '/': options.web, '/sync/': [options.sync, options.web], '/scripts/': work } });
  const browser = await Browser.launch();
  try {
    // Taken in turns, so that the machine's other work weighs on both alike.
    const asyncifySamples = [];
    const syncSamples = [];
    for (let i = 0; i < 2; ++i) {
      asyncifySamples.push(...await replayFrames(browser, server.url));
      syncSamples.push(...await replayFrames(browser, `${server.url}sync/`));
    }
    const asyncify = stats(asyncifySamples);
    const sync = stats(syncSamples);
    console.error(`bench: replays done at ${since()}`);
    const native = nativeFrame();
    console.error(`bench: native runs done at ${since()}`);
    console.log(`web play frame, stage 1 replay (${asyncify.n} frames): Asyncify median ${ms(asyncify.median)}, ` +
                `mean ${ms(asyncify.mean)}, p95 ${ms(asyncify.p95)}`);
    console.log(`web play frame without Asyncify (${sync.n} frames): median ${ms(sync.median)}, ` +
                `mean ${ms(sync.mean)}, p95 ${ms(sync.p95)}`);
    console.log(`native play frame, same replay: ${ms(native)}; web/native (Asyncify, mean): ` +
                `${(asyncify.mean / native).toFixed(2)}`);
    const first = await firstTitleFrame(server.url);
    console.error(`bench: first frames done at ${since()}`);
    console.log(`navigation to the first title frame: ${first.toFixed(0)} ms (median of ${RUNS})`);
    for (const [name, dir] of [['page as built (Asyncify)', options.web], ['code without Asyncify', options.sync]]) {
      const s = sizes(dir);
      console.log(`${name}: ${(s.raw / 1e6).toFixed(3)} MB, gzip ${(s.gzip / 1e6).toFixed(3)} MB`);
      for (const l of s.lines) console.log(l);
    }
  } finally {
    await browser.close();
    await server.close();
    fs.rmSync(work, { recursive: true, force: true });
  }
})().catch((e) => {
  console.error(e);
  process.exit(1);
});

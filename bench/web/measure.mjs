// The browser edition's figures, printed as the Markdown tables of README.md:
//   - the site's transfer size, as the files are and as a server sends them compressed (the
//     build's brotli copies), before the first frame and in all;
//   - page load to the first frame: served from 127.0.0.1, and over a phone's mobile connection
//     (Chromium's network throttling: 9 Mbit/s down, 60 ms latency), the first visit and a return
//     visit served by the app's service worker;
//   - frame times of the same demo in the browser and in the desktop program (--stats), composed
//     at 1x and at 4x;
//   - WebAssembly memory after 5 and after 50 demo games.
//
//   node measure.mjs SITE_FOLDER PROGRAM [GAMES_FOR_MEMORY]
import {execFile} from 'node:child_process';
import {existsSync, readdirSync, statSync} from 'node:fs';
import {join} from 'node:path';
import {promisify} from 'node:util';

import {exitCode, launchBrowser, openPage} from '../../tests/web/browser.mjs';
import {serveSite} from '../../tools/web/serve-site.mjs';

const [siteFolder, program, memoryGames = '50'] = process.argv.slice(2);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const kib = (bytes) => `${(bytes / 1024).toFixed(0)} KiB`;
const mib = (bytes) => `${(bytes / 1024 / 1024).toFixed(2)} MiB`;

// What the page asks for before its first frame; the rest (the icons the browser installs, the
// service worker and what it caches) comes after.
const beforeFirstFrame = new Set(['index.html', 'page.css', 'page.js', 'sound.js', 'share.js', 'keys.js', 'layout.js',
                                  'offline.js', 'boules.js', 'boules.wasm', 'boules.data', 'MyMovie.qmf', 'icon-192.png',
                                  'manifest.webmanifest']);

function transferSizes() {
  const size = (name) => (existsSync(join(siteFolder, name)) ? statSync(join(siteFolder, name)).size : null);
  const rows = readdirSync(siteFolder).filter((name) => !/\.(gz|br)$/.test(name)).sort().map((name) => {
    const raw = size(name);
    return {name, raw, gzip: size(`${name}.gz`) ?? raw, brotli: size(`${name}.br`) ?? raw};
  });
  const sum = (list) => list.reduce((total, row) => ({raw: total.raw + row.raw, gzip: total.gzip + row.gzip, brotli: total.brotli + row.brotli}),
                                    {raw: 0, gzip: 0, brotli: 0});
  console.log('| file | bytes | gzip | brotli |\n|---|---:|---:|---:|');
  for (const row of rows) console.log(`| ${row.name} | ${kib(row.raw)} | ${kib(row.gzip)} | ${kib(row.brotli)} |`);
  for (const [label, list] of [['before the first frame', rows.filter((row) => beforeFirstFrame.has(row.name))], ['all', rows]]) {
    const total = sum(list);
    console.log(`| **${label}** | **${mib(total.raw)}** | **${mib(total.gzip)}** | **${mib(total.brotli)}** |`);
  }
  console.log();
}

// From the start of the page's load to the game's first frame, as a person sees it: the files
// load, the tap on the cover (made here the moment it can be, and its own delay taken out) starts
// the game. `network` throttles the connection as a phone's mobile one.
async function firstFrame(context, url, network) {
  const page = await context.newPage();
  if (network) {
    const session = await context.newCDPSession(page);
    await session.send('Network.enable');
    await session.send('Network.emulateNetworkConditions', {offline: false, latency: 60, downloadThroughput: 9e6 / 8, uploadThroughput: 9e6 / 8});
  }
  await page.goto(url);
  await page.waitForFunction(() => document.body.dataset.loaded, null, {timeout: 60000, polling: 10});
  await page.click('#play');
  await page.waitForFunction(() => document.body.dataset.firstFrame, null, {timeout: 60000});
  const times = await page.evaluate(() => {
    const mark = (name) => performance.getEntriesByName(name)[0].startTime;
    const tapDelay = mark('boules-start') - Number(document.body.dataset.loaded);
    return {files: mark('boules-files'), runtime: mark('boules-runtime'), firstFrame: Number(document.body.dataset.firstFrame) - tapDelay};
  });
  return {page, times};
}

// A first visit in a fresh browser context, then, once the service worker has kept the site, a
// return visit in the same context.
async function firstFrames(browser, url, runs) {
  const measured = {local: [], files: [], runtime: [], network: [], returning: []};
  for (let run = 0; run < runs; ++run) {
    const fresh = await browser.newContext();
    const {page, times} = await firstFrame(fresh, url, false);
    measured.local.push(times.firstFrame);
    measured.files.push(times.files);
    measured.runtime.push(times.runtime);
    await page.close();
    await fresh.close();

    const phone = await browser.newContext();
    const first = await firstFrame(phone, url, true);
    measured.network.push(first.times.firstFrame);
    await first.page.evaluate(() => navigator.serviceWorker.ready);  // installed whole and active
    await first.page.close();
    const again = await firstFrame(phone, url, true);
    measured.returning.push(again.times.firstFrame);
    await phone.close();
  }
  const row = (name, values) =>
    console.log(`| ${name} | ${median(values).toFixed(0)} ms | ${Math.min(...values).toFixed(0)} ms | ${Math.max(...values).toFixed(0)} ms |`);
  console.log(`| from the page's start, ${runs} loads each | median | fastest | slowest |\n|---|---:|---:|---:|`);
  row('127.0.0.1: files loaded (the program compiled as it comes)', measured.files);
  row('127.0.0.1: runtime ready, the cover asks for the tap', measured.runtime);
  row('127.0.0.1: **first frame** (tapped at once)', measured.local);
  row('9 Mbit/s, 60 ms: **first frame**, first visit', measured.network);
  row('9 Mbit/s, 60 ms: **first frame**, return visit (from the cache)', measured.returning);
  console.log();
}

// The --stats table: {rowName: {median, p99}} in microseconds, and the frames run.
function parseStatistics(text) {
  const rows = {};
  for (const match of text.matchAll(/^ {2}(movie tick|composition|present|total|CPU time)\s+(\d+)\s+(\d+)\s+(\d+)\s+(\d+)$/gm))
    rows[match[1]] = {median: Number(match[3]), p99: Number(match[4])};
  return rows;
}

async function desktopStatistics(args) {
  const {stderr} = await promisify(execFile)(program, ['--demo', '2', '--stats', ...args],
                                             {env: {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy'}});
  return parseStatistics(stderr);
}

// A page the screen fills at `scale` exactly (no device pixels to spare), so the program composes
// at that scale.
async function browserStatistics(browser, url, scale) {
  const page = await openPage(browser, {viewport: {width: 240 * scale, height: 320 * scale}});
  await page.goto(`${url}?demo=2&stats&speed=max`);
  if ((await exitCode(page, 300000)) !== 0) throw new Error('the demo failed in the browser');
  const text = page.consoleLines.map((line) => line.text).join('\n');
  await page.close();
  return parseStatistics(text);
}

// `optimizedBrowser` compiles all of the program with the optimizing compiler before it runs,
// leaving out the first seconds in which a browser runs it from quickly made code.
async function frameTimes(browser, optimizedBrowser, url, runs, scale) {
  const browserRuns = [], optimizedRuns = [], desktopRuns = [];
  for (let run = 0; run < runs; ++run) {
    browserRuns.push(await browserStatistics(browser, url, scale));
    optimizedRuns.push(await browserStatistics(optimizedBrowser, url, scale));
    desktopRuns.push(await desktopStatistics(scale > 1 ? ['--headless', '--scale', String(scale)] : ['--headless']));
  }
  const of = (list, row, key) => median(list.map((stats) => stats[row][key]));
  const ratio = (x, y) => (y > 0 ? `${(x / y).toFixed(1)}x` : '–');
  for (const key of ['median', 'p99']) {
    console.log(`| µs per frame (${key}), demo of 2 games at ${scale}x | browser | browser, optimized from the start | desktop | ratio | ratio, optimized |`);
    console.log('|---|---:|---:|---:|---:|---:|');
    for (const row of ['movie tick', 'composition', 'present', 'total']) {
      const b = of(browserRuns, row, key), o = of(optimizedRuns, row, key), d = of(desktopRuns, row, key);
      console.log(`| ${row} | ${b} | ${o} | ${d} | ${ratio(b, d)} | ${ratio(o, d)} |`);
    }
    console.log();
  }
  console.log(`(median of ${runs} runs each; the desktop program headless, so its present only fills the screen buffer)\n`);
}

async function memory(browser, url, games) {
  const page = await openPage(browser);
  await page.goto(`${url}?demo=${games}&report=/dev/stdout&stats&speed=max`);
  if ((await exitCode(page, 60000 * games)) !== 0) throw new Error('the long demo failed in the browser');
  const menus = page.consoleLines.filter((line) => line.text.startsWith('{"type":"menu"')).map((line) => JSON.parse(line.text));
  await page.close();
  const at = (game) => menus.find((menu) => menu.game === game);
  console.log(`| WebAssembly memory | after game 5 | after game ${games} |\n|---|---:|---:|`);
  console.log(`| memory size | ${mib(at(5).peakResident)} | ${mib(at(games).peakResident)} |`);
  console.log(`| script pool cells in use | ${at(5).cells} | ${at(games).cells} |\n`);
}

const site = await serveSite(siteFolder, {isolated: true});  // a 5 µs clock for the frame times
const browser = await launchBrowser();
const optimizedBrowser = await launchBrowser(['--js-flags=--no-liftoff']);
try {
  transferSizes();
  await firstFrames(browser, site.url, 5);
  for (const scale of [1, 4]) await frameTimes(browser, optimizedBrowser, site.url, 3, scale);
  await memory(browser, site.url, Number(memoryGames));
} finally {
  await optimizedBrowser.close();
  await browser.close();
  await site.close();
}

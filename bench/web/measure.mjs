// The browser edition's figures, printed as the Markdown tables of README.md:
//   - the site's transfer size, as it is and gzip-compressed;
//   - page load to the first frame, served from 127.0.0.1 (a fresh browser context each time);
//   - frame times of the same demo in the browser and in the desktop program (--stats);
//   - WebAssembly memory after 5 and after 50 demo games.
//
//   node measure.mjs SITE_FOLDER PROGRAM [GAMES_FOR_MEMORY]
import {execFile} from 'node:child_process';
import {readdirSync, readFileSync} from 'node:fs';
import {join} from 'node:path';
import {promisify} from 'node:util';
import {gzipSync} from 'node:zlib';

import {exitCode, launchBrowser, openPage} from '../../tests/web/browser.mjs';
import {serveSite} from '../../tools/web/serve-site.mjs';

const [siteFolder, program, memoryGames = '50'] = process.argv.slice(2);
const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const kib = (bytes) => `${(bytes / 1024).toFixed(0)} KiB`;
const mib = (bytes) => `${(bytes / 1024 / 1024).toFixed(2)} MiB`;

function transferSizes() {
  const rows = readdirSync(siteFolder).sort().map((name) => {
    const bytes = readFileSync(join(siteFolder, name));
    return {name, raw: bytes.length, gzip: gzipSync(bytes, {level: 6}).length, best: gzipSync(bytes, {level: 9}).length};
  });
  const total = rows.reduce((sum, row) => ({raw: sum.raw + row.raw, gzip: sum.gzip + row.gzip, best: sum.best + row.best}), {raw: 0, gzip: 0, best: 0});
  console.log('| file | bytes | gzip -6 | gzip -9 |\n|---|---:|---:|---:|');
  for (const row of rows) console.log(`| ${row.name} | ${kib(row.raw)} | ${kib(row.gzip)} | ${kib(row.best)} |`);
  console.log(`| **all** | **${mib(total.raw)}** | **${mib(total.gzip)}** | **${mib(total.best)}** |\n`);
}

// From the start of the page's load to the game's first frame, as a person sees it: the files
// load, the tap on the cover (made here the moment it can be, and its own delay taken out) starts
// the game. Also the page's own parts, and the same with ?frames, whose frame clock decodes every
// sound before the first frame instead of in the background.
async function firstFrames(browser, url, runs) {
  const measured = {files: [], runtime: [], firstFrame: [], frameClock: []};
  for (let run = 0; run < runs; ++run) {
    const context = await browser.newContext();  // nothing cached
    const page = await context.newPage();
    await page.goto(url);
    await page.waitForFunction(() => document.body.dataset.loaded, null, {timeout: 30000});
    await page.click('#play');
    await page.waitForFunction(() => document.body.dataset.firstFrame, null, {timeout: 30000});
    const times = await page.evaluate(() => {
      const mark = (name) => performance.getEntriesByName(name)[0].startTime;
      const tapDelay = mark('boules-start') - Number(document.body.dataset.loaded);
      return {files: mark('boules-files'), runtime: mark('boules-runtime'),
              firstFrame: Number(document.body.dataset.firstFrame) - tapDelay};
    });
    for (const key of Object.keys(times)) measured[key].push(times[key]);
    await context.close();
    const again = await browser.newContext();
    const frameClock = await again.newPage();
    await frameClock.goto(`${url}?frames=100000`);
    await frameClock.waitForFunction(() => document.body.dataset.firstFrame, null, {timeout: 30000});
    measured.frameClock.push(Number(await frameClock.evaluate(() => document.body.dataset.firstFrame)));
    await again.close();
  }
  const row = (name, values) =>
    console.log(`| ${name} | ${median(values).toFixed(0)} ms | ${Math.min(...values).toFixed(0)} ms | ${Math.max(...values).toFixed(0)} ms |`);
  console.log(`| from the page's start, ${runs} loads from 127.0.0.1 | median | fastest | slowest |\n|---|---:|---:|---:|`);
  row('files loaded (the program compiled as it comes)', measured.files);
  row('runtime ready, the cover asks for the tap', measured.runtime);
  row('**first frame** (tapped at once)', measured.firstFrame);
  row('first frame with ?frames (sounds decoded first)', measured.frameClock);
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

async function browserStatistics(browser, url) {
  const page = await openPage(browser);
  await page.goto(`${url}?demo=2&stats&speed=max`);
  if ((await exitCode(page, 300000)) !== 0) throw new Error('the demo failed in the browser');
  const text = page.consoleLines.map((line) => line.text).join('\n');
  await page.close();
  return parseStatistics(text);
}

// `optimizedBrowser` compiles all of the program with the optimizing compiler before it runs,
// leaving out the first seconds in which a browser runs it from quickly made code.
async function frameTimes(browser, optimizedBrowser, url, runs) {
  const browserRuns = [], optimizedRuns = [], desktopRuns = [];
  for (let run = 0; run < runs; ++run) {
    browserRuns.push(await browserStatistics(browser, url));
    optimizedRuns.push(await browserStatistics(optimizedBrowser, url));
    desktopRuns.push(await desktopStatistics(['--headless']));
  }
  const of = (list, row, key) => median(list.map((stats) => stats[row][key]));
  const ratio = (x, y) => (y > 0 ? `${(x / y).toFixed(1)}x` : '–');
  for (const key of ['median', 'p99']) {
    console.log(`| µs per frame (${key}), demo of 2 games | browser | browser, optimized from the start | desktop | ratio | ratio, optimized |`);
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
  await firstFrames(browser, site.url, 7);
  await frameTimes(browser, optimizedBrowser, site.url, 3);
  await memory(browser, site.url, Number(memoryGames));
} finally {
  await optimizedBrowser.close();
  await browser.close();
  await site.close();
}

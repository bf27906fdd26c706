// The browser edition in a real browser, against the desktop program as the reference: the page
// loads without a console error, a tap on START opens the set-up screen, the sound plays and
// stops while the page is hidden; the menu matches the
// desktop's headless screenshot; the game report matches the desktop's byte for byte, from the
// GCC build, a Clang build and the browser; damaged or missing media, a browser without
// WebAssembly and an uncaught error each show on the page.
//
//   node browser_test.mjs SITE_FOLDER PROGRAM [CLANG_PROGRAM]
import assert from 'node:assert/strict';
import {execFile} from 'node:child_process';
import {mkdirSync, mkdtempSync, readFileSync, rmSync} from 'node:fs';
import {fileURLToPath} from 'node:url';
import {promisify} from 'node:util';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';

import {consoleErrors, exitCode, launchBrowser, openPage, reportLines, shownScreen} from './browser.mjs';
import {decodePng, differingShare} from './png.mjs';
import {serveSite} from '../../tools/web/serve-site.mjs';

const [siteFolder, program, clangProgram] = process.argv.slice(2);
const scratch = mkdtempSync(join(tmpdir(), 'boules-browser-'));
const startButton = {x: 121, y: 150};  // the START hot spot on the menu, in screen pixels
let site, browser;

before(async () => {
  site = await serveSite(siteFolder);
  browser = await launchBrowser();
});
after(async () => {
  await browser?.close();
  await site?.close();
  rmSync(scratch, {recursive: true, force: true});
});

// The desktop program headless, in a folder of its own; a file it wrote, by name.
let runs = 0;
async function runDesktop(programPath, args, output) {
  const folder = join(scratch, String(++runs));
  mkdirSync(folder);
  await promisify(execFile)(programPath, ['--headless', ...args], {cwd: folder, env: {...process.env, SDL_VIDEODRIVER: 'dummy', SDL_AUDIODRIVER: 'dummy'}});
  return readFileSync(join(folder, output));
}

async function desktopScreen(args) {
  return decodePng(await runDesktop(program, [...args, '--screenshot', 'screen.png'], 'screen.png'));
}

async function desktopReport(programPath, games) {
  const report = await runDesktop(programPath, ['--demo', String(games), '--report', 'report.jsonl'], 'report.jsonl');
  return report.toString().split('\n').filter(Boolean);
}

async function waitForScreen(page, expected, timeout) {
  const deadline = Date.now() + timeout;
  let share = 1;
  while (Date.now() < deadline) {
    share = differingShare(await shownScreen(page), expected, 16);
    if (share === 0) return 0;
    await page.waitForTimeout(100);
  }
  return share;
}

test('the page loads without a console error; a tap on START opens the set-up screen; hidden it pauses', async () => {
  const page = await openPage(browser);
  await page.goto(site.url);
  await page.waitForFunction(() => document.body.dataset.loaded);
  assert.ok(await page.isVisible('#play'), 'the cover asks for a tap');
  await page.click('#play');
  await page.waitForFunction(() => document.body.dataset.firstFrame);

  const menu = await desktopScreen(['--frames', '5']);
  assert.equal(await waitForScreen(page, menu, 10000), 0, 'the menu as the desktop shows it');
  // The screen is scaled by a whole factor of device pixels, its pixels kept square.
  const shown = await page.evaluate(() => {
    const canvas = document.querySelector('#canvas');
    const box = canvas.getBoundingClientRect();
    return {factor: (box.width * devicePixelRatio) / 240, height: box.height / box.width,
            rendering: getComputedStyle(canvas).imageRendering};
  });
  assert.ok(Number.isInteger(shown.factor) && shown.factor >= 1, `scaled by ${shown.factor}`);
  assert.equal(shown.height, 320 / 240);
  assert.equal(shown.rendering, 'pixelated');

  const box = await page.locator('#canvas').boundingBox();
  await page.mouse.click(box.x + ((startButton.x + 0.5) * box.width) / 240, box.y + ((startButton.y + 0.5) * box.height) / 320);
  const setUp = await desktopScreen(['--replay', fileURLToPath(new URL('tap_start.rec', import.meta.url)), '--frames', '40']);
  assert.equal(await waitForScreen(page, setUp, 10000), 0, 'the set-up screen as the desktop shows it');
  assert.ok(await page.evaluate(() => window.loudestSound) > 0.1, 'the music and the jingle are heard');

  // The page hidden (another tab, a locked phone): the game pauses as on losing the focus, its
  // sound stopped.
  await page.evaluate(() => {
    Object.defineProperty(document, 'visibilityState', {value: 'hidden', configurable: true});
    Object.defineProperty(document, 'hidden', {value: true, configurable: true});
    document.dispatchEvent(new Event('visibilitychange'));
  });
  await page.waitForTimeout(300);
  await page.evaluate(() => (window.loudestSound = 0));
  await page.waitForTimeout(500);
  assert.equal(await page.evaluate(() => window.loudestSound), 0, 'silence while hidden');
  assert.deepEqual(consoleErrors(page), []);
  await page.close();
});

test('the menu at a fixed frame matches the desktop headless screenshot, in both display formats', async () => {
  for (const depth of ['16', '32']) {
    const page = await openPage(browser);
    await page.goto(`${site.url}?frames=60&depth=${depth}&speed=max`);
    assert.equal(await exitCode(page, 30000), 0);
    const share = differingShare(await shownScreen(page), await desktopScreen(['--frames', '60', '--depth', depth]), Number(depth));
    console.log(`menu at frame 60, ${depth}-bit: ${(share * 100).toFixed(3)} % of pixels differ`);
    assert.equal(share, 0);
    assert.deepEqual(consoleErrors(page), []);
    await page.close();
  }
});

async function browserReport(games) {
  const page = await openPage(browser);
  await page.goto(`${site.url}?demo=${games}&report=/dev/stdout&speed=max`);
  assert.equal(await exitCode(page, 60000 * games), 0);
  assert.deepEqual(consoleErrors(page), []);
  const lines = reportLines(page);
  await page.close();
  return lines;
}

test('?demo=2&report=/dev/stdout gives the desktop report byte for byte', async () => {
  const [inBrowser, desktop] = await Promise.all([browserReport(2), desktopReport(program, 2)]);
  assert.deepEqual(inBrowser, desktop);
});

test('--demo 8 --report: the same bytes from the GCC build, a Clang build and the browser', {skip: !clangProgram && 'no Clang build given'}, async () => {
  // The Clang build has the sanitizers in (they change no arithmetic) and takes longest: it runs
  // beside the others.
  const [gcc, clang, inBrowser] = await Promise.all([desktopReport(program, 8), desktopReport(clangProgram, 8), browserReport(8)]);
  assert.deepEqual(clang, gcc, 'Clang against GCC, every byte');
  assert.deepEqual(inBrowser, gcc, 'the browser against GCC, every byte');
});

// A run whose media file the server answers with `body` (or 404): the text of the program's
// media dialog shows on the page, and the program stops with its exit code.
async function mediaFault(body, expectedCode, expectedText) {
  const page = await openPage(browser);
  await page.route('**/MyMovie.qmf', (route) =>
    body ? route.fulfill({status: 200, contentType: 'application/octet-stream', body}) : route.fulfill({status: 404, body: ''}));
  await page.goto(`${site.url}?frames=10`);
  assert.equal(await exitCode(page, 30000), expectedCode);
  const shown = await page.textContent('#message');
  assert.match(shown, expectedText);
  assert.ok(await page.isVisible('#message'));
  await page.close();
}

test('a missing or damaged media file shows the media dialog on the page and stops cleanly', async () => {
  const media = readFileSync(join(siteFolder, 'MyMovie.qmf'));
  await mediaFault(null, 3, /Continue playback\?/);
  await mediaFault(media.subarray(0, 100), 4, /Invalid Mediafile/);
});

test('a browser without WebAssembly gets a plain message; an uncaught error shows on the page', async () => {
  const page = await openPage(browser);
  await page.addInitScript(() => delete window.WebAssembly);
  await page.goto(site.url);
  assert.match(await page.textContent('body'), /no WebAssembly/);
  await page.close();

  const failing = await openPage(browser);
  await failing.goto(`${site.url}?frames=100000`);
  await failing.waitForFunction(() => document.body.dataset.running);
  await failing.evaluate(() => setTimeout(() => { throw new Error('a test error'); }));
  await failing.waitForFunction(() => document.body.dataset.failed);
  assert.match(await failing.textContent('#message'), /a test error/);
  await failing.close();
});

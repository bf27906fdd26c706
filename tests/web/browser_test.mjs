// The browser edition in a real browser, most of it on an emulated phone (touch, 390 x 844 CSS
// pixels, 3 device pixels to one), against the desktop program as the reference: the page loads
// without a console warning, a tap on START opens the set-up screen, the sound plays through one
// worklet and sleeps while the page is hidden; Chromium finds the app installable, and a reload
// with no network plays a demo from the cache; a quick tap of Up throws; a game shared as a link
// replays to the report the desktop's --replay of the same recording writes, and today's record
// survives a reload and a page storing on a stale read; Ctrl+M mutes; a first visit downloads
// each file once; a newer build waits for a game in progress; the finer pictures come after a
// failed download; bad address options and links get one sentence; the menu matches the desktop's
// headless screenshot; the game report matches the desktop's byte for byte, from the GCC build, a
// Clang build and the browser; damaged or missing media, a browser without WebAssembly and an
// uncaught error each show on the page.
//
//   node browser_test.mjs SITE_FOLDER PROGRAM [CLANG_PROGRAM]
import assert from 'node:assert/strict';
import {execFile} from 'node:child_process';
import {cpSync, mkdirSync, mkdtempSync, readFileSync, rmSync, writeFileSync} from 'node:fs';
import {createHash} from 'node:crypto';
import {fileURLToPath} from 'node:url';
import {promisify} from 'node:util';
import {constants as zlib, deflateRawSync, inflateRawSync} from 'node:zlib';
import {tmpdir} from 'node:os';
import {join} from 'node:path';
import {after, before, test} from 'node:test';

import {consoleErrors, exitCode, launchBrowser, launchPhone, newPhone, openPage, openPhone, reportLines, shownScreen} from './browser.mjs';
import {decodePng, differingShare} from './png.mjs';
import {serveSite} from '../../tools/web/serve-site.mjs';

const [siteFolder, program, clangProgram] = process.argv.slice(2);
const scratch = mkdtempSync(join(tmpdir(), 'boules-browser-'));
// Where a person taps, in screen pixels: START on the menu; the first slot's kind (a person
// becomes the computer) and DONE on the set-up screen.
const taps = {start: [121, 150], firstSlotKind: [193, 90], done: [120, 290]};
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

const linesOf = (bytes) => bytes.toString().split('\n').filter(Boolean);

async function desktopReport(programPath, args) {
  return linesOf(await runDesktop(programPath, [...args, '--report', 'report.jsonl'], 'report.jsonl'));
}

// Waits until the page shows `expected`, all but `tolerated` of its pixels; answers the share of
// pixels that still differ.
async function waitForScreen(page, expected, timeout, tolerated = 0) {
  const deadline = Date.now() + timeout;
  let share = 1;
  while (Date.now() < deadline) {
    share = differingShare(await shownScreen(page), expected, 16);
    if (share <= tolerated) return 0;
    await page.waitForTimeout(100);
  }
  return share;
}
// Composed at 4x, the WebAssembly build and the desktop's may differ by one step of colour in a
// pixel or two of a text's edge (at 1x they agree exactly: see the menu's test below).
const fourTimesTolerated = 10 / (960 * 1280);

// A tap of a finger on a point of the game's screen.
async function tap(page, [x, y]) {
  const box = await page.locator('#canvas').boundingBox();
  await page.touchscreen.tap(box.x + ((x + 0.5) * box.width) / 240, box.y + ((y + 0.5) * box.height) / 320);
}

// Up pressed and released at once, inside one of the page's frames.
async function quickUp(page) {
  await page.evaluate(() => {
    for (const type of ['keydown', 'keyup']) {
      const event = new KeyboardEvent(type, {key: 'ArrowUp', code: 'ArrowUp', bubbles: true, cancelable: true});
      Object.defineProperty(event, 'keyCode', {get: () => 38});
      document.activeElement.dispatchEvent(event);
    }
  });
}

// Waits until `condition` holds in the page, through the page's own reloads.
async function eventually(page, condition, what, timeout = 20000) {
  for (const deadline = Date.now() + timeout; ; await page.waitForTimeout(100)) {
    if (await page.evaluate(condition).catch(() => false)) return;
    assert.ok(Date.now() < deadline, what);
  }
}

async function started(page) {
  await page.waitForFunction(() => document.body.dataset.loaded);
  await page.tap('#play');
  await page.waitForFunction(() => document.body.dataset.firstFrame);
}

async function waitForLine(page, pattern, timeout) {
  const deadline = Date.now() + timeout;
  while (!reportLines(page).some((line) => pattern.test(line))) {
    assert.ok(Date.now() < deadline, `no report line like ${pattern}`);
    await page.waitForTimeout(50);
  }
}

// Where the screen lies on the page: its box in CSS pixels and the size the program composes it at.
const screenBox = (page) => page.evaluate(() => {
  const canvas = document.querySelector('#canvas');
  const box = canvas.getBoundingClientRect();
  return {left: box.left, top: box.top, width: box.width, height: box.height, ratio: devicePixelRatio,
          composed: [canvas.width, canvas.height], page: [innerWidth, innerHeight]};
});

test('the screen fills the phone at its own resolution; a tap on START opens the set-up screen; the sound plays through one worklet and sleeps while hidden; no warning', async () => {
  const page = await openPhone(browser);
  await page.goto(site.url);
  await page.waitForFunction(() => document.body.dataset.loaded);
  assert.ok(await page.isVisible('#play'), 'the cover asks for a tap');
  await page.tap('#play');
  await page.waitForFunction(() => document.body.dataset.firstFrame);

  // Upright, as wide as the phone, on whole device pixels, composed at 4x (1170 device pixels).
  const upright = await screenBox(page);
  assert.ok(upright.width >= 0.9 * upright.page[0], `${upright.width} of ${upright.page[0]} CSS pixels wide`);
  for (const edge of [upright.left, upright.top, upright.width, upright.height])
    assert.ok(Number.isInteger(edge * upright.ratio), `on whole device pixels (${edge * upright.ratio})`);
  assert.deepEqual(upright.composed, [960, 1280]);
  // The menu as the desktop composes it at 4x, once the finer pictures have come.
  const menu = await desktopScreen(['--frames', '5', '--scale', '4']);
  assert.equal(await waitForScreen(page, menu, 10000, fourTimesTolerated), 0, 'the menu as the desktop shows it at 4x');
  await tap(page, taps.start);
  const setUp = await desktopScreen(['--replay', fileURLToPath(new URL('tap_start.rec', import.meta.url)), '--frames', '40', '--scale', '4']);
  assert.equal(await waitForScreen(page, setUp, 10000, fourTimesTolerated), 0, 'the set-up screen as the desktop shows it');
  // Tab rings a sprite on the canvas; the mouse moving lifts the ring and leaves the screen as it was.
  await page.keyboard.press('Tab');
  let ringShown = false;
  for (const deadline = Date.now() + 5000; !ringShown && Date.now() < deadline; await page.waitForTimeout(100))
    ringShown = differingShare(await shownScreen(page), setUp, 16) > fourTimesTolerated;
  assert.ok(ringShown, 'the ring shows');
  const box = await page.locator('#canvas').boundingBox();
  await page.mouse.move(box.x + 5, box.y + box.height - 5);
  await page.mouse.move(box.x + 6, box.y + box.height - 5);
  assert.equal(await waitForScreen(page, setUp, 5000, fourTimesTolerated), 0, 'no trace of the ring');
  const heard = await page.evaluate(() => ({loudest: window.loudestSound, contexts: window.audioContexts, processors: window.scriptProcessors}));
  assert.ok(heard.loudest > 0.1 && heard.loudest <= 1, `the music and the jingle are heard, never beyond full scale (${heard.loudest})`);
  assert.deepEqual([heard.contexts, heard.processors], [1, 0], 'one audio context, no script processor');

  // Sideways, as tall as the page, the buttons beside it.
  await page.setViewportSize({width: 844, height: 390});
  await page.waitForTimeout(200);
  const sideways = await screenBox(page);
  assert.ok(sideways.height > sideways.page[1] - 1, `${sideways.height} of ${sideways.page[1]} CSS pixels tall`);
  const buttons = await page.locator('#buttons').boundingBox();
  assert.ok(buttons.x >= sideways.left + sideways.width, 'the buttons beside the screen');
  await page.setViewportSize({width: 390, height: 844});

  // Hidden (another tab, a locked phone), the game pauses and the sound sleeps; shown, it wakes.
  const visibility = (state) => page.evaluate((hidden) => {
    Object.defineProperty(document, 'visibilityState', {value: hidden ? 'hidden' : 'visible', configurable: true});
    Object.defineProperty(document, 'hidden', {value: hidden, configurable: true});
    document.dispatchEvent(new Event('visibilitychange'));
  }, state);
  await visibility(true);
  await page.waitForFunction(() => Module.sound.context.state === 'suspended');
  await tap(page, taps.firstSlotKind);
  await page.waitForTimeout(300);
  assert.ok(differingShare(await shownScreen(page), setUp, 16) <= fourTimesTolerated, 'no frame while hidden');
  await visibility(false);
  await page.waitForFunction(() => Module.sound.context.state === 'running');
  assert.deepEqual(page.consoleLines.filter((line) => line.type !== 'log'), [], 'no warning, no error');
  await page.close();
});

test('the finer pictures are fetched again after a failed download, and at once when the browser is online again', async () => {
  const page = await openPhone(browser);
  const asked = [];
  await page.route('**/MyMovie@4x.qmf', (route) => {
    asked.push(Date.now());
    return asked.length <= 2 ? route.abort('internetdisconnected') : route.continue();
  });
  await page.goto(site.url);
  await started(page);
  for (const deadline = Date.now() + 10000; asked.length < 2; await page.waitForTimeout(50))
    assert.ok(Date.now() < deadline, `asked again after a failure (${asked.length})`);
  await page.waitForTimeout(200);
  await page.evaluate(() => window.dispatchEvent(new Event('online')));
  for (const deadline = asked[1] + 3000; asked.length < 3; await page.waitForTimeout(50))
    assert.ok(Date.now() < deadline, 'asked at once when online, before the next wait is over');
  const menu = await desktopScreen(['--frames', '5', '--scale', '4']);
  assert.equal(await waitForScreen(page, menu, 10000, fourTimesTolerated), 0, 'the menu at 4x');
  await page.close();
});

test('installable; with no network a reload plays a demo from the cache', async () => {
  const profile = mkdtempSync(join(scratch, 'profile-'));
  const context = await launchPhone(profile);
  const page = await openPhone(context);
  await page.goto(`${site.url}?frames=1`);
  await page.evaluate(() => navigator.serviceWorker.ready);
  const session = await context.newCDPSession(page);
  assert.deepEqual((await session.send('Page.getInstallabilityErrors')).installabilityErrors, []);
  await page.waitForFunction(async () => (await caches.keys()).length === 1);  // installed whole

  await context.setOffline(true);
  await page.goto(`${site.url}?demo=1&speed=max&report=/dev/stdout`);
  assert.equal(await exitCode(page, 60000), 0);
  assert.ok(reportLines(page).some((line) => line.startsWith('{"type":"end"')), 'a whole game');
  await context.close();
});

test('a first visit gets each file from the server once, the service worker\'s copies included', async (t) => {
  const sent = new Map();
  const counted = await serveSite(siteFolder, {sent: (path, status) => status === 200 && sent.set(path, (sent.get(path) || 0) + 1)});
  t.after(counted.close);
  const page = await openPhone(browser);
  await page.goto(counted.url);
  await started(page);
  await page.evaluate(() => navigator.serviceWorker.ready);
  await page.waitForFunction(async () => (await caches.keys()).length === 1);  // installed whole
  for (const deadline = Date.now() + 10000; !sent.has('/MyMovie@4x.qmf'); await page.waitForTimeout(50))
    assert.ok(Date.now() < deadline, 'the finer set is fetched');
  await page.close();
  assert.ok(sent.has('/boules.wasm') && sent.has('/MyMovie@4x.qmf') && sent.has('/icon-512.png'), [...sent.keys()].join(' '));
  assert.deepEqual([...sent].filter(([, times]) => times > 1), [], 'nothing sent twice');
});

// A second build of the site in `folder`: page.css changed, and the service worker's list with it.
function deploySecondBuild(folder) {
  const css = join(folder, 'page.css');
  const before = readFileSync(css);
  writeFileSync(css, before + '\n/* the second build */\n');
  const hash = (bytes) => createHash('sha256').update(bytes).digest('hex');
  const worker = join(folder, 'service_worker.js');
  const text = readFileSync(worker, 'utf8').replace(hash(before), hash(readFileSync(css)))
                                            .replace(/const version = '[^']*'/, "const version = 'second'");
  writeFileSync(worker, text);
  for (const file of ['page.css', 'service_worker.js']) for (const copy of ['.br', '.gz']) rmSync(join(folder, file + copy), {force: true});
}

test('a newer build deployed during a game waits while the game runs, and takes over the site\'s only page before its game', async (t) => {
  const folder = join(scratch, 'deployed');
  cpSync(siteFolder, folder, {recursive: true});
  const deployed = await serveSite(folder);
  const phone = await newPhone(browser);
  t.after(async () => {
    await phone.close();
    await deployed.close();
  });
  const playing = await openPhone(phone);
  await playing.goto(deployed.url);
  await started(playing);
  await playing.evaluate(() => navigator.serviceWorker.ready);
  await playing.reload();  // now served by the service worker
  await started(playing);
  assert.ok(await playing.evaluate(() => navigator.serviceWorker.controller), 'the game is served by the service worker');

  deploySecondBuild(folder);
  const second = await openPhone(phone);
  await second.goto(deployed.url);
  await eventually(second, async () => (await navigator.serviceWorker.getRegistration()).waiting, 'the second build installs');
  await second.reload();  // finds the second build waiting, and another page in a game
  await eventually(second, () => document.body.dataset.loaded, 'the second page loads');
  // The worker has answered the page, which asked as it loaded, once it answers the same question
  // asked after it.
  const answer = await second.evaluate(async () => {
    const waiting = (await navigator.serviceWorker.getRegistration()).waiting;
    if (!waiting) return 'taken over';
    const channel = new MessageChannel();
    const answered = new Promise((resolve) => { channel.port1.onmessage = (event) => resolve(event.data); });
    waiting.postMessage('take over', [channel.port2]);
    return Promise.race([answered, new Promise((resolve) => setTimeout(() => resolve('no answer'), 5000))]);
  });
  assert.deepEqual(answer, {takingOver: false}, 'not while another page is open');
  const served = async () => (await (await fetch('page.css')).text()).includes('the second build') ? 'second' : 'first';
  assert.equal(await playing.evaluate(served), 'first', 'the game goes on with its own build');
  assert.equal((await playing.evaluate(() => caches.keys())).length, 2, 'both builds kept');

  // The only page now, its game not started: it takes the second build over as it loads. A
  // browser counts a closed page for a moment (waited for here), and under load sometimes longer:
  // a person reloads again.
  await playing.close();
  const pagesOpen = () => phone.serviceWorkers()[0].evaluate(async () => (await clients.matchAll({type: 'window', includeUncontrolled: true})).length);
  for (const deadline = Date.now() + 10000; await pagesOpen() > 1 && Date.now() < deadline;) await second.waitForTimeout(100);
  const takenOver = async () => (await caches.keys()).length === 1 && (await (await fetch('page.css')).text()).includes('the second build');
  await second.reload();
  if (!(await eventually(second, takenOver, '', 8000).then(() => true, () => false))) {
    await second.reload();
    await eventually(second, takenOver, 'the second build takes over', 8000);
  }
});

test('a quick tap of Up, down and up between two frames, still throws', async () => {
  const page = await openPhone(browser);
  await page.goto(`${site.url}?speed=max&report=/dev/stdout`);
  await page.waitForFunction(() => document.body.dataset.firstFrame);
  await tap(page, taps.start);
  await tap(page, [193, 136]);  // the second slot: from the computer to not playing
  await tap(page, taps.done);
  await waitForLine(page, /"type":"rest","game":1/, 30000);  // the target ball lies
  await page.waitForTimeout(300);
  await quickUp(page);  // the swing starts
  await page.waitForTimeout(300);
  await quickUp(page);  // the ball goes
  await waitForLine(page, /"type":"throw".*"player":1/, 10000);
  await page.close();
});

test('a game shared as a link replays to the desktop replay\'s report; today\'s record survives a reload', async () => {
  const page = await openPhone(browser);
  await page.goto(`${site.url}?speed=max`);
  await page.waitForFunction(() => document.body.dataset.firstFrame);
  await tap(page, taps.start);
  await tap(page, taps.firstSlotKind);  // two computers play
  await tap(page, taps.done);
  await page.waitForSelector('#share:not([hidden])', {timeout: 60000});
  await page.tap('#share');
  await page.waitForSelector('#share-dialog[open]');
  const link = await page.inputValue('#share-link');
  const fields = new URLSearchParams(new URL(link).hash.slice(1));
  const recording = join(scratch, 'shared.rec');
  writeFileSync(recording, inflateRawSync(Buffer.from(fields.get('replay'), 'base64url')));

  const watcher = await openPage(browser);
  await watcher.goto(link.replace('#', '?report=/dev/stdout&speed=max#'));
  assert.equal(await exitCode(watcher, 60000), 0);
  assert.match(await watcher.textContent('#message'), /That was the shared game/);
  const watched = reportLines(watcher);
  assert.ok(watched.some((line) => line.startsWith('{"type":"end"')), 'the game to its end');
  assert.deepEqual(watched, await desktopReport(program, ['--replay', recording, '--frames', fields.get('frames')]));
  // A press on the border beside the screen reaches the canvas of a game played, not of one watched.
  const borderPressReaches = await watcher.evaluate(() => [true, false].map((watching) => {
    const canvas = document.querySelector('#canvas');
    canvas.classList.toggle('watched', watching);
    let heard = false;
    canvas.addEventListener('mousedown', () => { heard = true; }, {once: true});
    const box = canvas.getBoundingClientRect();
    document.querySelector('#stage').dispatchEvent(new MouseEvent('mousedown', {
      clientX: box.left - 2, clientY: box.top + box.height / 2, button: 0, bubbles: true}));
    return heard;
  }));
  assert.deepEqual(borderPressReaches, [false, true]);
  await watcher.close();

  // The record kept in the page's storage shows on the set-up screen after a reload; only there.
  assert.match(await page.evaluate(() => localStorage.getItem('boules')), /^record \d/m);
  await page.reload();
  await page.waitForFunction(() => document.body.dataset.firstFrame);
  const plain = await desktopScreen(['--replay', fileURLToPath(new URL('tap_start.rec', import.meta.url)), '--frames', '40', '--scale', '4']);
  await waitForScreen(page, await desktopScreen(['--frames', '5', '--scale', '4']), 10000, fourTimesTolerated);  // the finer pictures are in
  await tap(page, taps.start);
  await page.waitForTimeout(1000);
  const shown = await shownScreen(page);
  const differing = {well: 0, elsewhere: 0};  // the record's well: the top 32 rows at 1x
  for (let i = 0; i < shown.rgba.length; i += 4)
    if (differingShare({width: 1, height: 1, rgba: shown.rgba.subarray(i, i + 4)}, {width: 1, height: 1, rgba: plain.rgba.subarray(i, i + 4)}, 16))
      ++differing[i / 4 / plain.width < 32 * 4 ? 'well' : 'elsewhere'];
  assert.ok(differing.well > 0 && differing.elsewhere <= fourTimesTolerated * shown.width * shown.height,
            `the record in its well at the top, nothing else changed (${JSON.stringify(differing)})`);
  await page.close();
});

test('bad address options and a damaged link get one sentence and a way to play without them', async () => {
  // [address, what is said, whether starting again on the same address is offered]
  for (const [address, words, again] of [['?depth=7', /--depth is 16 or 32, not '7'/, false],
                                         ['?demo=-1', /--demo takes a positive whole number of games, not '-1'/, false],
                                         ['?nonsense=1', /unknown option '--nonsense'/, false],
                                         ['?report=file', /--report file: cannot create/, true],
                                         ['#replay=AAAA&frames=10', /This link is damaged/, false]]) {
    const page = await openPhone(browser);
    await page.goto(site.url + address);
    await page.waitForSelector('#message:not([hidden])');
    const said = await page.textContent('#message pre');
    assert.match(said, words);
    assert.equal(said.trim().split('\n').length, 1, `one sentence, not the desktop's usage: ${said}`);
    assert.equal(await page.isVisible('#reload'), again, address);
    assert.equal(await page.getAttribute('#plain', 'href'), new URL(site.url).pathname);
    await page.close();
  }
});

test('Ctrl+M mutes and unmutes, as the page\'s button does; Shift+Tab rings the sprite before', async () => {
  const page = await openPage(browser);
  await page.goto(site.url);
  await page.waitForFunction(() => document.body.dataset.loaded);
  await page.click('#play');
  await page.waitForFunction(() => document.body.dataset.firstFrame);
  const afterKeys = async (...keys) => {
    for (const key of keys) await page.keyboard.press(key);
    await page.waitForTimeout(300);
    return shownScreen(page);
  };
  const first = await afterKeys('Tab');
  assert.equal(differingShare(await afterKeys('Tab', 'Shift+Tab'), first, 16), 0, 'back on the first sprite');
  const mutedBecomes = (muted) => page.waitForFunction((expected) => document.title.endsWith('(muted)') === expected, muted, {timeout: 5000});
  await page.keyboard.press('Control+KeyM');
  await mutedBecomes(true);
  assert.equal(await page.textContent('#mute'), 'Sound off');
  await page.keyboard.press('Control+KeyM');
  await mutedBecomes(false);
  await page.click('#mute');
  await mutedBecomes(true);
  assert.deepEqual(consoleErrors(page), []);
  await page.close();
});

test('a link that unpacks to more than 8 MiB is refused having unpacked little of it', async () => {
  // 256 MiB of zeros in 260 kB: 1 MiB pieces, each flushed whole, then an empty last block.
  const piece = deflateRawSync(Buffer.alloc(1 << 20), {finishFlush: zlib.Z_SYNC_FLUSH});
  const packed = Buffer.concat([...Array(256).fill(piece), Buffer.from([3, 0])]);
  const page = await openPhone(browser);
  // Counts the packed bytes the page hands to the unpacking, which unpacks each whole at once.
  await page.addInitScript(() => {
    const Unpacking = window.DecompressionStream;
    window.packedBytesTaken = 0;
    window.DecompressionStream = class {
      constructor(format) {
        const inner = new Unpacking(format);
        const writer = inner.writable.getWriter();
        this.readable = inner.readable;
        this.writable = new WritableStream({
          write: (chunk) => {
            window.packedBytesTaken += chunk.length;
            return writer.write(chunk);
          },
          close: () => writer.close(),
          abort: (reason) => writer.abort(reason),
        });
      }
    };
  });
  await page.goto(`${site.url}#replay=${packed.toString('base64url')}&frames=10`);
  await page.waitForSelector('#message:not([hidden])');
  assert.match(await page.textContent('#message'), /This link unpacks to more than any game records/);
  assert.ok(await page.evaluate(() => window.packedBytesTaken) < 64 << 10, 'the rest is never handed on to unpack');
  await page.close();
});

test('a page storing on a read from before another page\'s store leaves that page\'s better record of the day', async (t) => {
  const phone = await newPhone(browser);
  t.after(() => phone.close());
  const better = await openPhone(phone);
  await better.goto(site.url);
  await better.evaluate(() => {
    const now = new Date();
    const day = [now.getFullYear(), now.getMonth() + 1, now.getDate()].map((part) => String(part).padStart(2, '0')).join('-');
    localStorage.setItem('boules', `boules kept state 1\nday ${day}\nrecord 0.5 Another page\nmuted 0\n`);
  });
  await better.reload();
  await started(better);
  // This page reads as if the other's store had not reached it yet, and its mute button stores.
  const stale = await openPhone(phone);
  await stale.addInitScript(() => { Storage.prototype.getItem = () => null; });
  await stale.goto(site.url);
  await started(stale);
  await stale.tap('#mute');
  await eventually(better, () => /^record 0\.5 Another page$/m.test(localStorage.getItem('boules')) && /^muted 1$/m.test(localStorage.getItem('boules')),
                   'the better record and the other page\'s mute setting', 10000);
});

test('the menu at a fixed frame matches the desktop headless screenshot, in both display formats', async () => {
  for (const depth of ['16', '32']) {
    const page = await openPage(browser, {viewport: {width: 240, height: 320}});  // a page the screen fills at 1x
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
  const [inBrowser, desktop] = await Promise.all([browserReport(2), desktopReport(program, ['--demo', '2'])]);
  assert.deepEqual(inBrowser, desktop);
});

test('--demo 8 --report: the same bytes from the GCC build, a Clang build and the browser', {skip: !clangProgram && 'no Clang build given'}, async () => {
  // The Clang build has the sanitizers in (they change no arithmetic) and takes longest: it runs
  // beside the others.
  const [gcc, clang, inBrowser] = await Promise.all([desktopReport(program, ['--demo', '8']), desktopReport(clangProgram, ['--demo', '8']), browserReport(8)]);
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

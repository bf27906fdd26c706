// Debian's Chromium, headless, driven through playwright-core: nothing downloads a browser. The
// page's console and errors are kept for the caller, and a few helpers read the game's screen.
import {chromium} from 'playwright-core';

import {decodePng} from './png.mjs';

const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

const chromiumArguments = (extraArguments) => ({
  executablePath: chromiumPath,
  args: [
    '--no-sandbox',  // CI runs as root
    '--disable-gpu',
    // This machine's network is closed: no calls home.
    '--disable-background-networking',
    '--disable-component-update',
    '--disable-sync',
    '--disable-quic',
    '--no-first-run',
    // The demo and the frame clock start without a tap; let their sound run as a person's would.
    '--autoplay-policy=no-user-gesture-required',
    ...extraArguments,
  ],
});

export async function launchBrowser(extraArguments = []) {
  return chromium.launch(chromiumArguments(extraArguments));
}

// A phone as Chromium emulates one: 390 x 844 CSS pixels, 3 device pixels to one, touch.
const phone = {viewport: {width: 390, height: 844}, deviceScaleFactor: 3, isMobile: true, hasTouch: true};

// A phone whose profile lives in `profile` (a browser context of the profile is not incognito:
// it can install the app and keep a service worker).
export async function launchPhone(profile) {
  return chromium.launchPersistentContext(profile, {...chromiumArguments([]), ...phone});
}

// A phone made from `browser` whose pages share its storage, cache and service worker.
export const newPhone = (browser) => browser.newContext(phone);

// A watched page on a phone: in a context of its own made from `browser` (closed with the page),
// or in the phone context given.
export async function openPhone(browserOrContext) {
  const own = typeof browserOrContext.newContext === 'function';
  const context = own ? await browserOrContext.newContext(phone) : browserOrContext;
  const page = await context.newPage();
  if (own) page.on('close', () => context.close().catch(() => {}));
  await watchPage(page);
  return page;
}

// A page whose console lines (type and text) and uncaught errors are recorded, and whose sound
// is listened to: window.loudestSound is the largest sample that has reached the page's speakers
// (read by an analyser beside them), window.audioContexts counts the audio contexts made and
// window.scriptProcessors the deprecated script processors.
export async function openPage(browser, options = {}) {
  const page = await browser.newPage({viewport: {width: 800, height: 900}, ...options});
  await watchPage(page);
  return page;
}

export async function watchPage(page) {
  await page.addInitScript(listenToTheSound);
  page.consoleLines = [];
  page.on('console', (message) => page.consoleLines.push({type: message.type(), text: message.text()}));
  page.on('pageerror', (error) => page.consoleLines.push({type: 'pageerror', text: String(error.stack || error)}));
}

function listenToTheSound() {
  window.loudestSound = 0;
  window.audioContexts = 0;
  window.scriptProcessors = 0;
  const Context = window.AudioContext;
  window.AudioContext = class extends Context {
    constructor(...args) {
      super(...args);
      ++window.audioContexts;
    }
  };
  const makeProcessor = BaseAudioContext.prototype.createScriptProcessor;
  BaseAudioContext.prototype.createScriptProcessor = function (...args) {
    ++window.scriptProcessors;
    return makeProcessor.apply(this, args);
  };
  const connect = AudioNode.prototype.connect;
  AudioNode.prototype.connect = function (target, ...rest) {
    if (target instanceof AudioDestinationNode) {
      const analyser = new AnalyserNode(this.context, {fftSize: 32768});
      connect.call(this, analyser);
      const samples = new Float32Array(analyser.fftSize);
      setInterval(() => {
        analyser.getFloatTimeDomainData(samples);
        for (const sample of samples) window.loudestSound = Math.max(window.loudestSound, Math.abs(sample));
      }, 100);
    }
    return connect.call(this, target, ...rest);
  };
}

export const consoleErrors = (page) => page.consoleLines.filter((line) => line.type === 'error' || line.type === 'pageerror');

// The game report's lines among the console's.
export const reportLines = (page) =>
  page.consoleLines.filter((line) => line.type === 'log' && line.text.startsWith('{"type":')).map((line) => line.text);

// Waits for the program to end; its exit code.
export async function exitCode(page, timeout) {
  await page.waitForFunction(() => document.body.dataset.exitCode !== undefined || document.body.dataset.failed,
                             null, {timeout, polling: 100});
  return page.evaluate(() => Number(document.body.dataset.exitCode));
}

// The screen the page shows (the running canvas, or the last frame it kept), as decoded PNG.
export async function shownScreen(page) {
  const url = await page.evaluate(() => {
    const canvas = document.querySelector('#last-frame') || document.querySelector('#canvas');
    return canvas.toDataURL('image/png');
  });
  return decodePng(Buffer.from(url.slice(url.indexOf(',') + 1), 'base64'));
}

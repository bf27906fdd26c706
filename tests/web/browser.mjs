// Debian's Chromium, headless, driven through playwright-core: nothing downloads a browser. The
// page's console and errors are kept for the caller, and a few helpers read the game's screen.
import {chromium} from 'playwright-core';

import {decodePng} from './png.mjs';

const chromiumPath = process.env.CHROMIUM || '/usr/bin/chromium';

export async function launchBrowser(extraArguments = []) {
  return chromium.launch({
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
}

// A page whose console lines (type and text) and uncaught errors are recorded, and whose sound
// output is listened to: window.loudestSound is the largest sample the page has played.
export async function openPage(browser, options = {}) {
  const page = await browser.newPage({viewport: {width: 800, height: 900}, ...options});
  await page.addInitScript(listenToTheSound);
  page.consoleLines = [];
  page.on('console', (message) => page.consoleLines.push({type: message.type(), text: message.text()}));
  page.on('pageerror', (error) => page.consoleLines.push({type: 'pageerror', text: String(error.stack || error)}));
  return page;
}

function listenToTheSound() {
  window.loudestSound = 0;
  const handler = Object.getOwnPropertyDescriptor(ScriptProcessorNode.prototype, 'onaudioprocess');
  Object.defineProperty(ScriptProcessorNode.prototype, 'onaudioprocess', {
    get() { return handler.get.call(this); },
    set(process) {
      handler.set.call(this, (event) => {
        process(event);
        for (let channel = 0; channel < event.outputBuffer.numberOfChannels; ++channel)
          for (const sample of event.outputBuffer.getChannelData(channel))
            window.loudestSound = Math.max(window.loudestSound, Math.abs(sample));
      });
    },
  });
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

// The page around the browser edition: it loads the program and its files with a progress bar,
// shows a cover whose tap starts the game (browsers keep sound off until a gesture), has the
// program compose at the scale the screen's size needs and fetches the finer pictures for it once
// the game runs, offers mute, full-screen and share buttons, pauses the game while the page is
// hidden, and puts the program's messages, its end and any error on the page.
//
// The address's options are the program's command line: ?name=value is --name=value and ?name
// is --name (?demo=2&depth=32 runs `boules --demo=2 --depth=32`); the program judges them, and a
// refusal shows its own sentence with a way to start without them. With options the game starts
// at once. A person's game is recorded (--record), so that after an end the page can offer it as
// a link (share.js); a link's game replays from the address's fragment.
import {keepOffline, takeNewerBuild} from './offline.js';
import {fitScreen, scaleCovering} from './layout.js';
import {passOnlyGameKeys} from './keys.js';
import {linkFor, SharedGameError, sharedGameIn} from './share.js';
import {PageSound} from './sound.js';

const params = new URLSearchParams(location.search);
const $ = (selector) => document.querySelector(selector);
const canvas = $('#canvas');
const cover = $('#cover');
const bar = $('#progress');
const playButton = $('#play');
const recordingPath = '/boules/game.rec';
const sharedPath = '/boules/shared.rec';
let fit = () => {};  // the screen fitted to the page (layout.js), once the page is set up
// How long a shared game goes on after its end, so that the end can be seen: 5 s of frames.
const framesAfterEnd = 150;

// --- Messages --------------------------------------------------------------------------------
// A message over the game: the program's own boxes, its end, or an error. Later lines add on.
// `below`: a bar under the last frame, which stays in sight (a game that ended as it should).
function showMessage(title, text, below = false) {
  const box = $('#message');
  box.classList.toggle('below', below);
  if (box.hidden) {
    box.querySelector('h2').textContent = title;
    box.querySelector('pre').textContent = text;
  } else {
    box.querySelector('pre').textContent += '\n' + (title ? title + ': ' : '') + text;
  }
  box.hidden = false;
  cover.hidden = true;
}

// A command to the program, by the name the program's window events know it by (HostCommand).
const hostCommand = (name, value) => Module.ccall('boules_host_command', null, ['string', 'number'], [name, value]);

function failed(what) {
  showMessage('Something went wrong', String(what));
  document.body.dataset.failed = 'true';
}
window.addEventListener('error', (event) => failed(event.error ? event.error.stack || event.error : event.message));
window.addEventListener('unhandledrejection', (event) => failed(event.reason && (event.reason.stack || event.reason)));
$('#reload').addEventListener('click', () => location.reload());
// The way out of options or a link that did not work: the page as it is without them.
if (location.search || location.hash) {
  const plain = $('#plain');
  plain.href = location.pathname;
  plain.textContent = location.hash && !location.search ? 'Play a game of your own' : 'Start without these options';
  plain.hidden = false;
}

// What the program writes on its standard error (its refusals, usage and failures; not its
// debug log's lines) goes to the message when it stops; both its outputs go to the console.
const programSaid = [];
function heardFromProgram(line) {
  if (!line.startsWith('-- ')) programSaid.push(line);
  if (programSaid.length > 60) programSaid.shift();
  console.log(line);
}

// --- Loading ---------------------------------------------------------------------------------
const files = window.boulesFiles;
const total = files.reduce((sum, file) => sum + file.size, 0);
let loaded = 0;
function advance(bytes) {
  loaded += bytes;
  const percent = Math.min(100, Math.round((100 * loaded) / total));
  bar.firstElementChild.style.width = percent + '%';
  bar.setAttribute('aria-valuenow', String(percent));
}

async function fetchResponse(file, optional) {
  const response = await fetch(file.name);
  if (response.ok || (optional && response.status === 404)) return response;
  throw new Error(`${file.name} could not be loaded: ${response.status} ${response.statusText}`);
}

// The program, compiled while it downloads; its progress read from a copy of the stream. The
// response goes to the compiler as it came, so that the browser may keep the compiled code for
// the next visit.
async function compileProgram(file) {
  const response = await fetchResponse(file, false);
  const counting = response.clone().body.getReader();
  (async () => {
    for (let read = await counting.read(); !read.done; read = await counting.read()) advance(read.value.length);
  })();
  if (WebAssembly.compileStreaming && response.headers.get('Content-Type') === 'application/wasm')
    return WebAssembly.compileStreaming(response);
  return WebAssembly.compile(await response.arrayBuffer());
}

// The file's bytes, or null when the server has no such file and `optional` allows that.
async function fetchFile(file, optional) {
  const response = await fetchResponse(file, optional);
  if (!response.ok) return null;
  const reader = response.body.getReader();
  const chunks = [];
  let size = 0;
  for (;;) {
    const {done, value} = await reader.read();
    if (done) break;
    chunks.push(value);
    size += value.length;
    advance(value.length);
  }
  const bytes = new Uint8Array(size);
  let offset = 0;
  for (const chunk of chunks) {
    bytes.set(chunk, offset);
    offset += chunk.length;
  }
  return bytes;
}

function loadScript(source) {
  return new Promise((resolve, reject) => {
    const script = document.createElement('script');
    script.src = source;
    script.onload = resolve;
    script.onerror = () => reject(new Error(source + ' could not be loaded'));
    document.body.appendChild(script);
  });
}

let sharedGame = null;  // {recording, frames} from a link
const sound = new PageSound();

async function load() {
  const [program, data, media] = await Promise.all([
    compileProgram(files[0]),
    fetchFile(files[1], false),
    fetchFile(files[2], true),  // a missing media file is the program's to report
  ]);
  performance.mark('boules-files');
  let runtimeReady;
  const runtime = new Promise((resolve) => (runtimeReady = resolve));
  window.Module = {
    canvas,
    sound,
    instantiateWasm: (imports, receive) => {
      WebAssembly.instantiate(program, imports).then((instance) => receive(instance, program), failed);
      return {};
    },
    getPreloadedPackage: () => data.buffer,
    preRun: [
      () => {
        const fs = Module.FS;
        fs.mkdir('/boules');
        if (media) fs.writeFile('/boules/MyMovie.qmf', media);
        if (sharedGame) fs.writeFile(sharedPath, sharedGame.recording);
        // Files written in the page's memory would vanish with it unseen: the program may write
        // only its own folder (the page's recording) and /dev/stdout (the console), and says so
        // for anything else (?report=file).
        for (const folder of ['/', '/tmp', '/home', '/home/web_user']) fs.chmod(folder, 0o555);
      },
    ],
    onRuntimeInitialized: runtimeReady,
    print: (line) => console.log(line),
    printErr: heardFromProgram,
    showMessage: (caption, text) => showMessage(caption || 'Boules', text.replace(/\r/g, '')),
    onFirstFrame: () => {
      performance.mark('boules-first-frame');
      document.body.dataset.firstFrame = String(performance.now());
      keepOffline();
    },
    onProgramNotice: (what, frame) => {
      if (what === 'end' && recordsTheGame()) endedAt(frame);
      else if (what === 'options refused') optionsRefused = true;
    },
    onLoopEnded: keepLastFrame,
    onExit: ended,
    onAbort: (what) => failed(what),
  };
  await loadScript('boules.js');
  await runtime;
  performance.mark('boules-runtime');
}

// --- Playing ---------------------------------------------------------------------------------
// A person's game is recorded for sharing; a demo's and a shared game's are not.
const recordsTheGame = () => !params.has('demo') && !sharedGame;
let started = false;
let running = false;
let optionsRefused = false;  // the program refused the address's options and stops

// The address's options as the program's command line, and what the page itself adds.
function commandLine() {
  const args = [];
  for (const [name, value] of params) args.push(value === '' ? `--${name}` : `--${name}=${value}`);
  if (sharedGame) args.push('--replay', sharedPath, '--frames', String(sharedGame.frames));
  else if (recordsTheGame()) args.push('--record', recordingPath);
  return args;
}

function start() {
  if (started) return;
  started = true;
  sound.begin();  // in the tap's gesture, when there is one
  cover.hidden = true;
  $('#buttons').hidden = false;
  canvas.focus();
  running = true;
  document.body.dataset.running = 'true';
  performance.mark('boules-start');
  Module.callMain(commandLine());
  if (running) fit();  // the program composes at the scale the screen's size asks for
}

// The window goes when the program ends: a copy of its last frame takes its place on the page
// (the canvas itself stays, hidden, for the program to let go of).
function keepLastFrame() {
  const copy = document.createElement('canvas');
  copy.id = 'last-frame';
  copy.width = canvas.width;
  copy.height = canvas.height;
  copy.getContext('2d').drawImage(canvas, 0, 0);
  canvas.before(copy);
  canvas.hidden = true;
  fit();
}

function ended(code) {
  if (document.body.dataset.exitCode !== undefined) return;  // the runtime may say so twice
  running = false;
  $('#buttons').hidden = true;
  document.body.dataset.exitCode = String(code);
  delete document.body.dataset.running;
  const said = programSaid.join('\n');
  if (optionsRefused) {
    showMessage('The game cannot start with this address', said);
    $('#reload').hidden = true;  // the same address would say the same again
  } else if (code !== 0) showMessage('The game stopped', said || `(exit code ${code})`);
  else if (sharedGame) showMessage('That was the shared game', '', true);
  else showMessage('The game has ended', said, !said);
  if (code === 0 && sharedGame) $('#reload').textContent = 'Watch again';
}

// --- Finer pictures --------------------------------------------------------------------------
// The program composes the screen at the scale its size on the page needs; the finer media set
// of that scale is downloaded once the game has started, with its progress on the screen's lower
// edge, and handed to the program, whose pictures then come from it instead of the 1x ones
// enlarged. A download that fails (a flaky connection, a server that answers with an error) is
// tried again after a wait that doubles from 2 s up to a minute, and at once when the browser is
// online again. A set that is not the build's (a server with another build) is not asked again.
const firstRetryWait = 2000, longestRetryWait = 60000;
let scaleAsked = 1;
const setsDone = new Set();  // scales whose set the program has, or that cannot be had
let fetchingSets = false;
let retryWait = 0, retryTimer = 0;

function screenSized(place) {
  const scale = scaleCovering(place.width);
  if (!running || scale === scaleAsked) return;
  scaleAsked = scale;
  hostCommand('presentationScale', scale);
  fetchFinerSets();
}

async function fetchFinerSets() {
  if (fetchingSets) return;
  fetchingSets = true;
  clearTimeout(retryTimer);
  try {
    while (running && scaleAsked > 1 && !setsDone.has(scaleAsked)) {
      const scale = scaleAsked;
      await fetchFinerSet(scale);
      setsDone.add(scale);
      retryWait = 0;
    }
  } catch {
    retryWait = retryWait ? Math.min(2 * retryWait, longestRetryWait) : firstRetryWait;
    retryTimer = setTimeout(fetchFinerSets, retryWait);
  } finally {
    fetchingSets = false;
  }
}
window.addEventListener('online', fetchFinerSets);

// One download of the set of `scale`, handed to the program when it is whole and the game still
// runs. Returns when the set is done with (a set of unknown size is not fetched; one larger than
// the build's is let go); throws when it is worth trying again.
async function fetchFinerSet(scale) {
  const name = `MyMovie@${scale}x.qmf`;
  const total = window.boulesFinerSets[scale];
  if (!total) return;
  const finer = $('#finer');
  finer.hidden = false;
  let reader = null;
  try {
    const response = await fetch(name);
    reader = response.body.getReader();
    if (!response.ok) throw new Error(`${name}: ${response.status}`);
    const bytes = new Uint8Array(total);
    let size = 0;
    for (let read = await reader.read(); !read.done; read = await reader.read()) {
      if (size + read.value.length > total || !running) return;  // not the build's set, or no game to take it
      bytes.set(read.value, size);
      size += read.value.length;
      finer.firstElementChild.style.width = `${(100 * size) / total}%`;
    }
    if (size !== total) throw new Error(`${name} broke off`);
    if (!running) return;
    Module.FS.writeFile(`/boules/${name}`, bytes);
    hostCommand('mediaSetArrived', scale);
  } finally {
    reader?.cancel().catch(() => {});  // lets go of a download left early; nothing after its end
    finer.hidden = true;
  }
}

// The page hidden (another tab, a locked phone): the game pauses as on losing the focus, and its
// sound sleeps; shown again, stale sound is dropped before it wakes.
document.addEventListener('visibilitychange', () => {
  if (!running) return;
  if (document.visibilityState === 'hidden') {
    Module._boules_page_visible(0);
    sound.sleep();
  } else {
    sound.wake();
    Module._boules_page_visible(1);
  }
});

// Another page of the site stored what the program keeps in local storage (today's record, the
// mute setting); that page may have read before this one's store reached it: the program stores
// its better record of the day again if it was dropped.
window.addEventListener('storage', (event) => {
  if (running && event.storageArea === localStorage) hostCommand('keptStateStoredElsewhere', 0);
});

// --- The buttons -----------------------------------------------------------------------------
const muteButton = $('#mute');
muteButton.addEventListener('click', () => {
  hostCommand('toggleMute', 0);  // as Ctrl+M: the program says so in its title
  muteButton.blur();
});
// The program's title ends in "(muted)" while the sound is off.
new MutationObserver(() => {
  const muted = document.title.endsWith('(muted)');
  muteButton.textContent = muted ? 'Sound off' : 'Sound on';
  muteButton.setAttribute('aria-pressed', String(muted));
}).observe(document.querySelector('title'), {childList: true, characterData: true, subtree: true});

const fullscreenButton = $('#fullscreen');
fullscreenButton.hidden = !document.fullscreenEnabled;
fullscreenButton.addEventListener('click', () => {
  if (document.fullscreenElement) document.exitFullscreen();
  else document.documentElement.requestFullscreen().catch(() => {});
  fullscreenButton.blur();
});

// After an end, the game so far can be shared: its recording up to there as a link.
let endFrame = 0;
const shareButton = $('#share');
const shareDialog = $('#share-dialog');
function endedAt(frame) {
  endFrame = frame;
  shareButton.hidden = false;
  fit();
}
shareButton.addEventListener('click', async () => {
  const text = Module.FS.readFile(recordingPath, {encoding: 'utf8'});
  const link = await linkFor(text, endFrame + framesAfterEnd);
  $('#share-link').value = link;
  const save = $('#share-save');
  URL.revokeObjectURL(save.href);
  save.href = URL.createObjectURL(new Blob([text], {type: 'text/plain'}));
  const send = $('#share-send');
  send.hidden = !navigator.share;
  send.onclick = () => navigator.share({title: 'Boules', url: link}).catch(() => {});
  shareDialog.showModal();
  shareButton.blur();
});
$('#share-copy').addEventListener('click', () => {
  const field = $('#share-link');
  field.select();
  navigator.clipboard?.writeText(field.value).catch(() => document.execCommand('copy'));
});
$('#share-close').addEventListener('click', () => shareDialog.close());

// --- Starting --------------------------------------------------------------------------------
if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
  document.body.innerHTML =
    '<p class="plain">This browser cannot run the game: it has no WebAssembly. ' +
    'Any current browser can, on a computer, a phone or a tablet.</p>';
} else {
  fit = fitScreen(canvas, screenSized);
  const stayingOnThisBuild = takeNewerBuild(() => started);
  passOnlyGameKeys(() => !sharedGame);
  canvas.addEventListener('contextmenu', (event) => event.preventDefault());
  window.addEventListener('hashchange', () => location.reload());
  (async () => {
    sharedGame = await sharedGameIn(location.hash);
    await load();
    await stayingOnThisBuild;  // a newer build taking over reloads the page instead
  })().then(
    () => {
      $('#loading').hidden = true;
      bar.hidden = true;
      document.body.dataset.loaded = String(performance.now());
      if (location.search) {
        start();
        return;
      }
      if (sharedGame) {
        playButton.textContent = 'Tap to watch';
        canvas.classList.add('watched');  // a shared game is watched, not played
      }
      playButton.hidden = false;
      playButton.focus();
      // A click, not a press: the program starts after the gesture's last mouse event, so none of
      // it reaches the game, and inside the gesture, so the browser lets the sound play.
      cover.addEventListener('click', start);
    },
    (error) => {
      if (error instanceof SharedGameError) {
        showMessage('This game cannot be shown', error.message);
        $('#reload').hidden = true;  // the same link would say the same again
      } else {
        failed(error.message || error);
      }
    },
  );
}

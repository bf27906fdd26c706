// The page around the browser edition: it loads the program and its files with a progress bar,
// shows a cover whose tap starts the game (browsers keep sound off until a gesture), scales the
// 240 x 320 screen by a whole factor of device pixels, offers mute and full-screen buttons, and
// puts the program's messages, its end and any error on the page.
//
// Options in the address mirror the command line: ?demo=N (no N: for ever), ?depth=32,
// ?frames=N, ?report=console (each line of the game report as one console line), ?stats and
// ?speed=max (the frame clock as fast as it goes). With ?demo or ?frames the game starts at once.
'use strict';

(function () {
  const screenWidth = 240, screenHeight = 320;
  const params = new URLSearchParams(location.search);
  const $ = (selector) => document.querySelector(selector);
  const canvas = $('#canvas');
  const cover = $('#cover');
  const bar = $('#progress');
  const playButton = $('#play');
  const muteButton = $('#mute');
  const fullscreenButton = $('#fullscreen');

  // The program's command line from the address.
  function programArguments() {
    const args = [];
    if (params.has('demo')) args.push('--demo', ...(params.get('demo') ? [params.get('demo')] : []));
    if (params.has('frames')) args.push('--frames', params.get('frames'));
    if (params.has('depth')) args.push('--depth', params.get('depth'));
    if (params.get('report') === 'console') args.push('--report', '/dev/stdout');
    if (params.has('speed')) args.push('--speed', params.get('speed'));
    if (params.has('stats')) args.push('--stats');
    return args;
  }

  // A message over the game: the program's own boxes, its end, or an error. Later lines add on.
  function showMessage(title, text) {
    const box = $('#message');
    if (box.hidden) {
      box.querySelector('h2').textContent = title;
      box.querySelector('pre').textContent = text;
    } else {
      box.querySelector('pre').textContent += '\n' + (title ? title + ': ' : '') + text;
    }
    box.hidden = false;
    cover.hidden = true;
  }

  function failed(what) {
    showMessage('Something went wrong', String(what));
    document.body.dataset.failed = 'true';
  }
  window.addEventListener('error', (event) => failed(event.error ? event.error.stack || event.error : event.message));
  window.addEventListener('unhandledrejection', (event) => failed(event.reason && (event.reason.stack || event.reason)));
  $('#reload').addEventListener('click', () => location.reload());

  if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
    document.body.innerHTML =
      '<p class="plain">This browser cannot run the game: it has no WebAssembly. ' +
      'Any current browser can, on a computer, a phone or a tablet.</p>';
    return;
  }

  // The screen as large as a whole factor of device pixels allows, letterboxed in black.
  function fit() {
    const ratio = window.devicePixelRatio || 1;
    const stage = $('#stage');
    const width = stage.clientWidth * ratio, height = stage.clientHeight * ratio;
    let factor = Math.floor(Math.min(width / screenWidth, height / screenHeight));
    if (factor < 1) factor = Math.min(width / screenWidth, height / screenHeight);  // a tiny window
    for (const shown of document.querySelectorAll('#stage canvas')) {
      shown.style.width = (screenWidth * factor) / ratio + 'px';
      shown.style.height = (screenHeight * factor) / ratio + 'px';
    }
  }
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();

  canvas.addEventListener('contextmenu', (event) => event.preventDefault());

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

  // The program, compiled while it downloads.
  async function compileProgram(file) {
    const response = await fetchResponse(file, false);
    const counted = response.body.pipeThrough(new TransformStream({
      transform(chunk, stream) {
        advance(chunk.length);
        stream.enqueue(chunk);
      },
    }));
    const wasm = new Response(counted, {headers: {'Content-Type': 'application/wasm'}});
    if (WebAssembly.compileStreaming) return WebAssembly.compileStreaming(wasm);
    return WebAssembly.compile(await wasm.arrayBuffer());
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

  let runtimeReady;
  const runtime = new Promise((resolve) => (runtimeReady = resolve));

  async function load() {
    const [program, data, media] = await Promise.all([
      compileProgram(files[0]),
      fetchFile(files[1], false),
      fetchFile(files[2], true),  // a missing media file is the program's to report
    ]);
    performance.mark('boules-files');
    window.Module = {
      canvas,
      instantiateWasm: (imports, receive) => {
        WebAssembly.instantiate(program, imports).then((instance) => receive(instance, program), failed);
        return {};
      },
      getPreloadedPackage: () => data.buffer,
      preRun: [
        () => {
          Module.FS.mkdir('/boules');
          if (media) Module.FS.writeFile('/boules/MyMovie.qmf', media);
        },
      ],
      onRuntimeInitialized: runtimeReady,
      print: (line) => console.log(line),
      printErr: (line) => console.warn(line),
      showMessage: (caption, text) => showMessage(caption || 'Boules', text.replace(/\r/g, '')),
      onFirstFrame: () => {
        performance.mark('boules-first-frame');
        document.body.dataset.firstFrame = String(performance.now());
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
  let started = false;
  function start() {
    if (started) return;
    started = true;
    cover.hidden = true;
    $('#buttons').hidden = false;
    fit();
    canvas.focus();
    document.body.dataset.running = 'true';
    performance.mark('boules-start');
    Module.callMain(programArguments());
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
    $('#buttons').hidden = true;
    document.body.dataset.exitCode = String(code);
    delete document.body.dataset.running;
    if (code === 0) showMessage('The game has ended', '');
    else showMessage('The game stopped', `(exit code ${code})`);
  }

  muteButton.addEventListener('click', () => {
    Module._boules_host_command(0);  // as Ctrl+M: the program says so in its title
    muteButton.blur();
  });
  // The program's title ends in "(muted)" while the sound is off.
  new MutationObserver(() => {
    const muted = document.title.endsWith('(muted)');
    muteButton.textContent = muted ? 'Sound off' : 'Sound on';
    muteButton.setAttribute('aria-pressed', String(muted));
  }).observe(document.querySelector('title'), {childList: true, characterData: true, subtree: true});

  fullscreenButton.hidden = !document.fullscreenEnabled;
  fullscreenButton.addEventListener('click', () => {
    if (document.fullscreenElement) document.exitFullscreen();
    else document.documentElement.requestFullscreen().catch(() => {});
    fullscreenButton.blur();
  });

  load().then(
    () => {
      $('#loading').hidden = true;
      bar.hidden = true;
      document.body.dataset.loaded = String(performance.now());
      if (params.has('demo') || params.has('frames')) {
        start();
        return;
      }
      playButton.hidden = false;
      playButton.focus();
      // A click, not a press: the program starts after the gesture's last mouse event, so none of
      // it reaches the game, and inside the gesture, so the browser lets the sound play.
      cover.addEventListener('click', start);
    },
    (error) => failed(error.message || error),
  );
})();

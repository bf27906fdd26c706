// The page's sound: one AudioContext, made in the tap that starts the game (a game that starts by
// itself makes it at once, and it plays from the person's first gesture), and the worklet that
// plays the blocks of the program's mixer off the main thread (sound_worklet.js). The program
// reaches it as Module.sound (platform/worklet_wave_output_web.cpp) and hears back through
// Module._boules_sound_played and _boules_sound_flushed. While the page is hidden the context
// sleeps; on its return whatever was queued is dropped first, so no stale sound plays.

export class PageSound {
  constructor() {
    this.context = null;
    this.node = null;
    this.pending = [];      // blocks written before the worklet was ready
    this.soundless = false; // the worklet failed to load: blocks are dropped
    this.generation = 0;    // blocks and answers of an older one were flushed
    this.flushes = new Map();  // generation -> what to do once the worklet has flushed
  }

  // Worklets exist only on a secure page (https, localhost, 127.0.0.1): elsewhere no sound.
  begin() {
    if (this.context !== null || typeof AudioContext !== 'function') return;
    const context = new AudioContext({latencyHint: 'interactive'});
    if (!context.audioWorklet) {
      context.close();
      return;
    }
    this.context = context;
    this.loaded = context.audioWorklet.addModule('sound_worklet.js');
    const wake = () => {
      if (context.state === 'suspended' && document.visibilityState === 'visible') context.resume();
    };
    for (const type of ['pointerdown', 'keydown']) window.addEventListener(type, wake, {capture: true});
  }

  available() { return this.context !== null; }

  open(rate, channels) {
    this.loaded.then(() => {
      this.node = new AudioWorkletNode(this.context, 'block-player', {
        numberOfInputs: 0, outputChannelCount: [2], processorOptions: {rate, channels},
      });
      this.node.port.onmessage = ({data}) => this.heard(data);
      this.node.connect(this.context.destination);
      for (const [message, transfer] of this.pending) this.node.port.postMessage(message, transfer);
      this.pending = [];
    }).catch((error) => {  // the game plays on without sound
      console.warn(`no sound: the sound worklet did not load (${error})`);
      this.soundless = true;
      this.pending = [];
    });
  }

  write(bytes) { this.post({block: bytes, generation: this.generation}, [bytes.buffer]); }

  // Drops every queued block; `then` runs once the worklet has dropped them.
  flush(then = () => {}) {
    this.generation += 1;
    this.pending = [];
    this.flushes.set(this.generation, then);
    this.post({flush: this.generation});
  }

  close() {
    this.flush();
    if (this.node) this.node.disconnect();
    this.node = null;
  }

  // The page goes into the background: the context sleeps.
  sleep() {
    if (this.context) this.context.suspend();
  }

  // The page is back: what was queued before it went is dropped, then the context wakes.
  wake() {
    if (!this.context) return;
    this.flush(() => {
      Module._boules_sound_flushed();
      this.context.resume();
    });
  }

  post(message, transfer = []) {
    if (this.node) this.node.port.postMessage(message, transfer);
    else if (message.block && !this.soundless) this.pending.push([message, transfer]);
    else if (this.flushes.has(message.flush)) this.heard({flushed: message.flush});
  }

  heard(data) {
    if (data.played && data.generation === this.generation) Module._boules_sound_played(data.played);
    if (data.flushed !== undefined) {
      const then = this.flushes.get(data.flushed);
      this.flushes.delete(data.flushed);
      if (then) then();
    }
  }
}

// The game's sound, played off the page's main thread: the program's mixer posts blocks of 8-bit
// samples (unsigned, interleaved, at the mixer's own rate), and this processor plays them in
// order at the context's rate, reading between two source samples by straight-line
// interpolation, which never goes beyond the samples it reads: nothing leaves here beyond full
// scale (an 8-bit sample becomes (value - 128) / 128). Every played block is told to the page,
// which hands it back to the mixer; with nothing queued it plays silence.
//
// Messages in: {block: Uint8Array, generation}, {flush: generation} (drop every queued block;
// answered, even while the context is suspended). Messages out: {played: blocks, generation}
// now and then, {flushed: generation}.
'use strict';

class BlockPlayer extends AudioWorkletProcessor {
  constructor(options) {
    super();
    const {rate, channels} = options.processorOptions;
    this.channels = channels;
    this.step = rate / sampleRate;  // source frames per output frame
    this.queue = [];
    this.offset = 0;  // the next source frame in queue[0]
    this.generation = 0;
    // The two source frames the output lies between, and how far along.
    this.from = [0, 0];
    this.to = [0, 0];
    this.along = 0;
    this.played = 0;
    this.port.onmessage = ({data}) => {
      if (data.flush !== undefined) {
        this.generation = data.flush;
        this.queue = [];
        this.offset = 0;
        this.played = 0;
        this.port.postMessage({flushed: data.flush});
      } else if (data.generation === this.generation) {
        this.queue.push(data.block);
      }
    };
  }

  // The next source frame into `this.to`; silence once the queue is empty.
  advance() {
    this.from[0] = this.to[0];
    this.from[1] = this.to[1];
    const block = this.queue[0];
    if (!block) {
      this.to[0] = this.to[1] = 0;
      return;
    }
    const at = this.offset * this.channels;
    this.to[0] = (block[at] - 128) / 128;
    this.to[1] = this.channels === 2 ? (block[at + 1] - 128) / 128 : this.to[0];
    if (++this.offset * this.channels >= block.length) {
      this.queue.shift();
      this.offset = 0;
      ++this.played;
    }
  }

  process(inputs, outputs) {
    const output = outputs[0];
    const left = output[0], right = output[1] || output[0];
    for (let i = 0; i < left.length; ++i) {
      this.along += this.step;
      while (this.along >= 1) {
        this.along -= 1;
        this.advance();
      }
      left[i] = this.from[0] + (this.to[0] - this.from[0]) * this.along;
      right[i] = this.from[1] + (this.to[1] - this.from[1]) * this.along;
    }
    if (this.played > 0) {
      this.port.postMessage({played: this.played, generation: this.generation});
      this.played = 0;
    }
    return true;
  }
}

registerProcessor('block-player', BlockPlayer);

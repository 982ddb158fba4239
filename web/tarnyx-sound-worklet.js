// The page's sound queue, and the AudioWorklet processor that plays it: the game's frames of
// 16-bit samples at 48 kHz in, the audio device's blocks out. Loaded twice: by the audio worklet
// (which registers the processor) and by the page itself, whose fallback for browsers without
// AudioWorklet plays the same queue from a ScriptProcessorNode.
'use strict';

// Samples between the game, which makes 960 (one frame) at a time, and the audio output, which
// takes them at its own pace and rate. At most three frames wait (60 ms), the oldest dropped for
// room; after running dry, playing starts again once two frames wait, so that the next frame may
// come a little late without a gap. Nothing jumps: running dry fades from the last sample to
// silence over 5 ms, samples after silence fade in over 5 ms, and samples after a drop are
// crossfaded in. At an output rate other than 48 kHz the samples are resampled by a straight line
// between neighbours.
class TarnyxSoundQueue {
  constructor(rate) {
    this.step = 48000 / rate;  // input samples per output sample
    const frame = Math.ceil(960 / this.step);
    this.ring = new Float32Array(3 * frame);
    this.resume = 2 * frame;
    this.fade = Math.max(1, Math.round(rate * 0.005));
    this.read = 0;
    this.size = 0;
    this.starved = true;
    this.last = 0;
    this.tail = 0;
    this.tailFrom = 0;
    this.tailStep = this.fade;
    this.ramp = 0;
    this.phase = 0;     // the resampler's position past the previous input sample, 0..1
    this.previous = 0;  // the previous input sample
    this.underruns = 0;
    this.scratch = new Float32Array(2 * frame + 2);
  }

  startTail() {
    this.tailFrom = this.tail = this.last;
    this.tailStep = 0;
    this.ramp = 0;
  }

  // One frame's samples (an Int16Array).
  push(samples) {
    let count = 0;
    if (this.step === 1) {
      for (let i = 0; i < samples.length; ++i) this.scratch[i] = samples[i] / 32768;
      count = samples.length;
    } else {
      // Output samples fall at phase, phase + step, ... between previous and each new sample.
      let at = this.phase;
      for (let i = 0; i < samples.length; ++i) {
        const next = samples[i] / 32768;
        while (at <= 1 && count < this.scratch.length) {
          this.scratch[count++] = this.previous + (next - this.previous) * at;
          at += this.step;
        }
        at -= 1;
        this.previous = next;
      }
      this.phase = at;
    }
    const capacity = this.ring.length;
    const excess = this.size + count - capacity;
    if (excess > 0) {
      const dropped = Math.min(excess, this.size);
      this.read = (this.read + dropped) % capacity;
      this.size -= dropped;
      if (!this.starved) this.startTail();
    }
    let start = Math.max(0, count - capacity);
    let at = (this.read + this.size) % capacity;
    for (let i = start; i < count; ++i) {
      this.ring[at] = this.scratch[i];
      at = at + 1 === capacity ? 0 : at + 1;
    }
    this.size += count - start;
  }

  // Fills out (a Float32Array) with the next samples.
  pull(out) {
    const capacity = this.ring.length;
    for (let i = 0; i < out.length; ++i) {
      if (this.starved && this.size >= this.resume) this.starved = false;
      if (!this.starved && this.size === 0) {
        this.starved = true;
        this.underruns += 1;
        this.startTail();
      }
      if (this.tailStep < this.fade) {
        this.tailStep += 1;
        this.tail = this.tailFrom - this.tailFrom * this.tailStep / this.fade;
      } else {
        this.tail = 0;
      }
      let value = this.tail;
      if (!this.starved) {
        const sample = this.ring[this.read];
        this.read = this.read + 1 === capacity ? 0 : this.read + 1;
        this.size -= 1;
        if (this.ramp < this.fade) {
          this.ramp += 1;
          value = (sample * this.ramp + this.tail * (this.fade - this.ramp)) / this.fade;
        } else {
          value = sample;
        }
      }
      this.last = value;
      out[i] = value;
    }
  }
}

if (typeof registerProcessor === 'function') {
  // The worklet's processor: frames arrive as messages from the page.
  class TarnyxSoundProcessor extends AudioWorkletProcessor {
    constructor() {
      super();
      this.queue = new TarnyxSoundQueue(sampleRate);
      this.port.onmessage = (event) => this.queue.push(event.data);
    }

    process(inputs, outputs) {
      const channels = outputs[0];
      if (channels.length === 0) return true;
      this.queue.pull(channels[0]);
      for (let c = 1; c < channels.length; ++c) channels[c].set(channels[0]);
      return true;
    }
  }
  registerProcessor('tarnyx-sound', TarnyxSoundProcessor);
}

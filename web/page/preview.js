// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// "Vorschau": the last run's video on a canvas at true timing. The page cannot
// run the player (that needs the Z80 core of the desktop program); it shows
// the frames as the part files hold them, each for the time the player gives it.
import { showMessage } from './message_box.js';
import { DOTS, ROWS, drawDots, lcdSize } from './lcd.js';

const $ = (id) => document.getElementById(id);
const dialog = $('preview');
const canvas = $('lcd');
const ZOOM = 4;

const minutesSeconds = (ms) => {
  const seconds = Math.floor(ms / 1000);
  return `${Math.floor(seconds / 60)}:${String(seconds % 60).padStart(2, '0')}`;
};

export class Preview {
  #core;
  #name = '';
  #video = null; // {dots, startMs}
  #frame = 0;
  #playing = false;
  #clockStart = 0; // performance.now() at the video's time 0 while playing
  #gif = null;

  constructor(core) {
    this.#core = core;
    Object.assign(canvas, lcdSize(ZOOM));
    $('play').addEventListener('click', () => (this.#playing ? this.#pause() : this.#play()));
    $('rewind').addEventListener('click', () => this.#stop());
    $('back').addEventListener('click', () => this.#step(-1));
    $('forward').addEventListener('click', () => this.#step(1));
    $('as-gif').addEventListener('click', () => this.#saveGif());
    $('gif-cancel').addEventListener('click', () => this.#endGif());
    dialog.addEventListener('close', () => {
      this.#pause();
      this.#endGif();
    });
    dialog.addEventListener('keydown', (event) => this.#key(event));
  }

  async open(name) {
    if (!name) {
      await showMessage({ title: 'Vorschau', text: 'Es gibt noch kein Video. Erzeugen Sie es zuerst mit „Start“.' });
      return;
    }
    const video = await this.#core.call('core', ['previewVideo', name]);
    if (video.failure) {
      await showMessage(video.failure);
      return;
    }
    this.#name = name;
    this.#video = video;
    $('preview-title').textContent = `Vorschau - ${name}`;
    this.#show(0);
    dialog.showModal();
    $('play').focus();
  }

  get #frames() {
    return this.#video.startMs.length - 1;
  }

  #show(frame) {
    this.#frame = frame;
    drawDots(canvas, this.#video.dots.subarray(frame * DOTS * ROWS, (frame + 1) * DOTS * ROWS), ZOOM);
    const { startMs } = this.#video;
    $('frame-count').textContent = `Bild ${frame + 1} von ${this.#frames}`;
    // The whole to the nearest second, as on the desktop: 5.05 s read 0:05.
    const whole = Math.round(startMs[this.#frames] / 1000) * 1000;
    $('time').textContent = `${minutesSeconds(startMs[frame])} von ${minutesSeconds(whole)}`;
    $('time').title = `Bild ${frame + 1} steht ab ${startMs[frame]} ms`;
    $('time').dataset.startMs = startMs[frame];
  }

  // The frame due now is read from the clock, so late wake-ups never add up.
  #play() {
    if (this.#frame === this.#frames - 1) this.#frame = 0;
    this.#clockStart = performance.now() - this.#video.startMs[this.#frame];
    this.#playing = true;
    $('play').textContent = 'Pause';
    requestAnimationFrame(() => this.#tick());
  }

  #tick() {
    if (!this.#playing) return;
    const { startMs } = this.#video;
    let ms = performance.now() - this.#clockStart;
    if (ms >= startMs[this.#frames]) {
      if (!$('repeat').checked) {
        this.#pause();
        return;
      }
      this.#clockStart += startMs[this.#frames];
      ms -= startMs[this.#frames];
    }
    const due = frameAt(startMs, ms);
    if (due !== this.#frame) this.#show(due);
    requestAnimationFrame(() => this.#tick());
  }

  #pause() {
    this.#playing = false;
    $('play').textContent = 'Abspielen';
  }

  #stop() {
    this.#pause();
    this.#show(0);
  }

  #step(by) {
    this.#pause();
    this.#show(Math.min(Math.max(this.#frame + by, 0), this.#frames - 1));
  }

  // Space plays and pauses, the arrows step; any other key on the display stops, as on the PC-1600.
  #key(event) {
    if (event.target === canvas) {
      event.preventDefault();
      if (event.key === ' ') this.#playing ? this.#pause() : this.#play();
      else if (event.key === 'ArrowLeft') this.#step(-1);
      else if (event.key === 'ArrowRight') this.#step(1);
      else if (event.key !== 'Escape') this.#pause();
    }
  }

  #saveGif() {
    this.#pause();
    $('gif-work').hidden = false;
    $('as-gif').disabled = true;
    this.#gif = new Worker(new URL('./gif_worker.js', import.meta.url), { type: 'module' });
    this.#gif.onmessage = ({ data }) => {
      if (data.bytes) {
        const link = document.createElement('a');
        link.href = URL.createObjectURL(new Blob([data.bytes], { type: 'image/gif' }));
        link.download = `${this.#name}.gif`;
        link.click();
        setTimeout(() => URL.revokeObjectURL(link.href), 10000);
        this.#endGif();
        return;
      }
      $('gif-progress').max = data.frames;
      $('gif-progress').value = data.done;
    };
    this.#gif.onerror = async (event) => {
      event.preventDefault();
      this.#endGif();
      await showMessage({ title: 'Als GIF speichern', text: `Das GIF konnte nicht geschrieben werden:\n${event.message}` });
    };
    const dots = this.#video.dots.slice();
    this.#gif.postMessage({ dots, startMs: this.#video.startMs }, [dots.buffer]);
  }

  #endGif() {
    this.#gif?.terminate();
    this.#gif = null;
    $('gif-work').hidden = true;
    $('as-gif').disabled = false;
  }
}

// The frame standing at `ms`: the last one that has started (a search in the core's times).
function frameAt(startMs, ms) {
  let low = 0;
  let high = startMs.length - 2;
  while (low < high) {
    const middle = (low + high + 1) >> 1;
    if (startMs[middle] <= ms) low = middle;
    else high = middle - 1;
  }
  return low;
}

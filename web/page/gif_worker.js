// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Writes the preview as an animated GIF at the video's own timing, off the
// page's thread. GIF counts delays in hundredths of a second; each frame ends
// where the video's time ends it, rounded, so small errors never add up.
import { GIFEncoder } from './vendor/gifenc.js';
import { DOTS, PALETTE, ROWS, lcdIndices, lcdSize } from './lcd.js';

const ZOOM = 3; // 480 x 120 pixels: shows the dots, stays small to share
const COLOURS = [...PALETTE, PALETTE[0]]; // a GIF colour table holds a power of two

onmessage = ({ data: { dots, startMs } }) => {
  const frames = startMs.length - 1;
  const { width, height } = lcdSize(ZOOM);
  const gif = GIFEncoder();
  const hundredths = (ms) => Math.round(ms / 10);
  for (let frame = 0; frame < frames; ++frame) {
    const picture = lcdIndices(dots.subarray(frame * DOTS * ROWS, (frame + 1) * DOTS * ROWS), ZOOM);
    const delay = (hundredths(startMs[frame + 1]) - hundredths(startMs[frame])) * 10;
    gif.writeFrame(picture, width, height, { palette: COLOURS, delay, repeat: 0 });
    postMessage({ done: frame + 1, frames });
  }
  gif.finish();
  const bytes = gif.bytes();
  postMessage({ bytes }, [bytes.buffer]);
};

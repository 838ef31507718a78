// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The PC-1600's display as a picture, as the desktop preview draws it: dark
// dots on an LCD-grey ground, a faint trace of every dot that is off, a thin
// gap between the dots from 3x on, and a margin of ground around them.
export const DOTS = 156;
export const ROWS = 32;
const MARGIN = 2;

// Ground, dot off, dot on: the picture's colour indices 0, 1, 2.
export const PALETTE = [[0xa9, 0xb2, 0x9f], [0x9f, 0xa8, 0x95], [0x1e, 0x24, 0x1c]];

export function lcdSize(zoom) {
  return { width: (DOTS + 2 * MARGIN) * zoom, height: (ROWS + 2 * MARGIN) * zoom };
}

// One frame of `dots` (DOTS x ROWS bytes, 1 for a dark dot) as colour indices.
export function lcdIndices(dots, zoom) {
  const { width, height } = lcdSize(zoom);
  const picture = new Uint8Array(width * height);
  const dot = zoom >= 3 ? zoom - 1 : zoom;
  for (let y = 0; y < ROWS; ++y) {
    for (let x = 0; x < DOTS; ++x) {
      const colour = dots[y * DOTS + x] ? 2 : 1;
      for (let row = 0; row < dot; ++row) {
        const start = ((MARGIN + y) * zoom + row) * width + (MARGIN + x) * zoom;
        picture.fill(colour, start, start + dot);
      }
    }
  }
  return picture;
}

// The palette as a canvas's pixels (RGBA bytes in memory order, read as one number).
const PIXELS = PALETTE.map(([r, g, b]) => new Uint32Array(new Uint8Array([r, g, b, 255]).buffer)[0]);

// One frame of `dots` drawn on a canvas of lcdSize(zoom).
export function drawDots(canvas, dots, zoom) {
  const picture = lcdIndices(dots, zoom);
  const image = new ImageData(canvas.width, canvas.height);
  const pixels = new Uint32Array(image.data.buffer);
  picture.forEach((colour, i) => {
    pixels[i] = PIXELS[colour];
  });
  canvas.getContext('2d').putImageData(image, 0, 0);
}

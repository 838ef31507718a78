// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Reads the chosen frames all at once (one after the other costs a round trip
// each) into one piece for the worker: {frames: {names, sizes, bytes}}, or
// {unreadable: name}. Reading here, not in the worker, spares a copy of each
// file's handle on the way there, which costs the browser as much as the reading.
export async function readFrames(files, onRead) {
  let done = 0;
  try {
    const parts = await Promise.all(files.map(async (file) => {
      const bytes = await file.arrayBuffer().catch(() => Promise.reject(file.name));
      onRead(++done, files.length);
      return new Uint8Array(bytes);
    }));
    const bytes = new Uint8Array(parts.reduce((total, part) => total + part.length, 0));
    parts.reduce((at, part) => {
      bytes.set(part, at);
      return at + part.length;
    }, 0);
    return { frames: { names: files.map(({ name }) => name), sizes: parts.map(({ length }) => length), bytes } };
  } catch (unreadable) {
    return { unreadable };
  }
}

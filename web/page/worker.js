// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The page's worker: the only place the WebAssembly core runs. It keeps the
// window's state (the converter) and answers the page's calls one by one.
import createVelvixCore from './velvix_core.js';

const ready = createVelvixCore().then((core) => ({ core, window: new core.PageWindow() }));

const calls = {
  core: ({ core }, name, ...args) => core[name](...args),
  choose: ({ window }, what, index) => window[what](index),
  frameCapacity: ({ window }) => window.frameCapacity(),
  // Which of the chosen files a run reads: the page reads only those.
  frameIndices: ({ core }, names) => names.flatMap((name, i) => (core.isFrameName(name) ? [i] : [])),
  start: ({ window }, frames, choices) => window.start(frames, choices),
};

onmessage = async ({ data: { id, call, args } }) => {
  try {
    const result = calls[call](await ready, ...args);
    const arrays = [...(result?.files ?? []), result ?? {}].flatMap((entry) => [entry.bytes, entry.dots]);
    const buffers = arrays.filter((array) => array instanceof Uint8Array).map((array) => array.buffer);
    postMessage({ id, result }, buffers);
  } catch (error) {
    postMessage({ id, failure: String(error) });
  }
};

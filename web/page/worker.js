// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The page's worker: the only place the WebAssembly core runs. It keeps the
// window's state (the converter) and answers the page's calls one by one.
import createVelvixCore from './velvix_core.js';

const ready = createVelvixCore().then((core) => ({ core, window: new core.PageWindow() }));

function progress(id, done, total) {
  postMessage({ id, progress: { done, total } });
}

// Reads the frames of the chosen files here, off the page's thread, all at
// once (one after the other costs a round trip each); other files stay unread.
async function readFrames(id, core, files) {
  const chosen = files.filter((file) => core.isFrameName(file.name));
  let done = 0;
  try {
    const frames = await Promise.all(chosen.map(async (file) => {
      const bytes = await file.arrayBuffer().catch(() => Promise.reject(file.name));
      progress(id, ++done, chosen.length);
      return { name: file.name, bytes: new Uint8Array(bytes) };
    }));
    return { frames };
  } catch (unreadable) {
    return { unreadable };
  }
}

const calls = {
  core: ({ core }, name, ...args) => core[name](...args),
  choose: ({ window }, what, index) => window[what](index),
  frameCapacity: ({ window }) => window.frameCapacity(),
  async start({ core, window }, id, files, choices) {
    const read = await readFrames(id, core, files);
    if (read.unreadable) {
      return read;
    }
    return window.start(read.frames, choices);
  },
};

onmessage = async ({ data: { id, call, args } }) => {
  try {
    const state = await ready;
    const result = await (call === 'start' ? calls.start(state, id, ...args) : calls[call](state, ...args));
    const arrays = [...(result?.files ?? []), result ?? {}].flatMap((entry) => [entry.bytes, entry.dots]);
    const buffers = arrays.filter((array) => array instanceof Uint8Array).map((array) => array.buffer);
    postMessage({ id, result }, buffers);
  } catch (error) {
    postMessage({ id, failure: String(error) });
  }
};

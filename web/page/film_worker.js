// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The film dialog's worker: the frames library of the WebAssembly core with
// ffmpeg for WebAssembly beside it, loaded only when a film is chosen. The
// core runs ffmpeg through Module.runFfmpeg as the desktop runs its program;
// both read the chosen files where they lie, mounted at /Eingabe.
import createVelvixCore from './velvix_core.js';
import createFFmpegCore from './vendor/ffmpeg/ffmpeg-core.js';

const INPUT = '/Eingabe';
let progress = null; // the running call's: {id, done}, done in bytes read of the chosen files

// A chosen file as ffmpeg and the core read it: every piece read counts, and
// the page hears of each further percent.
function watched(file, total) {
  const slice = (from, to) => {
    if (progress) {
      const before = Math.floor((100 * progress.done) / total);
      progress.done = Math.min(progress.done + to - from, total);
      if (Math.floor((100 * progress.done) / total) > before) {
        postMessage({ id: progress.id, progress: { done: progress.done, total } });
      }
    }
    return file.slice(from, to);
  };
  return { name: file.name, data: { size: file.size, slice } };
}

function exists(fs, path) {
  return fs.analyzePath(path).exists;
}

async function load() {
  const [core, ffmpeg] = await Promise.all([
    createVelvixCore(),
    createFFmpegCore({ locateFile: (name) => new URL(`./vendor/ffmpeg/${name}`, import.meta.url).href }),
  ]);
  ffmpeg.DEFAULT_ARGS = ['ffmpeg']; // the core's own arguments are the whole command line
  let log = [];
  ffmpeg.setLogger(({ message }) => log.push(message));
  // An input of our file system that ffmpeg's lacks is made there for the run: a
  // file is copied; the folder of an image sequence's numbered links ("…/%d") gets
  // the same links, to the same chosen files under /Eingabe. The output comes back into ours.
  const mirror = (path, made) => {
    if (core.FS.isLink(core.FS.lstat(path).mode)) {
      ffmpeg.FS.symlink(core.FS.readlink(path), path);
    } else {
      ffmpeg.FS.writeFile(path, core.FS.readFile(path));
    }
    made.push(path);
  };
  core.runFfmpeg = (args, output) => {
    const made = []; // deepest first once reversed
    args.forEach((arg, i) => {
      const path = args[i - 1] === '-i' ? arg.replace(/^file:/, '') : '';
      const folder = path.endsWith('/%d') ? path.slice(0, -3) : '';
      if (folder && !exists(ffmpeg.FS, folder) && exists(core.FS, folder)) {
        ffmpeg.FS.mkdir(folder);
        made.push(folder);
        core.FS.readdir(folder).filter((name) => name !== '.' && name !== '..')
          .forEach((name) => mirror(`${folder}/${name}`, made));
      } else if (path && !folder && !exists(ffmpeg.FS, path) && exists(core.FS, path)) {
        mirror(path, made);
      }
    });
    log = [];
    const exitCode = ffmpeg.exec(...args);
    ffmpeg.reset();
    if (exists(ffmpeg.FS, output)) {
      core.FS.writeFile(output, ffmpeg.FS.readFile(output));
      ffmpeg.FS.unlink(output);
    }
    made.reverse().forEach((path) => (ffmpeg.FS.isDir(ffmpeg.FS.lstat(path).mode) ? ffmpeg.FS.rmdir(path) : ffmpeg.FS.unlink(path)));
    return { exitCode, log: log.join('\n') };
  };
  return { core, ffmpeg, window: new core.FilmWindow() };
}

const ready = load();

// One film, or images (from the folder `folderName`): the worker serves one choice of files.
function mount({ core, ffmpeg }, files, folderName) {
  const place = folderName ? `${INPUT}/${folderName}` : INPUT;
  const total = Math.max(files.reduce((sum, file) => sum + file.size, 0), 1);
  const blobs = files.map((file) => watched(file, total));
  for (const fs of [core.FS, ffmpeg.FS]) {
    fs.mkdirTree(place);
    fs.mount(fs.filesystems.WORKERFS, { blobs }, place);
  }
  return `${place}/${files[0].name}`;
}

const calls = {
  open: (state, files, folderName) => state.window.open(mount(state, files, folderName)),
  count: ({ window }, options, capacity) => window.count(options, capacity),
  look: ({ window }, place, options) => {
    const failure = place === null ? '' : window.pictureAt(place);
    return { dots: window.look(options), failure };
  },
  make: ({ window }, options, id) => window.make(options, (done, total) => {
    postMessage({ id, progress: { done, total, frames: true } });
  }),
};

onmessage = async ({ data: { id, call, args } }) => {
  try {
    const state = await ready;
    progress = { id, done: 0 };
    const result = calls[call](state, ...args, id);
    postMessage({ id, result }, result?.dots ? [result.dots.buffer] : []);
  } catch (error) {
    postMessage({ id, failure: String(error) });
  } finally {
    progress = null;
  }
};

// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Where the frames come from: a chosen folder, chosen files, or either dropped
// on the list. Only the files directly in the folder count, as on the desktop.
// Files without a bitmap among them, and those of "Film…", are a film or
// pictures to make frames of first.
import { downloadZip } from './written_files.js';

const $ = (id) => document.getElementById(id);
const isBitmap = (name) => /\.bmp$/i.test(name);
let urls = [];

// The list of frames; those of a film each to download, and all as one ZIP.
function show(files, heading, film) {
  for (const url of urls) URL.revokeObjectURL(url);
  urls = [];
  $('folder-name').textContent = heading;
  const bitmaps = files.filter(({ name }) => isBitmap(name));
  bitmaps.sort((a, b) => a.name.localeCompare(b.name, 'de', { sensitivity: 'base' }));
  $('file-list').replaceChildren(...bitmaps.map((file) => {
    const item = document.createElement('li');
    if (!film) {
      item.textContent = file.name;
      return item;
    }
    const link = Object.assign(document.createElement('a'), { textContent: file.name, download: file.name });
    link.href = URL.createObjectURL(file);
    urls.push(link.href);
    item.append(link);
    return item;
  }));
  $('frames-zip').hidden = !film;
  $('frames-zip').onclick = async () => {
    const frames = await Promise.all(bitmaps.map(async (file) => ({ name: file.name, bytes: new Uint8Array(await file.arrayBuffer()) })));
    downloadZip(frames, film);
  };
}

// The frames a film gave; `film`: its video name, which names the ZIP.
export function showFilmFrames(files, heading, film) {
  show(files, heading, film || 'BILDER');
}

export function chooseFrames(onChosen, onFilm) {
  const take = (files, folderName) => {
    if (files.length > 0 && !files.some(({ name }) => isBitmap(name))) {
      onFilm(files, folderName);
      return;
    }
    show(files, folderName ? `Ordner: ${folderName}`
      : `${files.length === 1 ? 'Eine Datei' : `${files.length} Dateien`} gewählt`, '');
    onChosen(files);
  };

  $('pick-folder').addEventListener('change', ({ target }) => {
    const files = [...target.files].filter((file) => file.webkitRelativePath.split('/').length === 2);
    take(files, target.files[0]?.webkitRelativePath.split('/')[0] ?? '');
  });
  $('pick-files').addEventListener('change', ({ target }) => take([...target.files], ''));
  $('pick-film').addEventListener('change', ({ target }) => {
    onFilm([...target.files], '');
    target.value = ''; // the same film chosen again opens the dialog again
  });

  const drop = $('drop');
  drop.addEventListener('dragover', (event) => {
    event.preventDefault();
    drop.classList.add('over');
  });
  drop.addEventListener('dragleave', () => drop.classList.remove('over'));
  drop.addEventListener('drop', async (event) => {
    event.preventDefault();
    drop.classList.remove('over');
    const entries = [...event.dataTransfer.items].map((item) => item.webkitGetAsEntry()).filter(Boolean);
    const folder = entries.length === 1 && entries[0].isDirectory ? entries[0] : null;
    const files = folder ? await folderFiles(folder) : [...event.dataTransfer.files];
    take(files, folder?.name ?? '');
  });
}

// The files directly in a dropped folder; the browser hands them out in batches.
async function folderFiles(folder) {
  const reader = folder.createReader();
  const files = [];
  for (;;) {
    const batch = await new Promise((resolve, reject) => reader.readEntries(resolve, reject));
    if (batch.length === 0) return files;
    for (const entry of batch.filter((e) => e.isFile)) {
      files.push(await new Promise((resolve, reject) => entry.file(resolve, reject)));
    }
  }
}

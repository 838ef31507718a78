// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Where the frames come from: a chosen folder, chosen files, or either dropped
// on the list. Only the files directly in the folder count, as on the desktop.
const $ = (id) => document.getElementById(id);

export function chooseFrames(onChosen) {
  const take = (files, folderName) => {
    $('folder-name').textContent = folderName
      ? `Ordner: ${folderName}`
      : `${files.length === 1 ? 'Eine Datei' : `${files.length} Dateien`} gewählt`;
    const bitmaps = files.map((file) => file.name).filter((name) => /\.bmp$/i.test(name));
    bitmaps.sort((a, b) => a.localeCompare(b, 'de', { sensitivity: 'base' }));
    $('file-list').replaceChildren(...bitmaps.map((name) => Object.assign(document.createElement('li'), { textContent: name })));
    onChosen(files);
  };

  $('pick-folder').addEventListener('change', ({ target }) => {
    const files = [...target.files].filter((file) => file.webkitRelativePath.split('/').length === 2);
    take(files, target.files[0]?.webkitRelativePath.split('/')[0] ?? '');
  });
  $('pick-files').addEventListener('change', ({ target }) => take([...target.files], ''));

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

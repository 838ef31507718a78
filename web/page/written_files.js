// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
import { zipSync } from './vendor/fflate.js';
import { showMessage } from './message_box.js';

// The files of the last run: each to download, all as one ZIP, or written
// into a folder the user chooses where the browser allows it.
const section = document.getElementById('written');
const list = document.getElementById('written-list');
let urls = [];

export function showWrittenFiles(files, videoName) {
  for (const url of urls) URL.revokeObjectURL(url);
  urls = [];
  list.replaceChildren(
    ...files.map(({ name, bytes }) => {
      const link = document.createElement('a');
      link.href = track(URL.createObjectURL(new Blob([bytes])));
      link.download = name;
      link.textContent = `${name} (${bytes.length} Bytes)`;
      const item = document.createElement('li');
      item.append(link);
      return item;
    }),
  );
  section.hidden = files.length === 0;
  document.getElementById('zip').onclick = () => downloadZip(files, videoName || 'VIDEO');
  const toFolder = document.getElementById('to-folder');
  toFolder.hidden = !('showDirectoryPicker' in window);
  toFolder.onclick = () => writeIntoFolder(files);
}

function track(url) {
  urls.push(url);
  return url;
}

export function downloadZip(files, videoName) {
  const zip = zipSync(Object.fromEntries(files.map(({ name, bytes }) => [name, bytes])), { level: 6 });
  const link = document.createElement('a');
  link.href = track(URL.createObjectURL(new Blob([zip], { type: 'application/zip' })));
  link.download = `${videoName}.zip`;
  link.click();
}

// The browser writes each file beside the folder's others and swaps it in when
// it is complete, so a file is there whole or not at all.
async function writeIntoFolder(files) {
  let folder;
  try {
    folder = await window.showDirectoryPicker({ mode: 'readwrite', id: 'velvix-videos' });
  } catch {
    return; // the user closed the picker
  }
  for (const { name, bytes } of files) {
    let stream;
    try {
      const handle = await folder.getFileHandle(name, { create: true });
      stream = await handle.createWritable();
      await stream.write(bytes);
      await stream.close();
    } catch (error) {
      await stream?.abort().catch(() => {});
      await showMessage({
        title: 'Laufzeitfehler',
        text: `Die Datei kann nicht geschrieben werden:\n${folder.name}/${name}\nGrund: ${error.message}\n` +
          'Bitte einen anderen Ordner wählen oder die Dateien einzeln laden.',
      });
      return;
    }
  }
  await showMessage({
    title: 'Fertig',
    text: `${files.length === 1 ? 'Eine Datei' : `${files.length} Dateien`} in den Ordner ${folder.name} geschrieben.`,
    warning: false,
  });
}

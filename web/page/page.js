// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The page's main window: the steps of the desktop window, with the work in
// the worker. The page only forwards the user's choices and shows what the
// conversion answers; every rule stays in the C++ core.
import { CancelledError, CoreClient } from './core_client.js';
import { showMessage } from './message_box.js';
import { FilmDialog } from './film.js';
import { chooseFrames, showFilmFrames } from './frame_choice.js';
import { Preview } from './preview.js';
import { Transfer } from './transfer.js';
import { showWrittenFiles } from './written_files.js';
import { readFrames } from './frame_reading.js';

const $ = (id) => document.getElementById(id);
const core = new CoreClient();

// Each list and the handling it runs in the core, in the order the desktop window chooses its start entries.
const lists = [
  ['ComboVKompST', 'chooseStrength', 2],
  ['Combo1', 'chooseFrameRate', 2],
  ['Combo2', 'chooseSlot1', 0],
  ['Combo3', 'chooseSlot2', 0],
];

let frames = [];
let video = ''; // the name of the last run's video, while its files are in the core
let cancelled = false; // by the user, during the run under way

async function show(events) {
  for (const { kind, value } of events) {
    switch (kind) {
      case 'message':
        await showMessage(value);
        break;
      case 'videoLength':
        $('TextVideoLng').value = value;
        break;
      case 'playSeconds':
        $('TextVidSekReal').value = value;
        break;
      case 'compactFit':
        $('TextKompakt').value = value;
        break;
      case 'videoName':
        $('VideoName').value = value;
        break;
      case 'focusVideoName':
        $('VideoName').focus();
        break;
      case 'slot2Choice':
        $('Combo3').selectedIndex = value;
        break;
    }
  }
}

async function choose(id, handling) {
  await show(await core.call('choose', [handling, $(id).selectedIndex]));
}

// A fresh core knows nothing yet: it hears every list's choice as the desktop window's start-up does.
async function chooseAll() {
  for (const [id, handling] of lists) {
    await choose(id, handling);
  }
}

// Asked once, as the page loads: the first question costs the browser a moment.
const decimalSeparator = new Intl.NumberFormat(navigator.language).formatToParts(1.5)
  .find((part) => part.type === 'decimal')?.value ?? ',';

function setBusy(busy, text = '') {
  for (const control of $('drive').elements) control.disabled = busy;
  $('work').hidden = !busy;
  $('work-text').textContent = text;
  $('progress').removeAttribute('value');
}

function showProgress(done, total) {
  $('progress').max = total;
  $('progress').value = done;
  $('work-text').textContent = `Bild ${done} von ${total} gelesen`;
}

async function start(event) {
  event.preventDefault();
  $('status').textContent = '';
  setBusy(true, 'Umwandlung läuft …');
  video = '';
  cancelled = false;
  const choices = {
    videoName: $('VideoName').value,
    compress: $('CheckVKomp').checked,
    player: $('CheckvPlay').checked,
    loader: $('CheckStartBas').checked,
    compact: $('CheckKompakt').checked,
    decimalSeparator,
  };
  let result;
  try {
    const indices = await core.call('frameIndices', [frames.map(({ name }) => name)]);
    const read = await readFrames(indices.map((index) => frames[index]), showProgress);
    if (cancelled) throw new CancelledError(); // the reading went on regardless
    result = read.unreadable ? read : await core.call('start', [read.frames, choices], undefined, [read.frames.bytes.buffer]);
  } catch (error) {
    setBusy(false);
    if (error instanceof CancelledError) {
      $('status').textContent = 'Abgebrochen: es wurde keine Datei geschrieben.';
      await chooseAll();
    } else {
      await failed(error);
    }
    return;
  }
  setBusy(false);
  if (result.unreadable) {
    await showMessage({
      title: 'Laufzeitfehler',
      text: `Die Datei kann nicht gelesen werden:\n${result.unreadable}\nBitte die Bilder erneut wählen.`,
    });
    return;
  }
  showWrittenFiles([], '');
  await show(result.events);
  showWrittenFiles(result.files, result.outputName);
  video = result.files.length > 0 ? result.outputName : '';
}

async function failed(error) {
  await showMessage({
    title: 'Laufzeitfehler',
    text: `Der Programmkern der Seite ist ausgefallen:\n${error.message}\nBitte die Seite neu laden.`,
  });
}

async function load() {
  $('drive').addEventListener('submit', start);
  $('cancel').addEventListener('click', () => {
    cancelled = true;
    core.cancel();
  });
  $('Hilfe').addEventListener('click', () => $('help').showModal());
  const preview = new Preview(core);
  $('Vorschau').addEventListener('click', () => preview.open(video));
  const transfer = new Transfer(core);
  $('Uebertragen').addEventListener('click', () => transfer.open(video));
  // As on the desktop, a film's frames come with their rate and a name for the video.
  const film = new FilmDialog(core, async ({ frames: made, rateIndex, videoName, source }) => {
    frames = made.map(({ name, bytes }) => new File([bytes], name, { type: 'image/bmp' }));
    showFilmFrames(frames, `${source} – ${frames.length === 1 ? 'ein Bild' : `${frames.length} Bilder`}`, videoName);
    $('Combo1').selectedIndex = rateIndex;
    await choose('Combo1', 'chooseFrameRate');
    $('VideoName').value = videoName;
  });
  chooseFrames((chosen) => {
    frames = chosen;
  }, (files, folderName) => film.open(files, folderName));
  try {
    const entries = await core.call('core', ['listEntries']);
    const filled = { Combo1: entries.frameRates, Combo2: entries.slot1, Combo3: entries.slot2, ComboVKompST: entries.strengths };
    for (const [id, handling, first] of lists) {
      $(id).replaceChildren(...filled[id].map((text) => new Option(text)));
      $(id).selectedIndex = first;
      $(id).addEventListener('change', () => choose(id, handling));
    }
    await chooseAll();
  } catch (error) {
    await failed(error);
    return;
  }
  $('Eingabe').disabled = false;
  $('Eingabe').focus();
  document.body.dataset.ready = 'true';
}

load();

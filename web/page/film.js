// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// "Film …": a film or images to frames, as the desktop's film dialog makes
// them, with its controls and words. The work runs in a worker of its own,
// with ffmpeg for WebAssembly, started for each film and ended by Abbrechen;
// the page's conversion keeps its own worker meanwhile.
import { CancelledError, CoreClient } from './core_client.js';
import { DOTS, drawDots, lcdSize } from './lcd.js';
import { showMessage } from './message_box.js';

const $ = (id) => document.getElementById(id);
const dialog = $('film');
const ZOOM = 3; // as the desktop dialog's picture
const LOOK_DELAY_MS = 150; // a dragged slider asks for one picture, not for every step

export class FilmDialog {
  #core;
  #onMade;
  #work = null; // the worker's client for the chosen files
  #files = [];
  #folderName = '';
  #survey = null;
  #busy = false;
  #looking = Promise.resolve();
  #lookTimer = 0;

  // `core`: the page's worker (lists, memory); `onMade({frames, rateIndex, videoName, source})`.
  constructor(core, onMade) {
    this.#core = core;
    this.#onMade = onMade;
    Object.assign($('film-look'), lcdSize(ZOOM));
    $('Stelle').addEventListener('input', () => {
      this.#showPlace();
      clearTimeout(this.#lookTimer);
      this.#lookTimer = setTimeout(() => this.#look(true), LOOK_DELAY_MS);
    });
    // A new start shows the picture there: that is where the frames begin.
    $('Start').addEventListener('change', () => {
      $('Stelle').value = Math.round(Number($('Start').value) * 10);
      this.#showPlace();
      this.#look(true);
    });
    for (const id of ['Ausschnitt', 'Verfahren', 'Schwelle', 'Helligkeit', 'Kontrast', 'Invertieren']) {
      $(id).addEventListener('change', () => this.#look(false));
    }
    for (const id of ['Bildrate', 'Start', 'Dauer', 'Erste299']) {
      $(id).addEventListener('change', () => this.#count());
    }
    $('Verfahren').addEventListener('change', () => this.#enable());
    $('Umwandeln').addEventListener('click', () => this.#make());
    $('film-cancel').addEventListener('click', () => (this.#busy ? this.#stop() : dialog.close()));
    dialog.addEventListener('cancel', (event) => {
      if (this.#busy) {
        event.preventDefault();
        this.#stop();
      }
    });
    dialog.addEventListener('close', () => this.#end());
  }

  // files: one film, or images (from the folder `folderName`, if one was chosen).
  async open(files, folderName) {
    this.#files = files;
    this.#folderName = folderName;
    const methods = await this.#core.call('core', ['filmMethods']);
    $('Verfahren').replaceChildren(...methods.map((name) => new Option(name)));
    $('Bildrate').replaceChildren(...[...$('Combo1').options].map((option) => new Option(option.text)));
    $('Bildrate').selectedIndex = $('Combo1').selectedIndex;
    for (const [id, value] of [['Start', ''], ['Dauer', ''], ['Schwelle', 128], ['Helligkeit', 0], ['Kontrast', 100]]) {
      $(id).value = value;
    }
    $('Ausschnitt').selectedIndex = 0;
    $('Invertieren').checked = false;
    $('Erste299').checked = false;
    this.#name(false);
    this.#progress('', 0);
    dialog.showModal();
    if (await this.#read()) {
      $('Stelle').value = this.#survey.folder ? 0 : Math.floor(Number($('Stelle').max) / 2); // the middle says more than the often dark start
      this.#showPlace();
      await this.#look(true);
    }
  }

  // A worker of its own for the chosen files: what they hold, read once.
  async #read() {
    this.#end();
    this.#work = new CoreClient('./film_worker.js');
    this.#survey = null;
    this.#setBusy(true);
    this.#showLook(null, 'Film wird gelesen …');
    $('Anzahl').textContent = 'Film wird gelesen …';
    $('Speicher').textContent = '';
    $('Erste299-row').hidden = true;
    let survey;
    try {
      survey = await this.#work.call('open', [this.#files, this.#folderName]);
    } catch (error) {
      if (error instanceof CancelledError) dialog.close(); // Abbrechen while the film is read
      else await this.#failed(error);
      return false;
    }
    this.#setBusy(false);
    if (survey.failure) {
      dialog.close();
      await showMessage(survey.failure);
      return false;
    }
    this.#survey = survey;
    this.#name(survey.folder);
    const seconds = survey.seconds ?? 0;
    $('Stelle').max = survey.folder ? survey.images - 1 : Math.max(0, Math.floor(seconds * 10) - 1);
    // A start at the very end would give no frame at all.
    $('Start').max = seconds > 0.1 ? (seconds - 0.1).toFixed(1) : '';
    $('Dauer').max = seconds > 0 ? seconds : '';
    await this.#count();
    return true;
  }

  // As the desktop names its input: the film, or where the images come from.
  #name(images) {
    const [first, ...others] = this.#files.map((file) => file.name);
    $('film-input').textContent = this.#folderName ? `Bilder aus: ${this.#folderName}`
      : others.length > 0 ? `Bilder: ${first} und ${others.length === 1 ? 'eines mehr' : `${others.length} weitere`}`
        : `${images ? 'Bild' : 'Film'}: ${first}`;
  }

  #options() {
    const number = (id) => Number($(id).value) || 0;
    return {
      rate: $('Bildrate').selectedIndex,
      start: number('Start'),
      length: number('Dauer'),
      fill: $('Ausschnitt').selectedIndex === 0,
      method: $('Verfahren').selectedIndex,
      level: number('Schwelle'),
      brightness: number('Helligkeit'),
      contrast: number('Kontrast'),
      invert: $('Invertieren').checked,
      firstOnly: $('Erste299').checked,
    };
  }

  async #count() {
    if (!this.#survey) return;
    const capacity = await this.#core.call('frameCapacity');
    const count = await this.#work.call('count', [this.#options(), capacity]);
    $('Anzahl').textContent = count.count;
    $('Anzahl').classList.toggle('red', count.known && count.tooMany);
    $('Erste299-text').textContent = count.firstOnly;
    $('Erste299-row').hidden = !count.tooMany;
    $('Speicher').textContent = count.memory;
    this.#convertible = count.convertible;
    this.#enable();
  }

  #convertible = false;

  async #showPlace() {
    const place = Number($('Stelle').value);
    $('StelleZeit').textContent = this.#survey?.folder ? `Bild ${place + 1} / ${Number($('Stelle').max) + 1}`
      : await this.#core.call('core', ['filmClock', place / 10]);
  }

  // The picture at the slider (read again only when `again`) as the settings make it a frame; one at a time.
  #look(again) {
    if (!this.#survey || this.#busy) return this.#looking;
    const place = again ? Number($('Stelle').value) : null;
    this.#looking = this.#looking.then(async () => {
      try {
        const { dots, failure } = await this.#work.call('look', [place, this.#options()]);
        this.#showLook(dots, failure || 'An dieser Stelle gibt es kein Bild.');
      } catch (error) {
        if (!(error instanceof CancelledError)) await this.#failed(error);
      }
    });
    return this.#looking;
  }

  #showLook(dots, text) {
    const canvas = $('film-look');
    drawDots(canvas, dots ?? new Uint8Array(DOTS * 32), ZOOM);
    canvas.title = dots ? '' : text;
    $('film-look-text').textContent = dots ? '' : text;
  }

  async #make() {
    this.#setBusy(true);
    this.#progress('Film wird gelesen …');
    let made;
    try {
      made = await this.#work.call('make', [this.#options()], (progress) => this.#showProgress(progress));
    } catch (error) {
      if (error instanceof CancelledError) {
        this.#progress('Abgebrochen; es wurde nichts geschrieben.', 0);
        if (dialog.open && await this.#read()) await this.#look(true);
      } else {
        await this.#failed(error);
      }
      return;
    }
    this.#setBusy(false);
    if (made.failure) {
      this.#progress('Nicht umgewandelt', 0);
      await showMessage(made.failure);
      return;
    }
    dialog.close();
    this.#onMade({
      frames: made.frames, rateIndex: $('Bildrate').selectedIndex, videoName: made.videoName, source: $('film-input').textContent,
    });
  }

  #showProgress({ done, total, frames }) {
    $('Fortschritt').max = total;
    $('Fortschritt').value = done;
    $('film-work').textContent = frames ? `Bild ${done} von ${total}` : `Film wird gelesen: ${Math.floor((100 * done) / total)} %`;
  }

  #progress(text, value) {
    if (value === undefined) $('Fortschritt').removeAttribute('value');
    else $('Fortschritt').value = value;
    $('film-work').textContent = text;
  }

  // Abbrechen while the frames are made: their worker ends, and a new one reads the files again.
  #stop() {
    this.#work?.cancel();
  }

  #end() {
    this.#work?.cancel();
    this.#work = null;
    this.#setBusy(false);
  }

  #setBusy(busy) {
    this.#busy = busy;
    for (const control of dialog.querySelectorAll('select, input')) control.disabled = busy;
    this.#enable();
  }

  #enable() {
    if (this.#busy) {
      $('Umwandeln').disabled = true;
      return;
    }
    const folder = this.#survey?.folder ?? false;
    $('Start').disabled = folder;
    $('Dauer').disabled = folder;
    $('Schwelle').disabled = $('Verfahren').value !== 'Schwelle';
    $('Umwandeln').disabled = !this.#survey || !this.#convertible;
  }

  async #failed(error) {
    this.#end();
    dialog.close();
    await showMessage({
      title: 'Laufzeitfehler',
      text: `Der Film ließ sich auf dieser Seite nicht lesen:\n${error.message}\nBitte die Seite neu laden.`,
    });
  }
}

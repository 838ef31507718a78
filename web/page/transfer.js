// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// "Übertragen": the last run's video to the PC-1600 through Web Serial, one
// file after the other, each after the line the user types on the PC-1600.
// Order, lines and times come from the core; this only moves the bytes.
import { PortUnavailable, SendCancelled, sendFile } from './serial_sender.js';
import { showMessage } from './message_box.js';

const $ = (id) => document.getElementById(id);
const dialog = $('transfer');

export class Transfer {
  #core;
  #video = '';
  #plan = null;
  #step = 0;
  #port = null;
  #sending = null; // the AbortController of the file under way
  #held = false; // the PC-1600 has paused the line; a piece under way may still land
  #holdQuestion = null; // the AbortController that closes the open "held too long" question

  constructor(core) {
    this.#core = core;
    $('send').addEventListener('click', () => this.#send());
    $('skip').addEventListener('click', () => {
      this.#mark('übersprungen');
      this.#next();
    });
    $('stop').addEventListener('click', () => this.#sending?.abort());
    dialog.addEventListener('cancel', (event) => this.#sending && event.preventDefault());
    for (const choice of [$('transfer-baud'), ...document.getElementsByName('way')]) {
      choice.addEventListener('change', () => this.#restart());
    }
  }

  // The video of the last run; without one, or without Web Serial, the user hears why.
  async open(video) {
    if (!video) {
      await showMessage({ title: 'Übertragen', text: 'Es gibt noch kein Video. Erzeugen Sie es zuerst mit „Start“.' });
      return;
    }
    if (!('serial' in navigator)) {
      await showMessage({
        title: 'Übertragen',
        text: 'Dieser Browser erreicht keine serielle Schnittstelle (Web Serial gibt es in Chrome, Edge und Opera).\n' +
          'Laden Sie die Dateien unter „Geschriebene Dateien“ und senden Sie sie mit einem Terminalprogramm.',
      });
      $('written').scrollIntoView();
      return;
    }
    if ($('transfer-baud').options.length === 0) {
      const rates = await this.#core.call('core', ['baudRates']);
      $('transfer-baud').replaceChildren(...rates.map((rate) => new Option(rate, rate, false, rate === 9600)));
    }
    this.#video = video;
    $('transfer-video').textContent = video;
    await this.#restart();
    dialog.showModal();
  }

  get #baud() {
    return Number($('transfer-baud').value);
  }

  // A new rate or way starts over: the set-up lines and the first file come first again.
  async #restart() {
    const ramDisk = document.querySelector('input[name=way]:checked').value === 'ramdisk';
    this.#plan = await this.#core.call('core', ['planTransfer', this.#video, ramDisk, this.#baud]);
    this.#step = 0;
    $('transfer-files').replaceChildren(...this.#plan.files.map(({ name, size, duration }) => {
      const row = document.createElement('tr');
      for (const text of [name, size, duration, '']) row.insertCell().textContent = text;
      return row;
    }));
    for (const file of this.#plan.unneeded) this.#row(file).cells[3].textContent = 'nicht nötig (nur RAM-Disk)';
    $('transfer-total').textContent = this.#plan.total;
    $('transfer-progress').value = 0;
    $('transfer-state').textContent = '';
    this.#showStep();
    if (this.#plan.problem) await showMessage(this.#plan.problem);
  }

  #row(file) {
    return $('transfer-files').rows[file];
  }

  #mark(state) {
    this.#row(this.#plan.steps[this.#step].file).cells[3].textContent = state;
  }

  #next() {
    ++this.#step;
    this.#showStep();
  }

  #showStep() {
    const { files, steps, setup, startNote, startLines } = this.#plan;
    const done = this.#step >= steps.length;
    this.#setSending(false);
    if (files.length === 0) {
      $('transfer-guide').textContent = 'Dieses Video lässt sich nicht senden.';
      $('transfer-lines').textContent = '';
      return;
    }
    if (done) {
      $('transfer-guide').textContent = startNote;
      $('transfer-lines').textContent = startLines.join('\n');
      return;
    }
    const name = files[steps[this.#step].file].name;
    const count = `Schritt ${this.#step + 1} von ${steps.length}: `;
    $('transfer-guide').textContent = this.#step === 0
      ? `${count}Tippen Sie auf dem PC-1600 diese Zeilen ein, jede mit Enter (die ersten beiden stellen die ` +
        `Schnittstelle ein). Dann hier „Senden“ für ${name}.`
      : `${count}Tippen Sie auf dem PC-1600 ein, drücken Sie Enter, dann hier „Senden“ für ${name}.`;
    $('transfer-lines').textContent = [...(this.#step === 0 ? setup : []), steps[this.#step].line].join('\n');
    this.#mark('als Nächstes');
  }

  #setSending(sending) {
    const ready = !sending && this.#plan.files.length > 0;
    const done = this.#step >= this.#plan.steps.length;
    for (const choice of [$('transfer-baud'), ...document.getElementsByName('way'), $('transfer-close')]) {
      choice.disabled = sending;
    }
    $('send').disabled = !ready;
    $('send').textContent = ready && done ? 'Von vorn' : 'Senden';
    $('skip').disabled = !ready || done;
    $('stop').disabled = !sending;
  }

  async #send() {
    if (this.#step >= this.#plan.steps.length) {
      await this.#restart();
      return;
    }
    const index = this.#plan.steps[this.#step].file;
    const { name } = this.#plan.files[index];
    const file = await this.#core.call('core', ['readForSending', this.#video, index]);
    if (file.problem) {
      await showMessage(file.problem);
      await this.#restart();
      return;
    }
    try {
      this.#port ??= await navigator.serial.requestPort();
    } catch {
      await showMessage({
        title: 'Übertragen',
        text: 'Es ist keine Schnittstelle gewählt.\nWählen Sie im Fenster des Browsers die Schnittstelle des Kabels.',
      });
      return;
    }
    this.#sending = new AbortController();
    this.#setSending(true);
    this.#mark('wird gesendet');
    let sent = 0;
    try {
      await sendFile(this.#port, this.#baud, file.bytes, {
        signal: this.#sending.signal,
        onProgress: (count, total) => {
          sent = count;
          this.#showProgress(count, total);
        },
        onHeld: (held) => {
          this.#held = held;
          $('transfer-state').textContent = held ? 'wartet auf PC-1600 (er hat mit XOFF angehalten) …' : '';
          if (!held) this.#closeHoldQuestion();
        },
        onHeldLong: (seconds) => this.#askAfterLongHold(name, seconds),
      }).finally(() => this.#closeHoldQuestion());
    } catch (error) {
      await this.#failed(error, name, sent, file.bytes.length);
      return;
    } finally {
      this.#sending = null;
      this.#held = false;
    }
    this.#mark('gesendet');
    $('transfer-state').textContent = `${name} ist angekommen.`;
    this.#next();
  }

  // Not a wait of its own: if the PC-1600 goes on meanwhile, the question closes by itself.
  // Cancelling shows its own box, which waits until this one is gone.
  async #askAfterLongHold(name, seconds) {
    if (this.#holdQuestion) return;
    const question = new AbortController();
    this.#holdQuestion = question;
    const box = await this.#core.call('core', ['heldTooLongBox', name, seconds]);
    const answer = await showMessage(box, question.signal);
    if (this.#holdQuestion === question) this.#holdQuestion = null;
    if (answer === 'cancel') this.#sending?.abort();
  }

  #closeHoldQuestion() {
    this.#holdQuestion?.abort();
    this.#holdQuestion = null;
  }

  #showProgress(sent, total) {
    $('transfer-progress').max = total;
    $('transfer-progress').value = sent;
    if (this.#held) return;
    $('transfer-state').textContent = `${sent.toLocaleString('de-DE')} von ${total.toLocaleString('de-DE')} Bytes`;
  }

  async #failed(error, name, sent, total) {
    this.#showStep();
    this.#mark('abgebrochen');
    if (error instanceof SendCancelled) {
      $('transfer-state').textContent = 'Abgebrochen: auf dem PC-1600 BREAK drücken.';
      await showMessage(await this.#core.call('core', ['cancelledBox', name]));
    } else if (error instanceof PortUnavailable) {
      this.#port = null; // perhaps the wrong one: the browser asks again next time
      await showMessage(await this.#core.call('core', ['portBox', error.message]));
    } else {
      $('transfer-state').textContent = 'Fehler beim Senden.';
      await showMessage(await this.#core.call('core', ['sendFailedBox', name, sent, total, error.message]));
    }
  }
}

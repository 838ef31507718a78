// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
import assert from 'node:assert/strict';
import { cpSync, readFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import {
  answerBoxes, choose, desktopConvert, folderFiles, makeFrames, openPage, scratch, servedInChromium,
} from './browser.js';

const served = servedInChromium();

// A serial port that takes a byte piece every few milliseconds, as a line would,
// and that the test speaks for: window.line.say(byte) is the PC-1600 talking.
function fakeSerial() {
  const line = { written: [], options: null, say: () => {} };
  window.line = line;
  const port = {
    readable: null,
    writable: null,
    async open(options) {
      line.options = options;
      port.readable = new ReadableStream({ start(controller) { line.say = (byte) => controller.enqueue(new Uint8Array([byte])); } });
      port.writable = new WritableStream({
        async write(piece) {
          await new Promise((resolve) => setTimeout(resolve, 3));
          line.written.push(...piece);
        },
      });
    },
    async close() {
      port.readable = null;
      port.writable = null;
    },
  };
  Object.defineProperty(navigator, 'serial', { value: { requestPort: async () => port }, configurable: true });
}

const settings = { name: 'Film', rate: 2, slot1: 3, slot2: 0, strength: 2, compress: false, player: true, loader: true };

async function convert(page, folder, chosen = settings) {
  await choose(page, folderFiles(folder), chosen);
  await answerBoxes(page, 1, () => page.click('#Eingabe'));
  await page.waitForSelector('#written-list a');
}

test('a file goes whole and in order, and not one byte while the PC-1600 holds the line', async () => {
  const frames = scratch();
  makeFrames(frames, 50);
  const desktop = scratch();
  cpSync(frames, desktop, { recursive: true });
  desktopConvert(desktop, settings);
  const expected = [...readFileSync(join(desktop, 'FILM0.VID'))];

  const page = await openPage(served.browser, served.site.url, fakeSerial);
  await convert(page, frames);
  await page.click('#Uebertragen');
  await page.waitForSelector('#transfer[open]');
  assert.match(await page.textContent('#transfer-lines'), /BLOAD "COM1:"$/);
  await page.click('#send');

  await page.waitForFunction(() => window.line.written.length > 2000);
  await page.evaluate(() => window.line.say(0x13));
  await page.waitForSelector('#transfer-state:text("wartet auf PC-1600")');
  await page.waitForTimeout(50); // a piece under way when the XOFF came may still land
  const held = await page.evaluate(() => window.line.written.length);
  await page.waitForTimeout(500);
  assert.equal(await page.evaluate(() => window.line.written.length), held, 'bytes went out while held');
  assert.ok(held < expected.length);

  await page.evaluate(() => window.line.say(0x11));
  await page.waitForSelector('#transfer-state:text("FILM0.VID ist angekommen.")');
  const line = await page.evaluate(() => window.line);
  assert.deepEqual(line.written, expected);
  assert.deepEqual(line.options, { baudRate: 9600, dataBits: 8, stopBits: 1, parity: 'none', flowControl: 'none' });
});

test('a Kompakt video goes with its own player, byte for byte, and the note names it', async () => {
  const kompakt = { ...settings, compact: true };
  const frames = scratch();
  makeFrames(frames, 20);
  const desktop = scratch();
  cpSync(frames, desktop, { recursive: true });
  desktopConvert(desktop, kompakt);

  const page = await openPage(served.browser, served.site.url, fakeSerial);
  await convert(page, frames, kompakt);
  await page.click('#Uebertragen');
  await page.waitForSelector('#transfer[open]');
  const rows = await page.$$eval('#transfer-files tr', (all) => all.map((row) => row.cells[0].textContent));
  assert.deepEqual(rows, ['FILM0.VID', 'KPLAYER.BIN', 'FILM.BAS']);
  for (const file of ['FILM0.VID', 'KPLAYER.BIN']) {
    await page.click('#send');
    await page.waitForSelector(`#transfer-state:text("${file} ist angekommen.")`);
  }
  const expected = ['FILM0.VID', 'KPLAYER.BIN'].flatMap((file) => [...readFileSync(join(desktop, file))]);
  assert.deepEqual(await page.evaluate(() => window.line.written), expected);
  assert.match(await page.textContent('#transfer-guide'), /^Das Video läuft, sobald KPLAYER\.BIN geladen ist\./);
});

test('without Web Serial the page says so and points to the downloads', async () => {
  const frames = scratch();
  makeFrames(frames, 3);
  const page = await openPage(served.browser, served.site.url, () => delete Navigator.prototype.serial);
  await convert(page, frames);
  const [box] = await answerBoxes(page, 1, () => page.click('#Uebertragen'));
  assert.equal(box.title, 'Übertragen');
  assert.match(box.text, /keine serielle Schnittstelle/);
  assert.equal(await page.isHidden('#transfer'), true);
});

test('held for 30 s the page asks whether to wait on: the question closes itself when the PC-1600 goes on, and Cancel cancels', async (t) => {
  const frames = scratch();
  makeFrames(frames, 50);
  const page = await openPage(served.browser, served.site.url, fakeSerial);
  await page.clock.install(); // the page's time, for the test to move on
  await convert(page, frames);
  await page.click('#Uebertragen');
  await page.waitForSelector('#transfer[open]');

  const holdLong = async () => {
    const before = await page.evaluate(() => window.line.written.length);
    await page.click('#send');
    await page.waitForFunction((count) => window.line.written.length > count, before);
    await page.evaluate(() => window.line.say(0x13));
    await page.waitForSelector('#transfer-state:text("wartet auf PC-1600")');
    await page.clock.fastForward(29_000);
    assert.equal(await page.isVisible('#box'), false, 'asked before 30 s');
    await page.clock.fastForward(1_000);
    await page.waitForSelector('#box[open]');
    return page.evaluate(() => ({
      title: document.querySelector('#box .box-title').textContent,
      text: document.querySelector('#box .box-text').textContent,
      buttons: [...document.querySelectorAll('#box button')].filter((button) => !button.hidden).map((button) => button.textContent),
    }));
  };

  await t.test('the PC-1600 goes on', async () => {
    assert.deepEqual(await holdLong(), {
      title: 'Übertragen',
      text: 'Der PC-1600 hält die Übertragung von FILM0.VID seit 30 Sekunden an (XOFF).\n' +
        'Läuft auf dem PC-1600 der Befehl zum Empfangen? Sie können weiter warten oder abbrechen.',
      buttons: ['Weiter warten', 'Abbrechen'],
    });
    await page.evaluate(() => window.line.say(0x11));
    await page.waitForSelector('#box[open]', { state: 'detached' });
    await page.waitForSelector('#transfer-state:text("FILM0.VID ist angekommen.")');
  });

  await t.test('Cancel', async () => {
    await page.selectOption('#transfer-baud', '4800'); // starts over at FILM0.VID
    await holdLong();
    const [box] = await answerBoxes(page, 1, () => page.click('#box .box-cancel'));
    assert.match(box.text, /^Die Übertragung von FILM0.VID ist abgebrochen\./);
    assert.equal(await page.textContent('#transfer-state'), 'Abgebrochen: auf dem PC-1600 BREAK drücken.');
    assert.equal(await page.isEnabled('#send'), true);
  });
});

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

async function convert(page, folder) {
  await choose(page, folderFiles(folder), settings);
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

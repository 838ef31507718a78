// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
import assert from 'node:assert/strict';
import { cpSync, readFileSync, readdirSync, rmSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { unzipSync } from 'fflate';
import {
  answerBoxes, asShown, choose, copyFolder, desktopConvert, desktopTimeline, folderFiles, heaviestRun, makeFrames, openPage,
  runMilliseconds, scratch, servedInChromium, stampRuns,
} from './browser.js';

const served = servedInChromium();

async function download(page, click) {
  const [file] = await Promise.all([page.waitForEvent('download'), click()]);
  return { name: file.suggestedFilename(), bytes: readFileSync(await file.path()) };
}

function outputsOf(folder) {
  return Object.fromEntries(readdirSync(folder).filter((name) => !/^B\d{3}\.bmp$/.test(name))
    .map((name) => [name, readFileSync(join(folder, name))]));
}

for (const [format, compact, player] of [['plain', false, 'VPLAYER.BIN'], ['Kompakt', true, 'KPLAYER.BIN']]) {
  test(`the heaviest run (${format}) gives the desktop program's boxes and files, each and as one ZIP, and its preview the emulator's times`, async () => {
    const settings = { ...heaviestRun, compact };
    const input = scratch();
    makeFrames(input, 299);
    const desktop = scratch();
    copyFolder(input, desktop);
    const desktopRun = desktopConvert(desktop, settings);
    const expected = outputsOf(desktop);
    assert.deepEqual(Object.keys(expected), ['FILM.BAS', 'FILM0.VID', 'FILM1.VID', 'FILM2.VID', 'FILM3.VID', player]);

    const page = await openPage(served.browser, served.site.url, stampRuns);
    await choose(page, folderFiles(input), settings);
    const boxes = await answerBoxes(page, desktopRun.boxes.length, () => page.click('#Eingabe'));
    const pageMilliseconds = await runMilliseconds(page);
    assert.deepEqual(boxes, asShown(desktopRun.boxes));
    await page.waitForSelector('#written-list a');
    assert.equal(await page.inputValue('#VideoName'), '', 'a completed run clears the name');
    assert.equal(await page.textContent('#TextKompakt'), desktopRun.compactFit);

    const links = await page.$$('#written-list a');
    const downloads = {};
    for (const link of links) {
      const { name, bytes } = await download(page, () => link.click());
      downloads[name] = bytes;
    }
    assert.deepEqual(downloads, expected);

    const zip = await download(page, () => page.click('#zip'));
    assert.equal(zip.name, 'FILM.zip');
    const unzipped = Object.fromEntries(Object.entries(unzipSync(zip.bytes)).map(([name, bytes]) => [name, Buffer.from(bytes)]));
    assert.deepEqual(unzipped, expected);

    await page.click('#Vorschau');
    await page.waitForSelector('#preview[open]');
    const timeline = desktopTimeline(desktop, 'FILM');
    const frames = timeline.length - 1;
    const shownMs = [];
    for (let frame = 1; frame <= frames; ++frame) {
      assert.equal(await page.textContent('#frame-count'), `Bild ${frame} von ${frames}`);
      shownMs.push(Number(await page.$eval('#time', (time) => time.dataset.startMs)));
      await page.click('#forward');
    }
    assert.deepEqual(shownMs, timeline.slice(0, frames));
    const gif = await download(page, () => page.click('#as-gif'));
    assert.equal(gif.name, 'FILM.gif');
    assert.equal(gif.bytes.subarray(0, 6).toString('latin1'), 'GIF89a');
    console.log(`# heaviest run (${format}): page ${pageMilliseconds.toFixed(0)} ms from Start to its first box (the whole run: every box comes after it), desktop ${desktopRun.milliseconds.toFixed(0)} ms for the whole run`);
  });
}

test('refused and cancelled runs show the desktop program\'s boxes and offer no file', async (t) => {
  const frames = scratch();
  makeFrames(frames, 3);
  const withoutFirst = scratch();
  cpSync(join(frames, 'B002.bmp'), join(withoutFirst, 'B002.bmp'));
  const settings = { rate: 2, slot1: 0, slot2: 0, strength: 2, compress: true, player: false, loader: false };
  const page = await openPage(served.browser, served.site.url);
  for (const [what, folder, name] of [['empty name', frames, ''], ['no first frame', withoutFirst, 'Film'],
    ['name of no file', frames, ':::']]) {
    await t.test(what, async () => {
      const desktop = scratch();
      cpSync(folder, desktop, { recursive: true });
      const expected = desktopConvert(desktop, { ...settings, name }).boxes;
      assert.equal(expected.length, 1);
      await choose(page, folderFiles(folder), { ...settings, name });
      assert.deepEqual(await answerBoxes(page, expected.length, () => page.click('#Eingabe')), asShown(expected));
      assert.equal(await page.isHidden('#written'), true);
      assert.deepEqual(Object.keys(outputsOf(desktop)), []);
    });
  }
  await t.test('a frame gone from the disk after it was chosen', async () => {
    const gone = scratch();
    makeFrames(gone, 3);
    await choose(page, folderFiles(gone), { ...settings, name: 'Film' });
    rmSync(join(gone, 'B002.bmp'));
    const [box] = await answerBoxes(page, 1, () => page.click('#Eingabe'));
    assert.deepEqual(box, {
      title: 'Laufzeitfehler',
      text: 'Die Datei kann nicht gelesen werden:\nB002.bmp\nBitte die Bilder erneut wählen.',
    });
    assert.equal(await page.isHidden('#written'), true);
    assert.equal(await page.isEnabled('#Eingabe'), true);
  });
  await t.test('32 KB in slot S2 without 32 KB in slot S1', async () => {
    const [box] = await answerBoxes(page, 1, () => page.selectOption('#Combo3', { index: 1 }));
    assert.equal(box.title, 'Warnung');
    assert.equal(await page.$eval('#Combo3', (list) => list.selectedIndex), 0);
    assert.equal(await page.$eval('#TextVideoLng', (display) => display.value), '3');
  });
  await t.test('a cancelled run ends the work, shows no box, and the next run goes as the first would', async () => {
    await choose(page, folderFiles(frames), { ...settings, compress: false, slot1: 3, name: 'Film' });
    await page.evaluate(() => {
      document.getElementById('Eingabe').click();
      document.getElementById('cancel').click();
    });
    await page.waitForSelector('#status:text("Abgebrochen")');
    assert.equal(await page.isHidden('#written'), true);
    assert.equal(await page.isVisible('#box'), false);
    await page.selectOption('#Combo2', { index: 0 });
    await page.selectOption('#Combo2', { index: 3 }); // the new worker's memory budget answers
    assert.equal(await page.$eval('#TextVideoLng', (display) => display.value), '12');
    const [box] = await answerBoxes(page, 1, () => page.click('#Eingabe'));
    assert.equal(box.title, 'Fertig');
    await page.waitForSelector('#written-list a');
  });
});

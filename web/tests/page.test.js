// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { cpSync, readFileSync, readdirSync, rmSync, writeFileSync } from 'node:fs';
import { join } from 'node:path';
import { test } from 'node:test';
import { unzipSync } from 'fflate';
import {
  answerBoxes, asShown, choose, copyFolder, desktopConvert, desktopFrames, desktopTimeline, folderFiles, heaviestRun,
  makeFrames, openPage, runMilliseconds, scratch, servedInChromium, stampRuns,
} from './browser.js';

const served = servedInChromium();

async function download(page, click) {
  const [file] = await Promise.all([page.waitForEvent('download'), click()]);
  return { name: file.suggestedFilename(), bytes: readFileSync(await file.path()) };
}

function unzipped(bytes) {
  return Object.fromEntries(Object.entries(unzipSync(bytes)).map(([name, file]) => [name, Buffer.from(file)]));
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
    assert.deepEqual(unzipped(zip.bytes), expected);

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
    // The page counts the player's instructions, the desktop runs them: within a millisecond.
    shownMs.forEach((ms, frame) => assert.ok(Math.abs(ms - timeline[frame]) <= 1, `Bild ${frame + 1}: ${ms} / ${timeline[frame]} ms`));
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
    // The page goes on with the choice once the box is closed, a moment after the click:
    // S2 back to none, and the video length of S1's memory alone.
    await page.waitForFunction(() => document.getElementById('Combo3').selectedIndex === 0
      && document.getElementById('TextVideoLng').value === '3', null, { timeout: 5000 });
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

// Served in place of ffmpeg for WebAssembly: the real one runs, but where its
// arguments are those velvix-frames gave Debian's ffmpeg (the input's name
// aside), the pictures are the ones Debian's ffmpeg gave, and the test hears of it.
const sameGreyCore = `import createReal from './ffmpeg-core-real.js';
const shape = (args) => JSON.stringify(args.map((arg, i) => (args[i - 1] === '-i' ? 'EINGABE' : arg)));
export default async function createFFmpegCore(options) {
  const desktop = await (await fetch('/recorded/args')).json();
  const pictures = new Uint8Array(await (await fetch('/recorded/output')).arrayBuffer());
  const core = await createReal(options);
  const exec = core.exec;
  core.exec = (...args) => {
    const exitCode = exec(...args);
    if (shape(args.slice(0, -1)) === shape(desktop.slice(0, -1)) && desktop.at(-1) === 'pipe:1') {
      core.FS.writeFile(args.at(-1), pictures);
      const told = new XMLHttpRequest();
      told.open('POST', '/recorded/used', false);
      told.send();
    }
    return exitCode;
  };
  return core;
}`;

function serveSameGrey(routes, record) {
  const args = readFileSync(join(record, 'args'), 'latin1').split('\0').slice(0, -1);
  const answers = {
    '/vendor/ffmpeg/ffmpeg-core.js': ['text/javascript', sameGreyCore],
    '/vendor/ffmpeg/ffmpeg-core-real.js': ['text/javascript', readFileSync(join(process.env.VELVIX_SITE, 'vendor/ffmpeg/ffmpeg-core.js'))],
    '/recorded/args': ['application/json', JSON.stringify(args)],
    '/recorded/output': ['application/octet-stream', readFileSync(join(record, 'output'))],
  };
  const used = { runs: 0 };
  for (const [path, [type, body]] of Object.entries(answers)) {
    routes.set(path, (request, response) => response.writeHead(200, { 'Content-Type': type }).end(body));
  }
  routes.set('/recorded/used', (request, response) => {
    used.runs += 1;
    response.writeHead(200).end();
  });
  return used;
}

// Film… on the page with the dialog's settings; the frames as its ZIP holds them.
async function filmOnPage(page, files, settings) {
  await page.setInputFiles('#pick-film', files);
  await page.waitForSelector('#film[open]');
  await page.waitForFunction(() => !document.getElementById('Umwandeln').disabled);
  await page.selectOption('#Bildrate', { index: settings.rate });
  await page.selectOption('#Ausschnitt', { index: settings.bars ? 1 : 0 });
  await page.selectOption('#Verfahren', { label: settings.method });
  for (const [id, value] of Object.entries(settings.numbers)) {
    await page.fill(`#${id}`, value);
    await page.press(`#${id}`, 'Tab');
  }
  await page.waitForSelector(`#Anzahl:text-is("Das ergibt ${settings.count} Bilder.")`);
  await page.waitForFunction(() => !document.getElementById('Umwandeln').disabled);
  await page.click('#Umwandeln');
  await page.waitForSelector('#frames-zip');
  const zip = await download(page, () => page.click('#frames-zip'));
  return { zipName: zip.name, frames: unzipped(zip.bytes), videoName: await page.inputValue('#VideoName') };
}

// Frames alike but for some dots: how many frames differ, and in how many dots of the 4992 of each.
function dotsApart(a, b) {
  let frames = 0;
  let dots = 0;
  for (const name of Object.keys(a)) {
    let apart = 0;
    for (let i = 62; i < a[name].length; ++i) {
      for (let bits = a[name][i] ^ b[name][i]; bits; bits &= bits - 1) ++apart;
    }
    frames += apart > 0 ? 1 : 0;
    dots += apart;
  }
  return { frames, dots };
}

test('Film… makes velvix-frames\' frames: the same names, byte for byte from the same grey pictures', async (t) => {
  const input = scratch();
  const film = join(input, 'Testbild.mp4');
  execFileSync('ffmpeg', ['-v', 'error', '-f', 'lavfi', '-i', 'testsrc2=size=640x360:rate=25', '-t', '4', '-pix_fmt', 'yuv420p',
    '-c:v', 'libx264', film]);
  const images = scratch();
  execFileSync('ffmpeg', ['-v', 'error', '-f', 'lavfi', '-i', 'testsrc2=size=400x300:rate=5', '-frames:v', '5',
    join(images, 'Bild%d.png')]);
  const cases = [
    {
      what: 'a film', files: [film], videoName: 'TESTBIL',
      desktop: ['--bildrate', '6', '--start', '0,5', '--dauer', '3', '--einpassen', '--verfahren', 'floyd-steinberg', '--kontrast', '120'],
      page: { rate: 2, bars: true, method: 'Floyd-Steinberg', numbers: { Start: '0.5', Dauer: '3', Kontrast: '120' }, count: 18 },
    },
    {
      what: 'images', files: folderFiles(images), videoName: 'EINGABE',
      desktop: ['--verfahren', 'atkinson', '--helligkeit', '10'],
      page: { rate: 2, bars: false, method: 'Atkinson', numbers: { Helligkeit: '10' }, count: 5 },
    },
  ];
  for (const { what, files, videoName, desktop: options, page: settings } of cases) {
    const desktop = scratch();
    const record = scratch();
    desktopFrames(files.length === 1 ? files[0] : images, desktop, options, record);
    const expected = Object.fromEntries(folderFiles(desktop).map((file) => [file.slice(desktop.length + 1), readFileSync(file)]));
    await t.test(`${what}: the same frames by name, alike but for what the two builds of ffmpeg scale apart`, async () => {
      const page = await openPage(served.browser, served.site.url);
      const started = performance.now();
      const made = await filmOnPage(page, files, settings);
      assert.deepEqual(Object.keys(made.frames), Object.keys(expected));
      assert.equal(made.zipName, `${videoName}.zip`);
      assert.equal(made.videoName, videoName, 'the film\'s name becomes the video\'s');
      const apart = dotsApart(made.frames, expected);
      console.log(`# ${what}: ${apart.frames} of ${Object.keys(expected).length} frames differ from velvix-frames', ` +
        `in ${apart.dots} dots in all; ${(performance.now() - started).toFixed(0)} ms from choosing to the ZIP`);
    });
    await t.test(`${what}: byte for byte velvix-frames' frames from the grey pictures its ffmpeg gave`, async () => {
      const used = serveSameGrey(served.site.routes, record);
      try {
        const page = await openPage(served.browser, served.site.url);
        const made = await filmOnPage(page, files, settings);
        assert.equal(used.runs, 1, 'the page ran ffmpeg with velvix-frames\' arguments once');
        assert.deepEqual(made.frames, expected);
      } finally {
        served.site.routes.clear();
      }
    });
  }
  await t.test('a file that is no film gets ffmpeg\'s refusal in the desktop\'s words', async () => {
    const note = join(scratch(), 'Notiz.txt');
    writeFileSync(note, 'kein Film');
    const page = await openPage(served.browser, served.site.url);
    const [box] = await answerBoxes(page, 1, () => page.setInputFiles('#pick-film', note));
    assert.match(box.text, /^„\/Eingabe\/Notiz\.txt“ lässt sich nicht als Film lesen: ffmpeg kennt das Format der Datei nicht/);
    assert.match(box.text, /\nDetail von ffmpeg: /);
    assert.equal(await page.$eval('#film', (dialog) => dialog.open), false);
  });
  await t.test('Abbrechen stops the frames, keeps the dialog, and leaves the chosen frames alone', async () => {
    const page = await openPage(served.browser, served.site.url);
    await page.setInputFiles('#pick-film', film);
    await page.waitForFunction(() => !document.getElementById('Umwandeln').disabled);
    await page.evaluate(() => {
      document.getElementById('Umwandeln').click();
      document.getElementById('film-cancel').click();
    });
    await page.waitForSelector('#film-work:text("Abgebrochen")');
    await page.waitForFunction(() => !document.getElementById('Umwandeln').disabled);
    assert.equal(await page.$eval('#film', (dialog) => dialog.open), true);
    assert.equal(await page.isHidden('#frames-zip'), true);
    await page.click('#film-cancel');
    assert.equal(await page.$eval('#film', (dialog) => dialog.open), false);
  });
});

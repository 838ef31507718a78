// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// What every browser test needs: the built page served on localhost, Debian's
// chromium headless and cut off from the network, and the desktop program's side.
import { execFileSync } from 'node:child_process';
import { chmodSync, mkdtempSync, readFileSync, readdirSync, writeFileSync } from 'node:fs';
import { createServer } from 'node:http';
import { tmpdir } from 'node:os';
import { extname, join } from 'node:path';
import { after, before } from 'node:test';
import { chromium } from 'playwright-core';

const site = process.env.VELVIX_SITE;
const desktopRun = process.env.VELVIX_DESKTOP_RUN;
const framesTool = process.env.VELVIX_FRAMES;

const types = { '.html': 'text/html', '.js': 'text/javascript', '.css': 'text/css', '.wasm': 'application/wasm' };

// `routes`: a test's own answers for some paths, by path.
export async function serveSite() {
  const routes = new Map();
  const server = createServer((request, response) => {
    const path = new URL(request.url, 'http://localhost').pathname;
    if (routes.has(path)) {
      routes.get(path)(request, response);
      return;
    }
    try {
      const body = readFileSync(join(site, path === '/' ? 'index.html' : path.replace(/\.\.+/g, '')));
      response.writeHead(200, { 'Content-Type': types[extname(path)] ?? 'text/html' }).end(body);
    } catch {
      response.writeHead(404).end();
    }
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.1', resolve));
  return { server, routes, url: `http://127.0.0.1:${server.address().port}/` };
}

// Playwright starts each launch on a fresh profile folder of its own.
export function launchChromium() {
  return chromium.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--headless', '--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run',
      '--disable-background-networking', '--disable-component-update', '--disable-sync'],
  });
}

// The page served and one chromium for all tests of a file: started before them, ended after.
export function servedInChromium() {
  const shared = {};
  before(async () => {
    shared.site = await serveSite();
    shared.browser = await launchChromium();
  });
  after(async () => {
    await shared.browser?.close();
    shared.site?.server.close();
  });
  return shared;
}

export function scratch(prefix = 'velvix-web-') {
  return mkdtempSync(join(tmpdir(), prefix));
}

export function makeFrames(folder, count) {
  execFileSync(desktopRun, ['frames', folder, String(count)]);
}

// The files of a folder into another, written as programs write files: frames
// copied by node's cpSync (copy_file_range) cost the desktop run a wait on the
// disk for each one it removes, ten times its usual time in all.
export function copyFolder(from, to) {
  for (const name of readdirSync(from)) writeFileSync(join(to, name), readFileSync(join(from, name)));
}

// The boxes the desktop program shows for the run, what its Kompakt label says, and how long the run took.
export function desktopConvert(folder, { name, rate, slot1, slot2, strength, compress, player, loader, compact = false }) {
  const lines = execFileSync(desktopRun, ['convert', folder, name, rate, slot1, slot2, strength, compress ? 1 : 0,
    player ? 1 : 0, loader ? 1 : 0, compact ? 1 : 0].map(String), { encoding: 'utf8' }).trim().split('\n')
    .map((line) => JSON.parse(line));
  return {
    boxes: lines.filter((line) => 'title' in line),
    compactFit: lines.find((line) => 'compactFit' in line)?.compactFit ?? '',
    milliseconds: lines.at(-1).milliseconds,
  };
}

// When the emulated player shows each frame of the video, in milliseconds, and when it ends.
export function desktopTimeline(folder, video) {
  return JSON.parse(execFileSync(desktopRun, ['timeline', folder, video], { encoding: 'utf8' }));
}

// velvix-frames makes the frames of `input` in `folder`; the ffmpeg it runs writes
// into `record` the arguments (NUL after each) and the pictures of its last run.
export function desktopFrames(input, folder, options, record) {
  const recorder = join(record, 'ffmpeg');
  writeFileSync(recorder, `#!/bin/bash\nset -o pipefail\nprintf '%s\\0' "$@" >'${record}/args'\n` +
    `/usr/bin/ffmpeg "$@" | tee '${record}/output'\n`);
  chmodSync(recorder, 0o755);
  execFileSync(framesTool, [...options, input, folder], { env: { ...process.env, PATH: `${record}:${process.env.PATH}` } });
}

export function folderFiles(folder) {
  return readdirSync(folder).sort().map((name) => join(folder, name));
}

// Does what the user does, then answers each of the boxes it brings as a user
// would, and returns them in order.
export async function answerBoxes(page, count, action) {
  const boxes = [];
  const before = Number(await page.$eval('#box', (box) => box.dataset.shown ?? 0));
  await action();
  for (let i = 1; i <= count; ++i) {
    await page.waitForSelector(`#box[open][data-shown="${before + i}"]`);
    boxes.push(await page.evaluate(() => ({
      title: document.querySelector('#box .box-title').textContent,
      text: document.querySelector('#box .box-text').textContent,
    })));
    await page.click('#box .box-ok');
  }
  return boxes;
}

// The desktop's boxes as the page shows them: a line break on the page is one "\n".
export function asShown(boxes) {
  return boxes.map(({ title, text }) => ({ title, text: text.replaceAll('\r\n', '\n') }));
}

// The heaviest run a user can ask for: 299 frames, compression, four parts, player and loader.
export const heaviestRun = { name: 'Film', rate: 2, slot1: 3, slot2: 1, strength: 2, compress: true, player: true, loader: true };

// For openPage: the page notes when Start is clicked and when the first box after
// it opens, which on the page comes after the whole run.
export function stampRuns() {
  document.addEventListener('click', ({ target }) => {
    if (target.id !== 'Eingabe') return;
    window.startedAt = performance.now();
    window.boxAt = undefined;
  }, true);
  document.addEventListener('DOMContentLoaded', () => {
    const box = document.getElementById('box');
    new MutationObserver(() => {
      if (box.open && window.boxAt === undefined) window.boxAt = performance.now();
    }).observe(box, { attributes: true, attributeFilter: ['open'] });
  });
}

// The last run's time as the page spent it, from the click on Start: reading the frames,
// converting in the worker, showing the result. None of the test's own driving counts.
export function runMilliseconds(page) {
  return page.evaluate(() => window.boxAt - window.startedAt);
}

// A fresh page in German, ready for input; `prepare` runs in the page before its own script.
export async function openPage(browser, url, prepare) {
  const context = await browser.newContext({ locale: 'de-DE', acceptDownloads: true });
  if (prepare) await context.addInitScript(prepare);
  const page = await context.newPage();
  page.on('pageerror', (error) => console.error(`page error: ${error.message}`));
  await page.goto(url);
  await page.waitForSelector('body[data-ready]');
  return page;
}

export async function choose(page, frames, { name, rate, slot1, slot2, strength, compress, player, loader, compact = false }) {
  await page.setInputFiles('#pick-files', frames);
  await page.selectOption('#Combo1', { index: rate });
  await page.selectOption('#Combo2', { index: slot1 });
  await page.selectOption('#Combo3', { index: slot2 });
  await page.selectOption('#ComboVKompST', { index: strength });
  await page.setChecked('#CheckVKomp', compress);
  await page.setChecked('#CheckvPlay', player);
  await page.setChecked('#CheckStartBas', loader);
  await page.setChecked('#CheckKompakt', compact);
  await page.fill('#VideoName', name);
}

// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The heaviest run on the page against the desktop program on the same frames,
// side by side, each page run in a fresh page as a user's first run is; the
// page's time counts reading the frames, as the desktop program's does:
//   VELVIX_SITE=... VELVIX_DESKTOP_RUN=... node web/tests/run_speed.js [ROUNDS] [Kompakt]
import {
  answerBoxes, choose, copyFolder, desktopConvert, folderFiles, heaviestRun, launchChromium, makeFrames, openPage,
  runMilliseconds, scratch, serveSite, stampRuns,
} from './browser.js';

const rounds = Number(process.argv[2] ?? 3);
const settings = { ...heaviestRun, compact: process.argv[3] === 'Kompakt' };
const site = await serveSite();
const browser = await launchChromium();
const frames = scratch();
makeFrames(frames, 299);

const pageTimes = [];
const desktopTimes = [];
for (let round = 1; round <= rounds; ++round) {
  const desktop = scratch();
  copyFolder(frames, desktop);
  const desktopRun = desktopConvert(desktop, settings);
  const page = await openPage(browser, site.url, stampRuns);
  await choose(page, folderFiles(frames), settings);
  await answerBoxes(page, desktopRun.boxes.length, () => page.click('#Eingabe'));
  pageTimes.push(await runMilliseconds(page));
  desktopTimes.push(desktopRun.milliseconds);
  await page.context().close();
  console.log(`run ${round}: page ${pageTimes.at(-1).toFixed(0)} ms, desktop ${desktopTimes.at(-1).toFixed(0)} ms`);
}
const median = (times) => [...times].sort((a, b) => a - b)[Math.floor(times.length / 2)];
console.log(`median: page ${median(pageTimes).toFixed(0)} ms, desktop ${median(desktopTimes).toFixed(0)} ms, ` +
  `${(median(pageTimes) / median(desktopTimes)).toFixed(1)} x`);
await browser.close();
site.server.close();

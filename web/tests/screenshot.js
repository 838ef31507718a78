// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The README's picture of the page after the heaviest run, in the compact format:
//   VELVIX_SITE=... VELVIX_DESKTOP_RUN=... node web/tests/screenshot.js docs/velvix-web.png
import {
  answerBoxes, choose, folderFiles, heaviestRun, launchChromium, makeFrames, openPage, scratch, serveSite,
} from './browser.js';

const site = await serveSite();
const browser = await launchChromium();
const page = await openPage(browser, site.url);
await page.setViewportSize({ width: 820, height: 720 });
const frames = scratch();
makeFrames(frames, 299);
await choose(page, folderFiles(frames), { ...heaviestRun, compact: true });
await answerBoxes(page, 3, () => page.click('#Eingabe'));
await page.waitForSelector('#written-list a');
await page.screenshot({ path: process.argv[2] });
await browser.close();
site.server.close();

// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The README's picture of the page after the heaviest run:
//   VELVIX_SITE=... VELVIX_DESKTOP_RUN=... node web/tests/screenshot.js docs/velvix-web.png
import { answerBoxes, choose, folderFiles, launchChromium, makeFrames, openPage, scratch, serveSite } from './browser.js';

const site = await serveSite();
const browser = await launchChromium();
const page = await openPage(browser, site.url);
await page.setViewportSize({ width: 820, height: 720 });
const frames = scratch();
makeFrames(frames, 299);
await choose(page, folderFiles(frames), {
  name: 'Film', rate: 2, slot1: 3, slot2: 1, strength: 2, compress: true, player: true, loader: true,
});
await answerBoxes(page, 3, () => page.click('#Eingabe'));
await page.waitForSelector('#written-list a');
await page.screenshot({ path: process.argv[2] });
await browser.close();
site.server.close();

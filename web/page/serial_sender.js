// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// Sends one file over a Web Serial port at 8N1. Web Serial has no software flow
// control, so the sender reads the line itself: XOFF from the PC-1600 pauses
// it before the next piece, XON lets it go on. The pieces are small, so that
// little is under way when the PC-1600 asks for a pause.
const XOFF = 0x13;
const XON = 0x11;
const PIECE = 32;
const LONG_HOLD_MS = 30000; // then the user is asked, again after each such span

export class SendCancelled extends Error {}
export class PortUnavailable extends Error {}

// onProgress(sent, total) after each piece; onHeld(held) when the PC-1600 pauses or goes on;
// onHeldLong(seconds) while it holds the line long.
export async function sendFile(port, baud, bytes, { signal, onProgress, onHeld, onHeldLong }) {
  try {
    await port.open({ baudRate: baud, dataBits: 8, stopBits: 1, parity: 'none', flowControl: 'none' });
  } catch (error) {
    throw new PortUnavailable(error.message);
  }
  const writer = port.writable.getWriter();
  const reader = port.readable.getReader();
  let held = false;
  let longHold = 0; // the interval that asks while held
  let wake = () => {};
  const woken = () => new Promise((resolve) => { wake = resolve; });
  signal.addEventListener('abort', () => wake(), { once: true });

  const listening = (async () => {
    for (;;) {
      const { value, done } = await reader.read();
      if (done) return;
      for (const byte of value) {
        if (byte === XOFF && !held) {
          held = true;
          onHeld(true);
          const since = Date.now();
          longHold = setInterval(() => onHeldLong(Math.round((Date.now() - since) / 1000)), LONG_HOLD_MS);
        } else if (byte === XON && held) {
          held = false;
          clearInterval(longHold);
          onHeld(false);
          wake();
        }
      }
    }
  })().catch(() => {}); // the line closes when the file is done

  try {
    for (let sent = 0; sent < bytes.length;) {
      while (held && !signal.aborted) await woken();
      if (signal.aborted) throw new SendCancelled();
      const piece = bytes.subarray(sent, sent + PIECE);
      await writer.write(piece);
      sent += piece.length;
      onProgress(sent, bytes.length);
    }
  } finally {
    await reader.cancel().catch(() => {});
    reader.releaseLock();
    await (signal.aborted ? writer.abort() : writer.close()).catch(() => {});
    writer.releaseLock();
    await listening;
    clearInterval(longHold); // the line no longer speaks: no XON comes to end it
    await port.close().catch(() => {});
  }
}

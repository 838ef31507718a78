// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The conversion's boxes as page dialogs: title, icon, text and buttons as
// the desktop window shows them; one at a time, each waits for its answer.
const box = document.getElementById('box');
let queue = Promise.resolve();
let shown = 0; // boxes so far: one box can follow the last at once, the count tells them apart

// {title, text, warning, cancel, ok}; resolves with 'ok' or 'cancel' when the box has closed
// (Escape is Cancel). Aborting `signal` closes the box as OK, or keeps it from showing.
export function showMessage({ title, text, warning = true, cancel = false, ok = 'OK' }, signal) {
  queue = queue.then(() => open(title, text, warning, cancel, ok, signal));
  return queue;
}

function open(title, text, warning, cancel, ok, signal) {
  if (signal?.aborted) return 'ok';
  box.querySelector('.box-title').textContent = title;
  box.querySelector('.box-icon').textContent = warning ? '⚠' : 'ℹ';
  box.querySelector('.box-icon').className = `box-icon ${warning ? 'warning' : 'information'}`;
  box.querySelector('.box-text').textContent = text.replaceAll('\r\n', '\n');
  box.querySelector('.box-ok').textContent = ok;
  box.querySelector('.box-cancel').hidden = !cancel;
  box.dataset.shown = ++shown;
  box.returnValue = '';
  box.showModal();
  box.querySelector('.box-ok').focus();
  const closeAsOk = () => box.close('ok');
  signal?.addEventListener('abort', closeAsOk, { once: true });
  return new Promise((resolve) => box.addEventListener('close', () => {
    signal?.removeEventListener('abort', closeAsOk);
    resolve(box.returnValue === 'ok' ? 'ok' : 'cancel');
  }, { once: true }));
}

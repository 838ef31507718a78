// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The conversion's boxes as page dialogs: title, icon, text and buttons as
// the desktop window shows them; one at a time, each waits for its answer.
const box = document.getElementById('box');
let queue = Promise.resolve();
let shown = 0; // boxes so far: one box can follow the last at once, the count tells them apart

// {title, text, warning, cancel}; resolves when the user has closed the box.
export function showMessage({ title, text, warning = true, cancel = false }) {
  queue = queue.then(() => open(title, text, warning, cancel));
  return queue;
}

function open(title, text, warning, cancel) {
  box.querySelector('.box-title').textContent = title;
  box.querySelector('.box-icon').textContent = warning ? '⚠' : 'ℹ';
  box.querySelector('.box-icon').className = `box-icon ${warning ? 'warning' : 'information'}`;
  box.querySelector('.box-text').textContent = text.replaceAll('\r\n', '\n');
  box.querySelector('.box-cancel').hidden = !cancel;
  box.dataset.shown = ++shown;
  box.showModal();
  box.querySelector('.box-ok').focus();
  return new Promise((resolve) => box.addEventListener('close', resolve, { once: true }));
}

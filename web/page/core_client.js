// SPDX-License-Identifier: GPL-3.0-or-later
// Licensed under the GNU General Public License, version 3 or later.
// The thin message layer between the page and its worker: each call is a
// promise; progress of the call reaches its callback; the buffers in `transfer`
// move to the worker instead of being copied. Cancelling ends the worker, and
// with it the call; the next call starts a new worker.
export class CoreClient {
  #script;
  #worker = null;
  #pending = new Map();
  #nextId = 1;

  // `script`: the worker's module, beside this one.
  constructor(script = './worker.js') {
    this.#script = new URL(script, import.meta.url);
  }

  call(call, args = [], onProgress = () => {}, transfer = []) {
    if (!this.#worker) {
      this.#start();
    }
    const id = this.#nextId++;
    return new Promise((resolve, reject) => {
      this.#pending.set(id, { resolve, reject, onProgress });
      this.#worker.postMessage({ id, call, args }, transfer);
    });
  }

  cancel() {
    this.#worker?.terminate();
    this.#worker = null;
    for (const { reject } of this.#pending.values()) {
      reject(new CancelledError());
    }
    this.#pending.clear();
  }

  #start() {
    this.#worker = new Worker(this.#script, { type: 'module' });
    this.#worker.onmessage = ({ data }) => {
      const pending = this.#pending.get(data.id);
      if (!pending) return;
      if (data.progress) {
        pending.onProgress(data.progress);
        return;
      }
      this.#pending.delete(data.id);
      if ('failure' in data) pending.reject(new Error(data.failure));
      else pending.resolve(data.result);
    };
    this.#worker.onerror = (event) => {
      event.preventDefault();
      const failure = new Error(event.message || 'Der Programmkern konnte nicht geladen werden.');
      for (const { reject } of this.#pending.values()) reject(failure);
      this.#pending.clear();
      this.#worker = null;
    };
  }
}

export class CancelledError extends Error {}

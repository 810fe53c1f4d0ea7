// Asks the converter in worker.js, off the main thread, so that converting a
// long text leaves the page free to draw and take keys. Where a worker
// cannot run, the page's own converter answers instead.
export class OffThread {
  constructor(fallback) {
    this.fallback = fallback;
    this.calls = new Map();
    this.next = 0;
    this.queued = null;  // the latest call waiting for the one under way
    try {
      this.worker = new Worker(new URL('./worker.js', import.meta.url), { type: 'module' });
      this.worker.postMessage({ module: fallback.module, simd: fallback.simd });  // the compiled core, or null
      this.worker.addEventListener('message', ({ data }) => this.answer(data));
      this.worker.addEventListener('error', () => this.fail());
    } catch {
      this.worker = null;
    }
  }

  // Resolves with converter[method](...args).
  call(method, ...args) {
    if (!this.worker) return Promise.resolve().then(() => this.fallback[method](...args));
    return new Promise((resolve, reject) => {
      const id = this.next++;
      this.calls.set(id, { resolve, reject, method, args });
      this.worker.postMessage({ id, method, args });
    });
  }

  // As call, for calls where only the latest counts (one per keystroke):
  // while one is under way, a newer call replaces any waiting one, which
  // resolves with null.
  latest(method, ...args) {
    if (this.busy) {
      this.queued?.resolve(null);
      return new Promise((resolve) => { this.queued = { resolve, method, args }; });
    }
    this.busy = true;
    const done = () => {
      this.busy = false;
      const queued = this.queued;
      this.queued = null;
      if (queued) this.latest(queued.method, ...queued.args).then(queued.resolve);
    };
    const result = this.call(method, ...args);
    result.then(done, done);
    return result;
  }

  answer({ id, result, error }) {
    const call = this.calls.get(id);
    this.calls.delete(id);
    if (error === undefined) call?.resolve(result);
    else call?.reject(new Error(error));
  }

  // A worker that failed to load: every call, those under way too, goes to
  // the page's converter.
  fail() {
    this.worker?.terminate();
    this.worker = null;
    for (const { resolve, method, args } of this.calls.values()) {
      resolve(Promise.resolve().then(() => this.fallback[method](...args)));
    }
    this.calls.clear();
  }
}

// The page's side of the core's Web Worker. The worker is made from the
// core's script inlined in the page, so the page loads from file:// and makes
// no request. Cancel ends the worker; the next request starts another.
import { CORE_SOURCE, WORKER_SOURCE } from 'quorvane:core';

let worker = null;
let workerUrl = null;
let nextId = 1;
const pending = new Map();

function startWorker() {
  workerUrl ??= URL.createObjectURL(
    new Blob([CORE_SOURCE, '\n', WORKER_SOURCE], { type: 'text/javascript' }),
  );
  worker = new Worker(workerUrl);
  worker.onmessage = (event) => {
    const request = pending.get(event.data.id);
    if (!request) return;
    pending.delete(event.data.id);
    if (event.data.failure) request.reject(new Error(event.data.failure));
    else request.resolve(event.data);
  };
  worker.onerror = (event) => {
    event.preventDefault();
    failAll(new Error(`the core failed: ${event.message}`));
  };
}

function failAll(error) {
  for (const request of pending.values()) request.reject(error);
  pending.clear();
}

// One request to the worker: resolves with its answer.
export function ask(message) {
  if (!worker) startWorker();
  const id = nextId++;
  return new Promise((resolve, reject) => {
    pending.set(id, { resolve, reject });
    worker.postMessage({ ...message, id });
  });
}

// Ends whatever the worker is doing; its requests reject with "cancelled".
export function cancelAll() {
  if (!worker) return;
  worker.terminate();
  worker = null;
  const error = new Error('cancelled');
  error.name = 'AbortError';
  failAll(error);
}

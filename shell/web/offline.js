// The site installed for play without a network (service_worker.js keeps this build's files).
// Registered once the game is up, so that installing never competes with the first frame. A newer
// build installed meanwhile waits until the page is closed, so that a page never mixes two
// builds; the next page takes it over at once, before its game starts, and reloads into it.
function takeOver(worker, gameStarted) {
  if (gameStarted() || !navigator.serviceWorker.controller) return;
  navigator.serviceWorker.addEventListener('controllerchange', () => location.reload(), {once: true});
  worker.postMessage('take over');
}

// A newer build that an earlier visit found and installed, at once.
export function takeNewerBuild(gameStarted) {
  if (!('serviceWorker' in navigator)) return;  // a page that is not secure has none
  navigator.serviceWorker.getRegistration().then((registration) => {
    if (registration && registration.waiting) takeOver(registration.waiting, gameStarted);
  }, () => {});
}

export function keepOffline() {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('service_worker.js').catch(() => {});  // no worker: the page still plays, only not offline
}

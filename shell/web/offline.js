// The site installed for play without a network (service_worker.js keeps this build's files).
// Registered once the game is up, so that installing never competes with the first frame. A newer
// build that is ready waits until the page is closed, so that a page never mixes two builds; one
// found before the game has started takes over at once and the page reloads into it.
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

export function keepOffline(gameStarted) {
  if (!('serviceWorker' in navigator)) return;
  navigator.serviceWorker.register('service_worker.js').then((registration) => {
    registration.addEventListener('updatefound', () => {
      const worker = registration.installing;
      worker.addEventListener('statechange', () => {
        if (worker.state === 'installed') takeOver(worker, gameStarted);
      });
    });
  }, () => {});  // no worker: the page still plays, only not offline
}

// The game's screen on the page: as large as a whole factor of device pixels allows, letterboxed
// in black, pixels square and crisp.
const screenWidth = 240, screenHeight = 320;

function fit() {
  const ratio = window.devicePixelRatio || 1;
  const stage = document.querySelector('#stage');
  const width = stage.clientWidth * ratio, height = stage.clientHeight * ratio;
  let factor = Math.floor(Math.min(width / screenWidth, height / screenHeight));
  if (factor < 1) factor = Math.min(width / screenWidth, height / screenHeight);  // a tiny window
  for (const shown of document.querySelectorAll('#stage canvas')) {
    shown.style.width = (screenWidth * factor) / ratio + 'px';
    shown.style.height = (screenHeight * factor) / ratio + 'px';
  }
}

export function fitScreen() {
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  fit();
  return fit;
}

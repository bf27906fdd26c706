// The game's screen on the page: as large as the page allows, its 3 : 4 shape kept exactly, its
// size and place in whole device pixels, so that nothing is blurred by a half pixel. The page's
// own buttons never take from it: they sit in the space the screen leaves below it (a phone held
// upright) or beside it (held sideways), and over its bottom edge when there is none. A tap on the black border within a finger's width
// of the screen counts on the screen's nearest edge, as a click on the desktop window's bars does.
const screenWidth = 240, screenHeight = 320;
const fingerWidth = 40;  // CSS pixels, about 10 mm

// The screen's place in the stage, in device pixels: {left, top, width, height}.
export function screenPlace(stage) {
  const ratio = window.devicePixelRatio || 1;
  const width = Math.round(stage.clientWidth * ratio), height = Math.round(stage.clientHeight * ratio);
  const unit = Math.max(1, Math.floor(Math.min(width / 3, height / 4)));  // 3 : 4 in whole pixels
  const place = {width: 3 * unit, height: 4 * unit};
  place.left = Math.floor((width - place.width) / 2);
  place.top = Math.floor((height - place.height) / 2);
  return place;
}

// The buttons in the space beside the screen (CSS pixels) that holds them, else over it.
function placeButtons(stage, screen) {
  const bar = document.querySelector('#buttons');
  bar.classList.remove('beside', 'over');
  bar.style.top = bar.style.left = '';
  const below = stage.clientHeight - (screen.top + screen.height);
  if (below >= bar.offsetHeight) {
    bar.style.top = stage.offsetTop + screen.top + screen.height + 'px';
    return;
  }
  bar.classList.add('beside');
  const right = stage.clientWidth - (screen.left + screen.width);
  if (right >= bar.offsetWidth) {
    bar.style.left = stage.offsetLeft + screen.left + screen.width + 'px';
    return;
  }
  bar.classList.replace('beside', 'over');
}

// The presentation scale (1 to 4) whose screen covers `width` device pixels: the program composes
// at it, so the screen is shown at its own pixels or a little enlarged, never made of 1x pixels.
export const scaleCovering = (width) => Math.min(4, Math.max(1, Math.ceil(width / screenWidth)));

let sized = () => {};  // told the screen's place after every fit

function fit() {
  const stage = document.querySelector('#stage');
  const ratio = window.devicePixelRatio || 1;
  const place = screenPlace(stage);
  const screen = {left: place.left / ratio, top: place.top / ratio, width: place.width / ratio, height: place.height / ratio};
  for (const shown of stage.querySelectorAll('canvas')) {
    shown.style.left = screen.left + 'px';
    shown.style.top = screen.top + 'px';
    shown.style.width = screen.width + 'px';
    shown.style.height = screen.height + 'px';
  }
  const finer = document.querySelector('#finer');
  finer.style.left = screen.left + 'px';
  finer.style.top = screen.top + screen.height - 3 + 'px';
  finer.style.width = screen.width + 'px';
  placeButtons(stage, screen);
  sized(place);
}

// The point on the canvas nearest to (x, y), in CSS pixels of the page; null when farther than
// `reach`.
function nearestOnCanvas(canvas, x, y, reach = Infinity) {
  const box = canvas.getBoundingClientRect();
  const inside = (value, low, high) => Math.min(Math.max(value, low), high - 0.5);
  const nearest = {x: inside(x, box.left, box.right), y: inside(y, box.top, box.bottom)};
  return Math.hypot(nearest.x - x, nearest.y - y) <= reach ? nearest : null;
}

// Border touches and presses are handed to the canvas, where the program listens, at the nearest
// point of the screen. A touch stays the canvas's until it ends; a mouse button's release is
// heard by the program wherever it happens. A game being watched (its canvas takes no pointer)
// is handed nothing.
function passBorderTapsOn(stage, canvas) {
  const touches = new Map();  // identifier -> a touch handed on
  const fromBorder = (event) => event.target === stage && !canvas.classList.contains('watched');
  const handOn = (event) => {
    const changed = [];
    for (const touch of event.changedTouches) {
      const known = touches.has(touch.identifier);
      if (known === (event.type === 'touchstart')) continue;
      const point = nearestOnCanvas(canvas, touch.clientX, touch.clientY, known ? Infinity : fingerWidth);
      if (!point) continue;
      const moved = new Touch({identifier: touch.identifier, target: canvas, clientX: point.x, clientY: point.y});
      touches.set(touch.identifier, moved);
      changed.push(moved);
    }
    if (changed.length === 0) return;
    event.preventDefault();  // no mouse events made up from the touch
    if (event.type === 'touchend' || event.type === 'touchcancel') for (const touch of changed) touches.delete(touch.identifier);
    const held = [...touches.values()];
    canvas.dispatchEvent(new TouchEvent(event.type, {
      touches: held, targetTouches: held, changedTouches: changed, bubbles: true, cancelable: true,
    }));
  };
  for (const type of ['touchstart', 'touchmove', 'touchend', 'touchcancel']) {
    stage.addEventListener(type, (event) => {
      if (fromBorder(event)) handOn(event);
    }, {passive: false});
  }
  stage.addEventListener('mousedown', (event) => {
    const point = fromBorder(event) && event.button === 0 && nearestOnCanvas(canvas, event.clientX, event.clientY, fingerWidth);
    if (point) canvas.dispatchEvent(new MouseEvent('mousedown', {clientX: point.x, clientY: point.y, button: 0, buttons: 1, bubbles: true}));
  });
}

// Fits the screen now and whenever the page changes; `onSized` hears the screen's place (device
// pixels) each time. Answers the fitting, for the page to call when its own parts change.
export function fitScreen(canvas, onSized) {
  sized = onSized;
  window.addEventListener('resize', fit);
  document.addEventListener('fullscreenchange', fit);
  passBorderTapsOn(document.querySelector('#stage'), canvas);
  fit();
  return fit;
}

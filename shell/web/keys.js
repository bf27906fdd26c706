// The keyboard on the page: the game gets only the keys it plays with (the arrows; Tab, Shift+Tab,
// Return and Space for the focus ring that taps what a stylus would; Ctrl+M for the sound), and
// only while no control of the page has the focus. Every other key, and every key with Alt or
// the system key, stays the browser's (reload, find, zoom, the address bar): the program's
// window never hears of it. A game being watched takes none.
const kGameKeys = new Set(['ArrowUp', 'ArrowDown', 'ArrowLeft', 'ArrowRight', 'Tab', 'Enter', 'NumpadEnter', 'Space']);
// Control and Shift themselves reach the program, which learns from them that they are held
// (Ctrl+M, Shift+Tab); alone they do nothing, in the game or in the browser.
const kModifierKeys = new Set(['ControlLeft', 'ControlRight', 'ShiftLeft', 'ShiftRight']);

function forTheGame(event) {
  if (event.target instanceof Element && event.target.closest('button, a, input, textarea, select, dialog')) return false;
  if (event.altKey || event.metaKey) return false;
  if (kModifierKeys.has(event.code)) return true;
  if (event.ctrlKey) return event.code === 'KeyM' && !event.shiftKey;
  return kGameKeys.has(event.code) && (!event.shiftKey || event.code === 'Tab');
}

// Registered before the program's own listeners, on the way down: a key that is not the game's
// goes no further, and the browser does what it does with it. A key the game got down always gets
// its release, whatever is held by then.
export function passOnlyGameKeys(gameTakesKeys) {
  const down = new Set();
  const listen = (type, passes) => window.addEventListener(type, (event) => {
    if (!passes(event)) event.stopImmediatePropagation();
  }, {capture: true});
  listen('keydown', (event) => gameTakesKeys() && forTheGame(event) && down.add(event.code));
  listen('keypress', (event) => gameTakesKeys() && forTheGame(event));
  listen('keyup', (event) => down.delete(event.code));
}

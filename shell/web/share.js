// A game shared as a link: the input the program recorded since the page started, in its own
// --replay format, deflated and written into the address's fragment with the frame to stop at:
//
//   https://host/path/#replay=<the recording, raw deflate, base64url>&frames=<N>
//
// Any browser opening it replays the same game frame for frame (`--replay FILE --frames N`), and
// the desktop's `boules --replay FILE` plays the same recording. The fragment never reaches the
// server. A link that does not read as one, or that unpacks to more than any game records, is
// refused with words for the page.

// A long evening's play records a few megabytes at most; more is not a game.
const kLargestRecording = 8 << 20;
const kLongestLink = 2 << 20;

function base64url(bytes) {
  let text = '';
  for (let i = 0; i < bytes.length; i += 0x8000) text += String.fromCharCode(...bytes.subarray(i, i + 0x8000));
  return btoa(text).replace(/\+/g, '-').replace(/\//g, '_').replace(/=+$/, '');
}

function bytesOf(text) {
  const binary = atob(text.replace(/-/g, '+').replace(/_/g, '/'));
  return Uint8Array.from(binary, (c) => c.charCodeAt(0));
}

// The packed bytes handed to the unpacking a slice at a time, each when it asks for more: a
// browser unpacks a whole piece of input before any of it can be read, and deflate packs up to
// about 1000 to 1, so a link's 1.5 MB handed on at once could unpack to 1.5 GB before the size
// is looked at.
const kPackedSlice = 1024;
function slicesOf(bytes) {
  let at = 0;
  return new ReadableStream({
    pull(controller) {
      if (at >= bytes.length) {
        controller.close();
        return;
      }
      controller.enqueue(bytes.slice(at, at + kPackedSlice));
      at += kPackedSlice;
    },
  }, {highWaterMark: 0});
}

export class SharedGameError extends Error {}

export async function linkFor(recording, frames) {
  const packed = new Blob([recording]).stream().pipeThrough(new CompressionStream('deflate-raw'));
  const bytes = new Uint8Array(await new Response(packed).arrayBuffer());
  const base = location.href.replace(/[?#].*$/, '');
  return `${base}#replay=${base64url(bytes)}&frames=${frames}`;
}

// The shared game the address carries: {recording, frames}, or null when it carries none.
export async function sharedGameIn(fragment) {
  const fields = new URLSearchParams(fragment.replace(/^#/, ''));
  if (!fields.has('replay')) return null;
  if (fragment.length > kLongestLink) throw new SharedGameError('This link is longer than any shared game.');
  const frames = fields.get('frames') || '';
  if (!/^[1-9][0-9]{0,9}$/.test(frames)) throw new SharedGameError('This link is damaged: it does not say where the game ends.');
  let packed;
  try {
    packed = bytesOf(fields.get('replay'));
  } catch {
    throw new SharedGameError('This link is damaged: its game cannot be read.');
  }
  const reader = slicesOf(packed).pipeThrough(new DecompressionStream('deflate-raw')).getReader();
  const chunks = [];
  let size = 0;
  try {
    for (;;) {
      const {done, value} = await reader.read();
      if (done) break;
      size += value.length;
      if (size > kLargestRecording) {
        reader.cancel();
        throw new SharedGameError('This link unpacks to more than any game records.');
      }
      chunks.push(value);
    }
  } catch (error) {
    if (error instanceof SharedGameError) throw error;
    throw new SharedGameError('This link is damaged: its game cannot be unpacked.');
  }
  return {recording: await new Blob(chunks).text(), frames: Number(frames)};
}

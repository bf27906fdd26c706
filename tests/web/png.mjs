// The pixels of an 8-bit RGB or RGBA PNG without interlacing (what the program's screenshots and
// a browser's canvas give), as {width, height, rgba}.
import {inflateSync} from 'node:zlib';

export function decodePng(bytes) {
  const data = Buffer.from(bytes);
  let offset = 8, width = 0, height = 0, channels = 0;
  const compressed = [];
  while (offset < data.length) {
    const length = data.readUInt32BE(offset);
    const type = data.toString('latin1', offset + 4, offset + 8);
    const body = data.subarray(offset + 8, offset + 8 + length);
    if (type === 'IHDR') {
      width = body.readUInt32BE(0);
      height = body.readUInt32BE(4);
      const [depth, colour, , , interlace] = body.subarray(8, 13);
      channels = {2: 3, 6: 4}[colour];
      if (depth !== 8 || !channels || interlace !== 0) throw new Error('an unexpected kind of PNG');
    } else if (type === 'IDAT') {
      compressed.push(body);
    }
    offset += 12 + length;
  }
  const raw = inflateSync(Buffer.concat(compressed));
  const stride = width * channels, rgba = new Uint8Array(width * height * 4);
  const previous = new Uint8Array(stride), row = new Uint8Array(stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    for (let i = 0; i < stride; ++i) {
      const left = i >= channels ? row[i - channels] : 0, up = previous[i], upLeft = i >= channels ? previous[i - channels] : 0;
      let predicted = 0;
      if (filter === 1) predicted = left;
      else if (filter === 2) predicted = up;
      else if (filter === 3) predicted = (left + up) >> 1;
      else if (filter === 4) {
        const p = left + up - upLeft, pa = Math.abs(p - left), pb = Math.abs(p - up), pc = Math.abs(p - upLeft);
        predicted = pa <= pb && pa <= pc ? left : pb <= pc ? up : upLeft;
      }
      row[i] = (line[i] + predicted) & 255;
    }
    for (let x = 0; x < width; ++x) {
      for (let c = 0; c < 3; ++c) rgba[(y * width + x) * 4 + c] = row[x * channels + c];
      rgba[(y * width + x) * 4 + 3] = channels === 4 ? row[x * channels + 3] : 255;
    }
    previous.set(row);
  }
  return {width, height, rgba};
}

// The share of pixels whose colour differs. On a 16-bit (5-6-5) screen only the bits the screen
// has are compared: how the rest of each 8-bit channel is filled is the viewer's choice (the
// program's screenshots repeat the top bits, SDL's renderer scales).
export function differingShare(a, b, bitsPerPixel = 32) {
  if (a.width !== b.width || a.height !== b.height) return 1;
  const masks = bitsPerPixel === 16 ? [0xf8, 0xfc, 0xf8] : [0xff, 0xff, 0xff];
  let differing = 0;
  for (let i = 0; i < a.rgba.length; i += 4)
    if (masks.some((mask, c) => (a.rgba[i + c] & mask) !== (b.rgba[i + c] & mask))) ++differing;
  return differing / (a.width * a.height);
}

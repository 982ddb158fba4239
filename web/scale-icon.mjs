// Enlarges one of the game's icons by a whole number, nearest neighbour, for the page's manifest:
// the pixel look stays, and no more pictures are committed than the painter makes.
//
// Usage: node scale-icon.mjs IN.png SIZE OUT.png
// IN.png is a square, 8-bit RGB or RGBA, non-interlaced PNG whose width divides SIZE. Exits
// non-zero with one line on stderr for anything else.
import { readFileSync, renameSync, writeFileSync } from 'node:fs';
import { deflateSync, inflateSync } from 'node:zlib';

const SIGNATURE = Buffer.from([137, 80, 78, 71, 13, 10, 26, 10]);

const CRC_TABLE = Array.from({ length: 256 }, (_, n) => {
  let c = n;
  for (let k = 0; k < 8; ++k) c = c & 1 ? 0xedb88320 ^ (c >>> 1) : c >>> 1;
  return c >>> 0;
});

function crc32(bytes) {
  let c = 0xffffffff;
  for (const b of bytes) c = CRC_TABLE[(c ^ b) & 0xff] ^ (c >>> 8);
  return (c ^ 0xffffffff) >>> 0;
}

function fail(message) {
  console.error(`scale-icon: ${message}`);
  process.exit(1);
}

// The picture's RGBA pixels, row after row: { width, height, pixels }.
function decode(file) {
  const bytes = readFileSync(file);
  if (bytes.length < 8 || !bytes.subarray(0, 8).equals(SIGNATURE)) fail(`${file} is not a PNG`);
  let header = null;
  const data = [];
  for (let at = 8; at + 12 <= bytes.length;) {
    const length = bytes.readUInt32BE(at);
    const type = bytes.toString('latin1', at + 4, at + 8);
    if (at + 12 + length > bytes.length) fail(`${file}: the ${type} chunk runs past the end`);
    const body = bytes.subarray(at + 8, at + 8 + length);
    if (type === 'IHDR') header = body;
    else if (type === 'IDAT') data.push(body);
    else if (type === 'IEND') break;
    at += 12 + length;
  }
  if (!header || header.length < 13 || data.length === 0) fail(`${file} has no header or no pixels`);
  const width = header.readUInt32BE(0), height = header.readUInt32BE(4);
  const [depth, colour, , , interlace] = header.subarray(8, 13);
  const channels = { 2: 3, 6: 4 }[colour];
  if (depth !== 8 || !channels || interlace !== 0)
    fail(`${file}: only 8-bit RGB or RGBA without interlacing is read (depth ${depth}, colour type ${colour})`);
  if (width === 0 || width > 4096 || height !== width) fail(`${file} is not a square of at most 4096 pixels`);
  let raw;
  try {
    raw = inflateSync(Buffer.concat(data));
  } catch (e) {
    fail(`${file}: ${e.message}`);
  }
  const stride = width * channels;
  if (raw.length < height * (stride + 1)) fail(`${file}: the pixels are cut short`);
  const rows = Buffer.alloc(height * stride);
  for (let y = 0; y < height; ++y) {
    const filter = raw[y * (stride + 1)];
    const line = raw.subarray(y * (stride + 1) + 1, (y + 1) * (stride + 1));
    const out = rows.subarray(y * stride, (y + 1) * stride);
    const up = (i) => (y > 0 ? rows[(y - 1) * stride + i] : 0);
    const left = (i) => (i >= channels ? out[i - channels] : 0);
    const upLeft = (i) => (i >= channels && y > 0 ? rows[(y - 1) * stride + i - channels] : 0);
    for (let i = 0; i < stride; ++i) {
      let predicted;
      switch (filter) {
        case 0: predicted = 0; break;
        case 1: predicted = left(i); break;
        case 2: predicted = up(i); break;
        case 3: predicted = (left(i) + up(i)) >> 1; break;
        case 4: {
          const a = left(i), b = up(i), c = upLeft(i), p = a + b - c;
          const pa = Math.abs(p - a), pb = Math.abs(p - b), pc = Math.abs(p - c);
          predicted = pa <= pb && pa <= pc ? a : pb <= pc ? b : c;
          break;
        }
        default: fail(`${file}: row ${y} has the unknown filter ${filter}`);
      }
      out[i] = (line[i] + predicted) & 0xff;
    }
  }
  const pixels = Buffer.alloc(width * height * 4, 0xff);
  for (let p = 0; p < width * height; ++p) rows.copy(pixels, p * 4, p * channels, p * channels + channels);
  return { width, height, pixels };
}

function chunk(type, body) {
  const head = Buffer.alloc(8);
  head.writeUInt32BE(body.length, 0);
  head.write(type, 4, 'latin1');
  const tail = Buffer.alloc(4);
  tail.writeUInt32BE(crc32(Buffer.concat([head.subarray(4), body])), 0);
  return Buffer.concat([head, body, tail]);
}

function encode({ width, height, pixels }) {
  const header = Buffer.alloc(13);
  header.writeUInt32BE(width, 0);
  header.writeUInt32BE(height, 4);
  header.set([8, 6, 0, 0, 0], 8);
  const raw = Buffer.alloc(height * (width * 4 + 1));
  for (let y = 0; y < height; ++y) pixels.copy(raw, y * (width * 4 + 1) + 1, y * width * 4, (y + 1) * width * 4);
  return Buffer.concat([SIGNATURE, chunk('IHDR', header), chunk('IDAT', deflateSync(raw, { level: 9 })),
                        chunk('IEND', Buffer.alloc(0))]);
}

const [input, sizeText, output] = process.argv.slice(2);
if (!input || !sizeText || !output) fail('usage: scale-icon.mjs IN.png SIZE OUT.png');
const size = Number(sizeText);
const picture = decode(input);
if (!Number.isInteger(size) || size <= 0 || size % picture.width !== 0)
  fail(`${size} is not a whole multiple of the icon's ${picture.width} pixels`);
const factor = size / picture.width;
const pixels = Buffer.alloc(size * size * 4);
for (let y = 0; y < size; ++y)
  for (let x = 0; x < size; ++x)
    picture.pixels.copy(pixels, (y * size + x) * 4, ((Math.floor(y / factor) * picture.width) + Math.floor(x / factor)) * 4,
                        ((Math.floor(y / factor) * picture.width) + Math.floor(x / factor)) * 4 + 4);
// Whole or not at all: a build stopped halfway leaves no half icon behind.
writeFileSync(`${output}.part`, encode({ width: size, height: size, pixels }));
renameSync(`${output}.part`, output);

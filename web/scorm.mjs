// SPDX-License-Identifier: MIT
// The page as a SCORM 1.2 package for a learning platform: imsmanifest.xml at the root and
// the page beside it, stored as they are, in a fixed order with a fixed time, so the same
// page always makes the same zip.
//   node scorm.mjs <web source folder> <page.html> <out.zip>
import { readFileSync, writeFileSync } from 'node:fs';
import { crc32 } from 'node:zlib';

const [source, pageFile, outFile] = process.argv.slice(2);
const entries = [['imsmanifest.xml', readFileSync(`${source}/imsmanifest.xml`)], ['dravlet.html', readFileSync(pageFile)]];
const dosDate = (1 << 5) | 1;  // 1980-01-01, 00:00

// The fields a local header and the central directory share: version needed (1.0, stored),
// flags, method (stored), time, date, CRC-32, both sizes, name length.
const common = (name, data) => {
  const fields = Buffer.alloc(26);
  fields.writeUInt16LE(10, 0);
  fields.writeUInt16LE(dosDate, 8);
  fields.writeUInt32LE(crc32(data), 10);
  fields.writeUInt32LE(data.length, 14);
  fields.writeUInt32LE(data.length, 18);
  fields.writeUInt16LE(name.length, 22);
  return fields;
};
const signature = (value) => {
  const bytes = Buffer.alloc(4);
  bytes.writeUInt32LE(value);
  return bytes;
};
const local = [];
const central = [];
let offset = 0;
for (const [text, data] of entries) {
  const name = Buffer.from(text);
  const header = Buffer.concat([signature(0x04034b50), common(name, data), name]);
  const tail = Buffer.alloc(14);  // comment length, disk, attributes: none; then where the entry starts
  tail.writeUInt32LE(offset, 10);
  central.push(Buffer.concat([signature(0x02014b50), Buffer.from([20, 0]), common(name, data), tail, name]));
  local.push(header, data);
  offset += header.length + data.length;
}
const directory = Buffer.concat(central);
const end = Buffer.alloc(18);
end.writeUInt16LE(entries.length, 4);
end.writeUInt16LE(entries.length, 6);
end.writeUInt32LE(directory.length, 8);
end.writeUInt32LE(offset, 12);
writeFileSync(outFile, Buffer.concat([...local, directory, signature(0x06054b50), end]));

// Packs the files the browser game reads into one download:
//   "TORVDATA", a little-endian 32-bit header length, the header (JSON list of
//   {name, size}), then each file's bytes in the header's order.
// page.js unpacks it into the module's file system.
// Usage: node pack_data.js OUT NAME=PATH...
'use strict';
const fs = require('fs');
const path = require('path');

const [out, ...members] = process.argv.slice(2);
if (!out || members.length === 0) {
  console.error('usage: node pack_data.js OUT NAME=PATH...');
  process.exit(2);
}
const files = members.map((m) => {
  const eq = m.indexOf('=');
  if (eq <= 0) {
    console.error(`pack_data: "${m}" is not NAME=PATH`);
    process.exit(2);
  }
  return { name: m.slice(0, eq), bytes: fs.readFileSync(m.slice(eq + 1)) };
});
const header = Buffer.from(JSON.stringify(files.map((f) => ({ name: f.name, size: f.bytes.length }))));
const size = Buffer.alloc(4);
size.writeUInt32LE(header.length);
const temporary = `${out}.part`;
fs.mkdirSync(path.dirname(out), { recursive: true });
fs.writeFileSync(temporary, Buffer.concat([Buffer.from('TORVDATA'), size, header, ...files.map((f) => f.bytes)]));
fs.renameSync(temporary, out);

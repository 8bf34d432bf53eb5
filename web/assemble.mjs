// SPDX-License-Identifier: MIT
// Puts the page together as one file: the styles, the engine itself (base64, as data)
// and the page's script, which loads it, all inline, under a Content-Security-Policy that lets
// exactly these inline pieces run (by their hashes) and forbids every connection and
// everything from anywhere else.
// It carries Dravlet's license and the notices of what the engine's build put into it, in a
// comment at its end, where it holds up nothing the browser reads first.
//   node assemble.mjs <web source folder> <engine.wasm> <out.html> <LICENSE> <THIRD-PARTY-NOTICES>
import { readFileSync, writeFileSync } from 'node:fs';
import { createHash } from 'node:crypto';

const [source, wasmFile, outFile, licenseFile, noticesFile] = process.argv.slice(2);
const read = (file) => readFileSync(file, 'utf8');
const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;

// Without comments and indentation: the browser reads every byte before the page starts.
const lines = (text) => text.split('\n').map((line) => line.trim()).filter((line) => line !== '');
const style = lines(read(`${source}/page.css`).replace(/\/\*[\s\S]*?\*\//g, '')).join('\n');
const script = lines(read(`${source}/page.js`)).filter((line) => !line.startsWith('//')).join('\n');
// Data, not script: the browser reads it as text, without parsing it as code.
const engine = readFileSync(wasmFile).toString('base64');
// The notices of the page's own part only: from its heading to the line that says so.
const notices = read(noticesFile);
const pagePart = notices.slice(notices.indexOf('dravlet.html and dravlet-scorm.zip'),
  notices.indexOf('The page itself carries'));
const notice = `Dravlet\n\n${read(licenseFile)}\nThird-party notices: parts of other projects in this page.\n${pagePart}`
  + 'Parts 5 and 6 are under the MIT license above (text C), each with its own copyright line.\n';
for (const [what, text] of [['style', style], ['script', script], ['--', notice]]) {
  if (text.toLowerCase().includes(what === '--' ? '--' : `</${what}`)) {
    throw new Error(`the inline ${what} would end its own element early`);
  }
}
const policy = [
  "default-src 'none'",
  `script-src ${hash(script)} 'wasm-unsafe-eval'`,
  `style-src ${hash(style)}`,
  "base-uri 'none'",
  "form-action 'none'",
].join('; ');
const page = read(`${source}/page.html`).replace(/<!--[\s\S]*?-->\n/g, '')
  .replace('@CSP@', () => policy)
  .replace('@STYLE@', () => style)
  .replace('@ENGINE@', () => engine)
  .replace('@SCRIPT@', () => script)
  .concat(`<!--\n${notice}-->\n`);
writeFileSync(outFile, page);
console.log(`${outFile}: ${Buffer.byteLength(page)} bytes`);

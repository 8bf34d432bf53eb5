// Puts the page together as one file: the styles, the engine itself (base64, as data)
// and the page's script, which loads it, all inline, under a Content-Security-Policy that lets
// exactly these inline pieces run (by their hashes) and forbids every connection and
// everything from anywhere else.
//   node assemble.mjs <web source folder> <engine.wasm> <out.html>
import { readFileSync, writeFileSync } from 'node:fs';
import { createHash } from 'node:crypto';

const [source, wasmFile, outFile] = process.argv.slice(2);
const read = (file) => readFileSync(file, 'utf8');
const hash = (text) => `'sha256-${createHash('sha256').update(text, 'utf8').digest('base64')}'`;

// Without comments and indentation: the browser reads every byte before the page starts.
const lines = (text) => text.split('\n').map((line) => line.trim()).filter((line) => line !== '');
const style = lines(read(`${source}/page.css`).replace(/\/\*[\s\S]*?\*\//g, '')).join('\n');
const script = lines(read(`${source}/page.js`)).filter((line) => !line.startsWith('//')).join('\n');
// Data, not script: the browser reads it as text, without parsing it as code.
const engine = readFileSync(wasmFile).toString('base64');
for (const [what, text] of [['style', style], ['script', script]]) {
  if (text.toLowerCase().includes(`</${what}`)) {
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
  .replace('@SCRIPT@', () => script);
writeFileSync(outFile, page);
console.log(`${outFile}: ${Buffer.byteLength(page)} bytes`);

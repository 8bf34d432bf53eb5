// SPDX-License-Identifier: MIT
// How fast the page is to use: from opening the file to the first problem on screen,
// clicking Start the moment it shows, against a plain page with the same twelve controls
// and no engine (Start there shows a fixed problem); both loaded in turn, in the same
// browser, in one run. Also whether the verdict is on screen in the frame of the click.
//   node bench/page_speed.mjs build/web/dravlet.html [rounds]
import { readFileSync, writeFileSync, mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve, dirname } from 'node:path';
import { fileURLToPath, pathToFileURL } from 'node:url';

const here = dirname(fileURLToPath(import.meta.url));
const { default: puppeteer } = await import(
  pathToFileURL(join(here, '../tests/web/node_modules/puppeteer-core/lib/esm/puppeteer/puppeteer-core.js')).href);
const [pagePath, roundsText = '25'] = process.argv.slice(2);
const rounds = Number(roundsText);

// The plain page: the page's own markup and styles, its captions written in, and a
// script that only shows a fixed problem.
const folder = mkdtempSync(join(tmpdir(), 'dravlet-speed-'));
const plainPath = join(folder, 'plain.html');
writeFileSync(plainPath, readFileSync(join(here, '../web/page.html'), 'utf8')
  .replace('@CSP@', () => "default-src 'none'; script-src 'unsafe-inline'; style-src 'unsafe-inline'")
  .replace('@STYLE@', () => readFileSync(join(here, '../web/page.css'), 'utf8'))
  .replace('@ENGINE@', '')
  .replace('@SCRIPT@', () => `{
    for (const [id, text] of [['lblRight', '0'], ['lblWrong', '0'], ['Label1', 'Right'], ['Label2', 'Wrong'],
      ['Label3', 'Type a number, then press Submit.']]) document.getElementById(id).textContent = text;
    for (const id of ['cmdRun', 'cmdQuit']) document.getElementById(id).hidden = false;
    document.getElementById('cmdRun').focus();
    document.getElementById('cmdRun').addEventListener('click', () => {
      document.getElementById('cmdRun').hidden = true;
      document.getElementById('cmdSubmit').hidden = false;
      document.getElementById('txtProb').value = 'Tyrone  has  10 liters of a 20% solution.';
      document.getElementById('txtAnswer').focus();
    });
  }`));

// Runs in each page from its first moment: clicks Start as soon as it shows, and notes
// the time of the frame that paints the problem; then answers and notes whether the
// verdict is there in the frame after the click.
const probe = () => {
  window.speed = new Promise((done) => {
    const start = () => {
      const run = document.getElementById('cmdRun');
      if (!run || run.hidden || window.clicked) return;
      window.clicked = true;
      run.click();
      requestAnimationFrame((frame) => {
        const problemAt = Math.max(frame, performance.now());
        const submit = document.getElementById('cmdSubmit');
        document.getElementById('txtAnswer').value = '1';
        submit.click();
        requestAnimationFrame(() => done({
          problemAt,
          problem: document.getElementById('txtProb').value !== '',
          verdictInFrame: document.getElementById('lblResponse').textContent !== '' || !window.Dravlet,
        }));
      });
    };
    new MutationObserver(start).observe(document, { subtree: true, attributes: true, attributeFilter: ['hidden'] });
    document.addEventListener('DOMContentLoaded', start);
  });
};

const median = (values) => [...values].sort((a, b) => a - b)[Math.floor(values.length / 2)];
const launchers = {
  chromium: () => puppeteer.launch({ executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--no-first-run', '--disable-background-networking', '--disable-component-update',
      '--disable-sync', '--disable-extensions'] }),
  firefox: () => puppeteer.launch({ browser: 'firefox', executablePath: '/usr/bin/firefox-esr' }),
};
let ok = true;
for (const [name, launch] of Object.entries(launchers)) {
  const browser = await launch();
  const times = { plain: [], dravlet: [] };
  let verdictsInFrame = 0;
  const page = await browser.newPage();
  await page.evaluateOnNewDocument(probe);
  for (let round = 0; round < rounds + 2; ++round) {
    for (const [which, file] of round % 2 ? [['plain', plainPath], ['dravlet', pagePath]] : [['dravlet', pagePath], ['plain', plainPath]]) {
      await page.goto(pathToFileURL(resolve(file)).href);
      const result = await page.evaluate(() => window.speed);
      if (!result.problem) throw new Error(`${which}: no problem after the first click`);
      if (round >= 2) {  // the first two rounds warm the browser up
        times[which].push(result.problemAt);
        verdictsInFrame += which === 'dravlet' && result.verdictInFrame ? 1 : 0;
      }
    }
  }
  await browser.close();
  const ratio = median(times.dravlet) / median(times.plain);
  ok = ok && ratio <= 1.25 && verdictsInFrame === rounds;
  console.log(`${name}: first problem on screen ${median(times.dravlet).toFixed(1)} ms (plain page ` +
    `${median(times.plain).toFixed(1)} ms), ratio ${ratio.toFixed(2)}; verdict in the frame of the click ` +
    `${verdictsInFrame}/${rounds}; medians of ${rounds} interleaved loads`);
}
console.log(`${pagePath}: ${readFileSync(pagePath).length} bytes`);
process.exit(ok ? 0 : 1);

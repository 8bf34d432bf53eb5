// The page in Debian's chromium and firefox-esr, as a keyboard user plays it: Start, a
// right answer, Next, a wrong answer, Quit, with every text, the focus and the counts
// checked at each step against the tests' own oracle; then that nothing left the page,
// nothing was stored and nothing was said on the console; then the page on a phone.
//   node page_test.mjs PAGE.html ORACLE-COMMAND...
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtempSync } from 'node:fs';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';

const [pagePath, ...oracleCommand] = process.argv.slice(2);
const pageUrl = pathToFileURL(resolve(pagePath)).href;

// The answer and the verdict the learner must get, worked out from the problem's text.
const oracle = (problem, typed) => {
  const [answer, verdict] = execFileSync(oracleCommand[0], [...oracleCommand.slice(1), problem, typed],
    { encoding: 'utf8' }).split('\n');
  return { answer: Number(answer), verdict };
};

// What a screen reader is given (Chromium's accessibility tree): the accessible names and
// the descriptions of the answer box and of Next.
const accessible = async (page) => {
  const all = [];
  const walk = (node) => { all.push(node); (node.children ?? []).forEach(walk); };
  walk(await page.accessibility.snapshot({ interestingOnly: false }));
  const described = (role, name) => all.find((n) => n.role === role && n.name === name)?.description ?? '';
  return {
    names: all.filter((n) => n.name && !['StaticText', 'InlineTextBox', 'RootWebArea'].includes(n.role))
      .map((n) => `${n.role} ${n.name}`),
    answer: described('textbox', 'Your answer'),
    next: described('button', 'Next'),
  };
};

// Text as a browser gives it to assistive technology: runs of blanks as one.
const spoken = (text) => text.replace(/\s+/g, ' ');

const browsers = {
  chromium: () => puppeteer.launch({
    executablePath: '/usr/bin/chromium',
    args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
  }),
  firefox: () => puppeteer.launch({
    browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
    userDataDir: mkdtempSync(join(tmpdir(), 'dravlet-firefox-')),
  }),
};

// What the learner sees: texts, the buttons showing, the focus, and whether the problem
// fits its box and the blanks of every text stay visible.
const seen = (page) => page.evaluate(() => {
  const el = (id) => document.getElementById(id);
  if (!el('cmdDravlet')) {
    return { ended: el('ended').hidden ? '' : el('ended').textContent, focus: document.activeElement.id };
  }
  const shown = (id) => !el(id).hidden && el(id).getClientRects().length > 0;
  return {
    problem: el('txtProb').value,
    answer: el('txtAnswer').value,
    verdict: el('lblResponse').textContent,
    right: el('lblRight').textContent,
    wrong: el('lblWrong').textContent,
    buttons: ['cmdRun', 'cmdSubmit', 'cmdNext', 'cmdQuit'].filter(shown).join(' '),
    focus: document.activeElement.id,
    problemFits: el('txtProb').scrollHeight <= el('txtProb').clientHeight,
    blanksKept: ['txtProb', 'lblResponse', 'lblRight', 'lblWrong']
      .every((id) => getComputedStyle(el(id)).whiteSpace.startsWith('pre')),
  };
});

for (const [name, launch] of Object.entries(browsers)) {
  test(`${name}: a whole cycle by keyboard`, async () => {
    const browser = await launch();
    try {
      const page = (await browser.pages())[0] ?? await browser.newPage();
      const requests = [];
      const said = [];
      page.on('request', (request) => requests.push(request.url()));
      page.on('console', (message) => said.push(`${message.type()}: ${message.text()}`));
      page.on('pageerror', (error) => said.push(`error: ${error.message}`));
      // Firefox does not activate a focused button on the keys WebDriver synthesizes (it
      // does on real ones: the Orca test presses them there), so there the focused button
      // is pressed directly, after the same check of where the focus is.
      const press = name === 'firefox'
        ? async (key) => ((await page.evaluate(() => document.activeElement.localName)) === 'button'
          ? page.evaluate(() => document.activeElement.click()) : page.keyboard.press(key))
        : (key) => page.keyboard.press(key);
      await page.goto(pageUrl);
      assert.equal(await page.title(), 'Dravlet Problem Practice Version 2.1');
      await page.waitForSelector('#cmdRun:not([hidden])');
      let now = await seen(page);
      assert.equal(now.focus, 'cmdRun', 'the focus starts on Start');
      assert.deepEqual([now.right, now.wrong, now.buttons, now.problem, now.verdict], ['0', '0', 'cmdRun cmdQuit', '', '']);

      await press(' ');
      now = await seen(page);
      const first = now.problem;
      const right = oracle(first, '');
      assert.deepEqual([now.focus, now.buttons, now.answer], ['txtAnswer', 'cmdSubmit cmdQuit', '']);
      assert.ok(now.problemFits && now.blanksKept, `shown whole, blank for blank: ${first}`);
      if (name === 'chromium') {
        const told = await accessible(page);
        assert.deepEqual(told.names,
          ['textbox Problem', 'status Right', 'status Wrong', 'textbox Your answer', 'button Submit', 'button Quit']);
        assert.equal(told.answer, spoken(first), 'the answer box is described by its problem');
      }

      await page.keyboard.type(String(right.answer));
      await press('Enter');  // presses nothing: there is no form to send
      await page.keyboard.press('Escape');  // nor is there a cancel button
      now = await seen(page);
      assert.deepEqual([now.focus, now.buttons, now.verdict, now.answer],
        ['txtAnswer', 'cmdSubmit cmdQuit', '', String(right.answer)]);
      await page.keyboard.press('Tab');
      assert.equal((await seen(page)).focus, 'cmdSubmit', 'Tab goes from the answer box to Submit');
      await press(' ');
      now = await seen(page);
      assert.deepEqual([now.verdict, now.right, now.wrong, now.focus, now.buttons, now.problem],
        ['CORRECT', ' 1', ' 0', 'cmdNext', 'cmdNext cmdQuit', first]);
      if (name === 'chromium') {
        assert.equal((await accessible(page)).next, 'CORRECT. Right answers 1, wrong answers 0.');
      }

      await press('Enter');  // on Next
      now = await seen(page);
      const second = now.problem;
      const typed = String(oracle(second, '').answer + 1);
      const wrong = oracle(second, typed);
      assert.notEqual(second, first);
      assert.deepEqual([now.focus, now.buttons, now.answer, now.verdict, now.problemFits],
        ['txtAnswer', 'cmdSubmit cmdQuit', '', '', true]);
      await page.keyboard.type(typed);
      await page.keyboard.press('Tab');
      await press('Enter');  // on Submit
      now = await seen(page);
      assert.deepEqual([now.verdict, now.right, now.wrong, now.focus], [wrong.verdict, ' 1', ' 1', 'cmdNext']);
      if (name === 'chromium') {
        assert.equal((await accessible(page)).next, spoken(`${wrong.verdict}. Right answers 1, wrong answers 1.`));
      }

      await page.keyboard.press('Tab');
      assert.equal((await seen(page)).focus, 'cmdQuit', 'Tab goes from Next to Quit');
      await press(' ');
      if (!page.isClosed()) {
        now = await seen(page);
        assert.deepEqual(now, { ended: 'The practice has ended. Reload the page to start a new one.', focus: 'ended' });
        assert.equal(await page.$$eval('button, input, textarea', (all) => all.length), 0, 'no control is left');

        const stored = await page.evaluate(async () => ({
          cookie: document.cookie,
          local: localStorage.length,
          session: sessionStorage.length,
          databases: (await indexedDB.databases()).length,
          caches: 'caches' in window ? (await caches.keys()).length : 0,
          // A page opened from a file has no service workers at all.
          workers: await navigator.serviceWorker?.getRegistrations().then((all) => all.length, () => 0) ?? 0,
        }));
        assert.deepEqual(stored, { cookie: '', local: 0, session: 0, databases: 0, caches: 0, workers: 0 });
      }
      assert.deepEqual(requests.filter((url) => url !== pageUrl), [], 'nothing but the page itself was loaded');
      assert.deepEqual(said, [], 'the console stayed quiet');
    } finally {
      await browser.close();
    }
  });
}

// The page's policy stops every connection, even one its own script would try.
test('chromium: no connection can leave the page', async () => {
  const browser = await browsers.chromium();
  try {
    const page = await browser.newPage();
    await page.goto(pageUrl);
    const blocked = await page.evaluate(() => new Promise((done) => {
      document.addEventListener('securitypolicyviolation', (e) => done(e.violatedDirective));
      fetch('http://127.0.0.1:9/').catch(() => {});
    }));
    assert.equal(blocked, 'connect-src');
  } finally {
    await browser.close();
  }
});

// On a phone, and zoomed in: the whole window in view, nothing scrolling sideways, and
// a tap on Start gives a problem that fits its box.
test('chromium: on a phone and zoomed in, by touch', async () => {
  const browser = await browsers.chromium();
  try {
    for (const viewport of [{ width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3 },
      { width: 240, height: 400, deviceScaleFactor: 4 }]) {
      const page = await browser.newPage();
      await page.setViewport(viewport);
      await page.goto(pageUrl);
      const start = await page.waitForSelector('#cmdRun:not([hidden])');
      const box = await start.boundingBox();
      if (viewport.hasTouch) {
        await page.touchscreen.tap(box.x + box.width / 2, box.y + box.height / 2);
      } else {
        await start.click();
      }
      const fit = await page.evaluate(() => {
        const win = document.getElementById('cmdDravlet').getBoundingClientRect();
        const problem = document.getElementById('txtProb');
        return {
          sideways: document.documentElement.scrollWidth > document.documentElement.clientWidth,
          inView: win.left >= 0 && win.right <= document.documentElement.clientWidth,
          problem: problem.value !== '' && problem.scrollHeight <= problem.clientHeight,
        };
      });
      assert.deepEqual(fit, { sideways: false, inView: true, problem: true }, JSON.stringify(viewport));
      await page.close();
    }
  } finally {
    await browser.close();
  }
});

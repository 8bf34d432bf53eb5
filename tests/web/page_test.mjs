// SPDX-License-Identifier: MIT
// The page in Debian's chromium and firefox-esr and in WebKit (WPE and WebKitGTK), as a
// keyboard user plays it: Start, a right answer, Next, a wrong answer, Quit, with every
// text, the focus, the counts and where each control stands checked at each step against
// the tests' own oracle; then that nothing left the page, nothing was stored and nothing
// was said on the console (axe-core, forced colours, a reader's spacing on the way); then on a phone, narrowed, and without WebAssembly.
//   node page_test.mjs PAGE.html ORACLE-COMMAND...
import assert from 'node:assert/strict';
import { execFileSync, spawn } from 'node:child_process';
import { mkdtempSync, readFileSync } from 'node:fs';
import { createServer as createHttpServer } from 'node:http';
import { createServer } from 'node:net';
import { tmpdir } from 'node:os';
import { join, resolve } from 'node:path';
import { test } from 'node:test';
import { pathToFileURL } from 'node:url';
import puppeteer from 'puppeteer-core';
import { Builder, By, Key, until } from 'selenium-webdriver';

const [pagePath, ...oracleCommand] = process.argv.slice(2);
const pageUrl = pathToFileURL(resolve(pagePath)).href;

// The answer and the verdict the learner must get, worked out from the problem's text.
const oracle = (problem, typed) => {
  const [answer, verdict] = execFileSync(oracleCommand[0], [...oracleCommand.slice(1), problem, typed],
    { encoding: 'utf8' }).split('\n');
  return { answer: Number(answer), verdict };
};

// Text as a browser gives it to assistive technology: runs of blanks as one.
const spoken = (text) => text.replace(/\s+/g, ' ');

// The rules of axe-core's (WCAG 2.0 to 2.2 at A and AA, best practices) the page breaks, run as the driver's own script, which
// the page's policy allows; but Start's positive tab index, on purpose: last in the page, Orca reading on from it passes nothing.
const axe = readFileSync(new URL('node_modules/axe-core/axe.min.js', import.meta.url), 'utf8');
const audit = async (page) => {
  await page.evaluate(axe);
  return JSON.parse(await page.evaluate(async () => JSON.stringify((await window.axe.run(document, {
    runOnly: { type: 'tag', values: ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'] },
  })).violations.map((rule) => `${rule.id}: ${rule.nodes.map((node) => node.target).join(' ')}`))))
    .filter((broken) => broken !== 'tabindex: #cmdRun');
};

// WebKit, which puppeteer cannot drive, through classic WebDriver: the driver on a free
// port, and a page with the few calls of puppeteer's that the test makes.
const webDriver = (command, capabilities) => async () => {
  const probe = createServer().listen(0);
  const { port } = await new Promise((done) => probe.on('listening', () => done(probe.address()))).finally(() => probe.close());
  const server = spawn(command[0], [...command.slice(1), `--port=${port}`], { stdio: 'ignore', detached: true });
  let driver = null;
  for (const deadline = Date.now() + 20000; !driver;) {
    driver = await new Builder().usingServer(`http://127.0.0.1:${port}`).withCapabilities(capabilities).build()
      .catch((error) => { if (Date.now() > deadline) throw error; return new Promise((done) => setTimeout(done, 100)); });
  }
  const key = (name) => ({ Enter: Key.ENTER, Tab: Key.TAB, Escape: Key.ESCAPE, Shift: Key.SHIFT })[name] ?? name;
  const page = {
    // WebDriver has no console of the page here: what the page says is gathered from its load on.
    goto: async (url) => {
      await driver.get(url);
      await driver.executeScript(() => {
        window.said = [];
        ['log', 'info', 'warn', 'error'].forEach((type) => { console[type] = (...all) => window.said.push(`${type}: ${all.join(' ')}`); });
      });
    },
    said: () => driver.executeScript(() => window.said),
    title: () => driver.getTitle(),
    evaluate: (script, ...args) => driver.executeScript(script, ...args),
    waitForSelector: (selector) => driver.wait(until.elementLocated(By.css(selector)), 10000),
    label: (id) => driver.findElement(By.id(id)).getAccessibleName(),
    on: () => {},
    isClosed: () => false,
    keyboard: {
      down: (name) => driver.actions().keyDown(key(name)).perform(),
      up: (name) => driver.actions().keyUp(key(name)).perform(),
      press: (name) => driver.actions().keyDown(key(name)).keyUp(key(name)).perform(),
      type: (text) => driver.actions().sendKeys(text).perform(),
    },
  };
  return { pages: async () => [page], close: async () => { await driver.quit(); process.kill(-server.pid); } };
};

// How each browser is started; label: the accessible name a screen reader is given for a
// control, where the browser can tell (Chromium's accessibility tree, WebKitGTK's computed
// label; WPE's driver cannot compute one).
const browsers = {
  chromium: {
    launch: () => puppeteer.launch({
      executablePath: '/usr/bin/chromium',
      args: ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
        '--disable-component-update', '--disable-sync'],
    }),
    label: async (page, id) => (await page.accessibility.snapshot({ root: await page.$(`#${id}`), interestingOnly: false })).name,
  },
  firefox: {
    launch: () => puppeteer.launch({
      browser: 'firefox', executablePath: '/usr/bin/firefox-esr',
      userDataDir: mkdtempSync(join(tmpdir(), 'dravlet-firefox-')),
    }),
  },
  webkit: {
    launch: webDriver(['WPEWebDriver'], {
      browserName: 'cog', 'wpe:browserOptions': { binary: '/usr/bin/cog', args: ['--automation', '--platform=headless'] },
    }),
  },
  // WebKitGTK's browser needs an X display and a session bus.
  webkitgtk: {
    launch: webDriver(['dbus-run-session', '--', 'xvfb-run', '-a', 'WebKitWebDriver'], {
      browserName: 'MiniBrowser',
      'webkitgtk:browserOptions': { binary: '/usr/lib/x86_64-linux-gnu/webkit2gtk-4.1/MiniBrowser', args: ['--automation'] },
    }),
    label: (page, id) => page.label(id),
  },
};

// The window's layout: left, top, width and height of the window and of every control, in pixels.
const layout = Object.entries({
  cmdDravlet: [0, 0, 438, 408], txtProb: [16, 24, 297, 233], txtAnswer: [8, 272, 177, 41],
  cmdSubmit: [240, 280, 81, 33], cmdNext: [240, 280, 81, 33], cmdRun: [320, 280, 81, 33], cmdQuit: [344, 368, 81, 33],
  lblRight: [352, 40, 73, 41], Label1: [360, 88, 57, 17], lblWrong: [352, 112, 73, 41], Label2: [360, 160, 57, 17],
  lblResponse: [0, 328, 209, 25], Label3: [24, 384, 217, 17],
});

// What the learner sees, once the page has drawn its next frame: texts, the buttons
// showing, the focus, the controls out of their place, the texts cut by their boxes, and
// whether the blanks of every text stay visible.
const seen = (page) => page.evaluate(async (places) => {
  await new Promise((drawn) => requestAnimationFrame(() => requestAnimationFrame(drawn)));
  const el = (id) => document.getElementById(id);
  if (!el('cmdDravlet')) {
    return { ended: el('ended').hidden ? '' : el('ended').textContent, focus: document.activeElement.id };
  }
  const shown = (id) => !el(id).hidden && el(id).getClientRects().length > 0;
  const fits = (id) => el(id).scrollWidth <= el(id).clientWidth && el(id).scrollHeight <= el(id).clientHeight;
  const origin = el('cmdDravlet').getBoundingClientRect();
  return {
    problem: el('txtProb').value,
    answer: el('txtAnswer').value,
    verdict: el('lblResponse').textContent,
    right: el('lblRight').textContent,
    wrong: el('lblWrong').textContent,
    buttons: ['cmdRun', 'cmdSubmit', 'cmdNext', 'cmdQuit'].filter(shown).join(' '),
    focus: document.activeElement.id,
    misplaced: places.filter(([id, place]) => shown(id) && [origin.left, origin.top, 0, 0].some((from, i) => {
      const rect = el(id).getBoundingClientRect();
      return Math.abs([rect.left, rect.top, rect.width, rect.height][i] - from - place[i]) > 0.5;
    })).map(([id]) => id).join(' '),
    cut: ['txtProb', 'lblResponse', 'lblRight', 'lblWrong', 'Label1', 'Label2', 'Label3'].filter((id) => !fits(id)).join(' '),
    blanksKept: ['txtProb', 'lblResponse', 'lblRight', 'lblWrong']
      .every((id) => getComputedStyle(el(id)).whiteSpace.startsWith('pre')),
  };
}, layout);

for (const [name, { launch, label }] of Object.entries(browsers)) {
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
      // The names a screen reader is given, where the browser tells them.
      const named = async (expected) => {
        for (const [id, name] of label ? Object.entries(expected) : []) {
          assert.equal(await label(page, id), name, `the name of ${id}`);
        }
      };
      await page.goto(pageUrl);
      assert.equal(await page.title(), 'Dravlet Problem Practice Version 2.1');
      await page.waitForSelector('#cmdRun:not([hidden])');
      let now = await seen(page);
      assert.deepEqual([now.focus, now.right, now.wrong, now.buttons, now.problem, now.verdict, now.misplaced, now.cut],
        ['cmdRun', '0', '0', 'cmdRun cmdQuit', '', '', '', '']);
      assert.deepEqual(await audit(page), [], 'axe-core at the start');
      // The problem box is no tab stop, either way.
      await page.keyboard.press('Tab');
      const tabbed = (await seen(page)).focus;
      await page.keyboard.down('Shift');
      await page.keyboard.press('Tab');
      await page.keyboard.up('Shift');
      assert.deepEqual([tabbed, (await seen(page)).focus], ['txtAnswer', 'cmdRun'], 'Tab and Shift+Tab pass the problem box');

      await press(' ');
      now = await seen(page);
      const first = now.problem;
      const right = oracle(first, '');
      assert.deepEqual([now.focus, now.buttons, now.answer, now.misplaced, now.cut, now.blanksKept],
        ['txtAnswer', 'cmdSubmit cmdQuit', '', '', '', true], `shown whole, blank for blank: ${first}`);
      assert.deepEqual(await audit(page), [], 'axe-core with a problem');
      // In forced colours (a contrast theme of Windows) every control and count box keeps a
      // border of a colour of its own, and the answer box its focus ring.
      if (name === 'chromium') {
        const emulate = async (features) => (await page.createCDPSession()).send('Emulation.setEmulatedMedia', { features });
        await emulate([{ name: 'forced-colors', value: 'active' }]);
        assert.equal(await page.evaluate(() => {
          const framed = (box, edge, style = getComputedStyle(box)) => style[`${edge}Style`] !== 'none'
            && parseFloat(style[`${edge}Width`]) > 0 && style[`${edge}Color`] !== style.backgroundColor;
          return [...document.querySelectorAll('textarea, input, button:not([hidden]), output')].filter((box) => !framed(box, 'borderTop'))
            .concat(framed(document.activeElement, 'outline') && matchMedia('(forced-colors: active)').matches ? [] : [document.activeElement])
            .map((box) => box.id).join(' ');
        }), '', 'in forced colours, without a border or a ring');
        await emulate([]);
      }
      await named({ txtProb: 'Problem', lblRight: 'Right', lblWrong: 'Wrong', txtAnswer: `${spoken(first)}. Your answer` });
      // A paste keeps its first 32 767 characters; the problem box takes no typing.
      const edited = await page.evaluate(() => ['txtProb', 'txtAnswer'].map((id) => {
        document.getElementById(id).focus();
        document.execCommand('insertText', false, '9'.repeat(40000));
        return document.getElementById(id).value;
      }));
      assert.deepEqual([edited[0], edited[1].length], [first, 32767]);
      await page.evaluate(() => { document.getElementById('txtAnswer').value = ''; });

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
      assert.deepEqual([now.verdict, now.right, now.wrong, now.focus, now.buttons, now.problem, now.misplaced],
        ['CORRECT', ' 1', ' 0', 'cmdNext', 'cmdNext cmdQuit', first, '']);
      await named({ cmdNext: 'CORRECT. Right answers 1, wrong answers 0. Next' });
      assert.deepEqual(await audit(page), [], 'axe-core with a verdict');
      // From here on with a reader's own line height and spacing: every text is fitted again.
      await page.evaluate(() => {
        const spacing = 'line-height: 1.5 !important; letter-spacing: 0.12em !important; word-spacing: 0.16em !important;';
        try {
          const sheet = new CSSStyleSheet();
          sheet.replaceSync(`* { ${spacing} } p { margin-bottom: 2em !important }`);
          document.adoptedStyleSheets = [...document.adoptedStyleSheets, sheet];
        } catch {  // WPE 2.38 (Safari 16.0) constructs no style sheet: the same on every element
          document.querySelectorAll('*').forEach((element) => { element.style.cssText += spacing; });
        }
      });
      now = await seen(page);
      assert.deepEqual([now.cut, now.misplaced], ['', ''], 'with a reader\'s spacing');

      await press('Enter');  // on Next
      now = await seen(page);
      const second = now.problem;
      const typed = String(oracle(second, '').answer + 1);
      const wrong = oracle(second, typed);
      assert.notEqual(second, first);
      assert.deepEqual([now.focus, now.buttons, now.answer, now.verdict, now.cut],
        ['txtAnswer', 'cmdSubmit cmdQuit', '', '', '']);
      await page.keyboard.type(typed);
      await page.keyboard.press('Tab');
      // A count too wide for its box, as one of thousands would be, is made smaller to fit.
      await page.evaluate(() => { document.getElementById('lblWrong').style.width = '24px'; });
      await press('Enter');  // on Submit
      now = await seen(page);
      assert.deepEqual([now.verdict, now.right, now.wrong, now.focus, now.cut],
        [wrong.verdict, ' 1', ' 1', 'cmdNext', '']);
      await named({ cmdNext: `${spoken(wrong.verdict)}. Right answers 1, wrong answers 1. Next` });

      await page.keyboard.press('Tab');
      assert.equal((await seen(page)).focus, 'cmdQuit', 'Tab goes from Next to Quit');
      await press(' ');
      if (!page.isClosed()) {
        now = await seen(page);
        assert.deepEqual(now, { ended: 'The practice has ended. Reload the page to start a new one.', focus: 'ended' });
        assert.deepEqual(await audit(page), [], 'axe-core after Quit');
        const left = await page.evaluate(async () => ({
          controls: document.querySelectorAll('button, input, textarea').length,
          loaded: performance.getEntriesByType('resource').map((entry) => entry.name),
          cookie: document.cookie,
          local: localStorage.length,
          session: sessionStorage.length,
          databases: (await indexedDB.databases()).length,
          caches: 'caches' in window ? (await caches.keys()).length : 0,
          // A page opened from a file has no service workers at all.
          workers: await navigator.serviceWorker?.getRegistrations().then((all) => all.length, () => 0) ?? 0,
        }));
        assert.deepEqual(left, { controls: 0, loaded: [], cookie: '', local: 0, session: 0, databases: 0, caches: 0, workers: 0 },
          'no control is left, nothing else was loaded, nothing is stored');
        said.push(...await page.said?.() ?? []);
      }
      assert.deepEqual(requests.filter((url) => url !== pageUrl), [], 'nothing but the page itself was requested');
      assert.deepEqual(said, [], 'the console stayed quiet');
    } finally {
      await browser.close();
    }
  });
}

// A browser without WebAssembly (or one whose policy keeps it from compiling the engine)
// shows one line saying which browsers can run the drill, and nothing to press.
for (const name of ['chromium', 'firefox']) {
  test(`${name}: a browser that cannot run the engine says so`, async () => {
    const browser = await browsers[name].launch();
    try {
      const page = await browser.newPage();
      await page.evaluateOnNewDocument(() => { delete globalThis.WebAssembly; });
      await page.goto(pageUrl);
      assert.deepEqual(await page.evaluate(() => [document.body.innerText.trim().split(/\n+/), document.querySelectorAll('button, input').length]),
        [['Dravlet Problem Practice Version 2.1', 'This browser cannot run Dravlet: it needs Safari 16, Chrome 97, Firefox 102 or Edge 97 or later, with JavaScript on.'], 0]);
      assert.deepEqual(await audit(page), []);
    } finally {
      await browser.close();
    }
  });
}

// The page's policy stops every connection, even one its own script would try.
test('chromium: no connection can leave the page', async () => {
  const browser = await browsers.chromium.launch();
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

// On a phone, zoomed in, and narrowed after it opened (a zoom to 400 %, a phone turned, a
// window made narrow): the whole window in view, nothing scrolling sideways, and a tap on
// Start gives a problem that fits its box.
for (const name of ['chromium', 'firefox']) {
  test(`${name}: on a phone, zoomed in and narrowed, by touch`, async () => {
    const browser = await browsers[name].launch();
    try {
      for (const [viewport, narrowed] of [[{ width: 390, height: 844, isMobile: true, hasTouch: true, deviceScaleFactor: 3 }],
        [{ width: 240, height: 400, deviceScaleFactor: 4 }], [{ width: 1024, height: 768 }, { width: 320, height: 640 }]]) {
        const page = await browser.newPage();
        await page.setViewport(viewport);
        await page.goto(pageUrl);
        const start = await page.waitForSelector('#cmdRun:not([hidden])');
        await (narrowed && page.setViewport(narrowed));
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
        assert.deepEqual(fit, { sideways: false, inView: true, problem: true }, JSON.stringify([viewport, narrowed]));
        await page.close();
      }
    } finally {
      await browser.close();
    }
  });
}

// A platform's page on localhost frames the page (then moves on) or opens it (it quits), gives it scorm-again's SCORM 1.2 run-time (or a failing
// one, or none to another origin) and logs each call. Its package holds the manifest, with one SCO, and the page, byte for byte.
test('the package for learning platforms', () => assert.equal(execFileSync('python3', ['-c', `import sys, zipfile, xml.etree.ElementTree as x
z = zipfile.ZipFile(sys.argv[1]); print(z.namelist(), z.read('dravlet.html') == open(sys.argv[2], 'rb').read(), [r.get('href') for r in
  x.fromstring(z.read('imsmanifest.xml')).iter() if r.get('{http://www.adlnet.org/xsd/adlcp_rootv1p2}scormtype') == 'sco'])`,
pagePath.replace(/dravlet\.html$/, 'dravlet-scorm.zip'), pagePath], { encoding: 'utf8' }), "['imsmanifest.xml', 'dravlet.html'] True ['dravlet.html']\n"));
// A platform keeps its launch's data (preloaded before LMSInitialize, as a platform does): a review, or an attempt resumed with three
// answers; its commit may be a slow request; it may refuse the launch.
const scormAgain = readFileSync(new URL('node_modules/scorm-again/dist/scorm12.js', import.meta.url), 'utf8');
const launched = (setup) => [scormAgain, `(() => { const api = new Scorm12API({}); ${setup}; return api; })()`];
const hosts = { platform: launched(''), failing: ['', '{ LMSInitialize: () => "true", LMSSetValue: () => { throw new Error("down"); } }'],
  refusing: ['', '{ LMSInitialize: () => "false", LMSSetValue: () => "true", LMSFinish: () => "true" }'],
  review: launched('api.loadFromJSON({ core: { lesson_mode: "review", lesson_status: "completed" } })'),
  resume: launched(`api.loadFromJSON({ core: { entry: "resume", lesson_status: "completed" }, interactions: Object.fromEntries([1, 2, 3].map((n) =>
    [n - 1, { id: \`problem-\${n}\`, type: "numeric", student_response: "1", result: "wrong" }])) })`),
  slow: launched('const commit = api.LMSCommit; api.LMSCommit = (...a) => { for (const end = Date.now() + 1000; Date.now() < end;); return commit.apply(api, a); }') };
const server = createHttpServer(({ url }, reply) => {
  const [path, host, how] = url.split(/[?&]/);
  const frame = (src) => `<iframe src="${src}"></iframe>`;
  reply.end(path === '/dravlet.html' ? readFileSync(pagePath) : path === '/player.html' ? frame('/dravlet.html') : `<!DOCTYPE html><meta charset="utf-8">
    <title>Course</title><script>${hosts[host]?.[0]}</script><script>
    window.API = ${hosts[host]?.[1]}; window.calls = []; Object.keys(API).filter((n) => n.startsWith('LMS')).forEach((name) => {
      const call = API[name]; API[name] = (...args) => { const result = call.apply(API, args); calls.push([name, ...args, String(result)]); return result; };
    });</script><button onclick="window.open('${how === 'popup' ? '/player.html' : '/dravlet.html'}')">Open</button>${
    { opener: '', popup: '', deep: frame('/player.html') }[how] ?? frame(`${how}/dravlet.html`)}`);
}).listen(0, '127.0.0.1').unref();
const told = (n, typed, answer, raw) => [['id', `problem-${n + 1}`], ['type', 'numeric'], ['student_response', typed], ['correct_responses.0.pattern', answer],
  ['result', typed === answer ? 'correct' : 'wrong']].map(([e, v]) => [`cmi.interactions.${n}.${e}`, v]).concat([['cmi.core.score.raw', raw], ['cmi.core.score.min',
  '0'], ['cmi.core.score.max', '100'], ['cmi.core.lesson_status', 'completed']]).map((c) => ['LMSSetValue', ...c, 'true']).concat([['LMSCommit', '', 'true']]);
const launch = [['LMSInitialize', '', 'true'], ['LMSGetValue', 'cmi.core.lesson_mode', 'normal'], ['LMSGetValue', 'cmi.interactions._count', '0'],
  ['LMSGetValue', 'cmi.core.lesson_status', 'not attempted'], ['LMSSetValue', 'cmi.core.lesson_status', 'incomplete', 'true']];
// Each row: the browser, the platform, how it shows the page (a frame of its own page, or of another origin; a new window, or one
// holding a player's frame; a player's frame in its page), the wrong answer typed and how it is reported, how many answers.
// Restored from the back-forward cache after the platform was told of the end, the practice shows as ended and calls nothing more.
test('chromium: on a learning platform, back from the back-forward cache', async () => {
  const browser = await browsers.chromium.launch();
  try {
    const course = await browser.newPage();
    await course.goto(`http://127.0.0.1:${server.address().port}/?platform&`);
    await (await (await course.waitForSelector('iframe')).contentFrame()).waitForSelector('#cmdRun:not([hidden])');
    await course.goto(`http://127.0.0.1:${server.address().port}/dravlet.html`).then(() => course.goBack());
    assert.deepEqual(await course.evaluate(() => { const drill = document.querySelector('iframe').contentDocument;
      return [calls.map(([call]) => call).slice(-2), drill.querySelector('#ended').hidden, drill.querySelector('#cmdDravlet')]; }), [['LMSSetValue', 'LMSFinish'], false, null]);
  } finally {
    await browser.close();
  }
});
for (const [name, host, how, wrong, reported, steps = 2] of ['chromium', 'firefox'].flatMap((b) => [[b, 'platform', ''],
  [b, 'platform', 'opener', '33.3', '33.3'], [b, 'failing', ''], [b, 'platform', 'http://localhost:'], [b, 'platform', 'popup'],
  [b, 'platform', 'deep', '9'.repeat(400), '1.7976931348623157e+308'], [b, 'review', ''], [b, 'resume', ''], [b, 'slow', ''],
  [b, 'refusing', ''], [b, 'platform', 'opener', '', '', 0]])) {
  test(`${name}: on a learning platform, ${host} ${how || 'frame'} ${steps} answers`, async () => {
    const browser = await browsers[name].launch();
    try {
      const [course, errors, answers] = [await browser.newPage(), [], []];
      course.on('pageerror', (error) => errors.push(error.message));
      await course.goto(`http://127.0.0.1:${server.address().port}/?${host}&${how.startsWith('http') ? how + server.address().port : how}`);
      const [opened] = ['opener', 'popup'].includes(how) ? await Promise.all([new Promise((popup) => course.once('popup', popup)), course.click('button')]) : [];
      let drill = opened ?? course;
      for (const depth of { popup: [1], deep: [1, 1] }[how] ?? (opened ? [] : [1])) {
        drill = await (await drill.waitForSelector('iframe')).contentFrame();
      }
      const open = Date.now();
      await drill.evaluate(() => new PerformanceObserver((list) => { window.slowest = Math.max(window.slowest ?? 0, ...list.getEntries()
        .filter((e) => e.name === 'click').map((e) => e.duration)); }).observe({ type: 'event', durationThreshold: 16 }));
      const shown = (id) => drill.$eval(`#${id}`, (e) => e.value ?? e.textContent);
      for (const step of [0, 1].slice(0, steps)) {
        await (await drill.waitForSelector(step ? '#cmdNext:not([hidden])' : '#cmdRun:not([hidden])')).click();
        answers.push(String(oracle(await shown('txtProb'), '').answer));
        await drill.type('#txtAnswer', step ? wrong ?? `${answers[1]}1` : answers[0]);
        await drill.click('#cmdSubmit');
        // Painted at once, whatever the platform does meanwhile: the verdict, and the focus on Next.
        assert.deepEqual(await drill.evaluate(() => [document.activeElement.id, document.querySelector('#lblResponse').textContent !== '']), ['cmdNext', true]);
      }
      assert.deepEqual([await shown('lblRight'), await shown('lblWrong'), errors], steps ? [' 1', ' 1', []] : ['0', '0', []]);
      const slowest = await drill.evaluate(() => window.slowest ?? 0);
      await (opened ? drill.click('#cmdQuit') : course.evaluate(() => { document.querySelector('iframe').src = 'about:blank'; }));
      const [calls, time, ids] = await Promise.resolve(!['failing', 'refusing'].includes(host) && !how.startsWith('http')
        && course.waitForFunction(() => calls.at(-1)?.[0] === 'LMSFinish')).then(() => course.evaluate(() => [calls,
        calls.at(-3)?.[2] ?? '0000:00:00.00', API.cmi && Object.values(JSON.parse(JSON.stringify(API.cmi.interactions))).map((i) => i.id)]));
      const [hours, minutes, seconds] = time.split(':').map(Number);
      const written = calls.filter(([call]) => ['LMSSetValue', 'LMSCommit'].includes(call));
      assert.ok(!written.some(([, e]) => e === 'cmi.core.session_time') || Math.abs(3600 * hours + 60 * minutes + seconds - (Date.now() - open) / 1000) < 1, time);
      if (host === 'platform' && steps === 2) {
        assert.deepEqual(calls, how.startsWith('http') ? [] : [...launch, ...told(0, answers[0], answers[0], '100'),
          ...told(1, reported ?? `${answers[1]}1`, answers[1], '50'), ['LMSSetValue', 'cmi.core.session_time', time, 'true'],
          ['LMSSetValue', 'cmi.core.exit', '', 'true'], ['LMSFinish', '', 'true']]);
      } else {
        assert.deepEqual({ failing: () => calls, refusing: () => calls, review: () => written, resume: () => ids.concat(written.filter(([, e]) => e.endsWith('.id'))
          .map(([, e, id]) => `${e} ${id}`)), slow: () => [written.filter(([call]) => call === 'LMSCommit').length, name === 'firefox' || slowest < 200],
        platform: () => written.filter(([, e]) => e === 'cmi.core.lesson_status').map(([, , status]) => status) }[host](),
        { failing: [['LMSInitialize', '', 'true']], refusing: [['LMSInitialize', '', 'false']], review: [], resume: ['problem-1', 'problem-2', 'problem-3',
          'problem-4', 'problem-5', 'cmi.interactions.3.id problem-4', 'cmi.interactions.4.id problem-5'], slow: [2, true], platform: ['incomplete'] }[host]);
      }
    } finally {
      await browser.close();
    }
  });
}

// SPDX-License-Identifier: MIT
// The page's own script: the few DOM operations the engine's control operations come
// down to, and the engine's start once it is loaded. Every rule of the drill is in the
// engine; this only moves texts, focus and visibility.
'use strict';
(() => {
  const control = (name) => document.getElementById(name);
  const smallestPoints = 5;
  const pointStep = 0.25;
  const texts = new Set();
  const changedTexts = new Set();
  const fittedTexts = new Set();
  const names = new Map();
  let fitting = 0;

  // A text too wide or too tall for its box (a long count, or a reader's own line height
  // and spacing) is shown at the largest smaller size that fits, never cut off.
  const fitText = (box) => {
    let points = 0;
    while (box.scrollWidth > box.clientWidth || box.scrollHeight > box.clientHeight) {
      points ||= parseFloat(getComputedStyle(box).fontSize) * 0.75;
      if (points - pointStep < smallestPoints) {
        return;
      }
      points -= pointStep;
      box.style.fontSize = `${points}pt`;
      fittedTexts.add(box);
    }
  };
  const fitChanged = () => {
    changedTexts.forEach(fitText);
    changedTexts.clear();
  };
  // Measured as the next frame is laid out, which it would be anyway, and before it is
  // painted.
  const fitNextFrame = () => {
    if (changedTexts.size > 0 && !fitting) {
      fitting = requestAnimationFrame(() => {
        fitChanged();
        fitting = 0;
      });
    }
  };
  const changed = (box) => {
    // Only a text that was made smaller is put back to its size (touching the style of
    // every text costs the first frame a millisecond or two).
    if (fittedTexts.delete(box)) {
      box.style.fontSize = '';
    }
    texts.add(box);
    changedTexts.add(box);
  };

  const page = {
    text: (name) => control(name).value,
    setText: (name, text) => {
      const box = control(name);
      box.value = text;
      // The problem shows whole; the learner's own box scrolls as it is typed into.
      if (box.readOnly) {
        changed(box);
      }
    },
    setCaption: (name, caption) => {
      const label = control(name);
      if (label.textContent !== caption) {
        label.textContent = caption;
        changed(label);
      }
    },
    name: (name, text) => names.set(name, text),
    setVisible: (name, visible) => { control(name).hidden = !visible; },
    connect: (name, press) => control(name).addEventListener('click', press),
    // Once the engine has done all it does on a press: the focus moves last, so that a
    // screen reader reads the control with what the press wrote into it.
    settle: (focus) => {
      const rename = (name) => {
        control(name).setAttribute('aria-label', names.get(name));
        names.delete(name);
      };
      // The control that takes the focus is renamed before it does, so a reader meets it
      // with its new name and reads it once; any other after the focus has moved, where a
      // reader takes no notice of it (Next, renamed as it hands the focus on). WebKit would
      // still give the focused control's old name: a change of its role attribute (to the
      // role it has anyway, or back) makes the browser give it a new accessible object,
      // whose name is the new one. Nothing is laid out again for that.
      if (names.has(focus)) {
        rename(focus);
        const focused = control(focus);
        if (focused.hasAttribute('role')) {
          focused.removeAttribute('role');
        } else {
          focused.setAttribute('role', focused.localName === 'button' ? 'button' : 'textbox');
        }
      }
      fitNextFrame();
      if (focus) {
        control(focus).focus();
      }
      [...names.keys()].forEach(rename);
    },
    // A page may close only a tab opened by a script or with nothing to go back to
    // (so it tries only then, and the browser logs no refusal); where the tab stays,
    // the window's controls are gone and one line says how to start again.
    end: (closing = true) => {
      control('cmdDravlet').remove();
      if (closing && (window.opener !== null || history.length === 1)) {
        window.close();
      }
      const ended = control('ended');
      ended.hidden = false;
      ended.focus();
    },
  };

  // On a screen narrower than the window (a phone, a window made narrow, a zoom to 400 %)
  // the window is scaled to the width, so nothing is cut off and nothing scrolls sideways.
  // The media query costs nothing where the window fits, as it does on every desktop; on a
  // resize the width itself is read, since Firefox reports the query's new answer only after
  // the resize event.
  const windowWidth = 438 + 24;
  const fitWidth = (narrow) => {
    const practiceWindow = control('cmdDravlet');
    if (practiceWindow) {
      practiceWindow.style.zoom = narrow ? String(document.documentElement.clientWidth / windowWidth) : '';
    }
  };

  // A reader's own line height, letter and word spacing (a style sheet of its own, a reading
  // extension) may come at any time: a hidden sample text of the window's changes size with
  // them, and every text is fitted again, after that layout and before it is painted.
  const spacingSample = document.createElement('span');
  spacingSample.id = 'spacing';
  spacingSample.textContent = 'Ab 1';
  let sampleSize = '';
  const spacingChanged = new ResizeObserver(([{ contentRect }]) => {
    const size = `${contentRect.width} ${contentRect.height}`;
    if (sampleSize !== '' && size !== sampleSize) {
      texts.forEach(changed);
      fitChanged();
    }
    sampleSize = size;
  });

  // A learning platform that launched the page (SCORM 1.2) is told of every answer, and of
  // the end: Quit, or the page going without it. Its run-time is found the standard way: in
  // the parents of the page's window, then in the opener of the top window and its parents,
  // each window looked at on its own (one of another origin is passed over). Without one,
  // with one that fails, or in a review of an earlier attempt, nothing is written; nothing
  // the learner sees waits for it. Nothing about the learner is read.
  const learningPlatform = () => {
    const find = (start) => {
      for (let w = start, level = 0; w && level < 10; w = w.parent === w ? null : w.parent, ++level) {
        try {
          if (w.API) {
            return w.API;
          }
        } catch {
          // another origin's window
        }
      }
      return null;
    };
    let api = find(window.parent === window ? null : window.parent);
    try {
      api ??= find(window.top.opener);
    } catch {
      api = null;
    }
    // What the platform answers, as text; a platform that throws is one no longer called.
    const answer = (name, ...args) => {
      try {
        return api === null ? '' : String(api[name](...args));
      } catch {
        api = null;
        return '';
      }
    };
    const call = (name, ...args) => answer(name, ...args) === 'true';
    const get = (element) => answer('LMSGetValue', element);
    if (!call('LMSInitialize', '')) {
      api = null;
    }
    const started = Date.now();
    // A review or browse of an attempt keeps nothing: the page writes nothing then.
    const writing = !['review', 'browse'].includes(get('cmi.core.lesson_mode'));
    // A resumed attempt keeps its earlier answers: this launch's come after them.
    const earlier = Number.parseInt(get('cmi.interactions._count'), 10) || 0;
    if (writing && !['completed', 'passed'].includes(get('cmi.core.lesson_status'))) {
      call('LMSSetValue', 'cmi.core.lesson_status', 'incomplete');
    }
    let answers = 0;
    let pending = [];
    const send = () => {
      pending.forEach(([element, value]) => call('LMSSetValue', element, value));
      if (pending.length > 0) {
        call('LMSCommit', '');
      }
      pending = [];
    };
    // Numbers as the learner wrote them: the shortest decimal that reads back as the same
    // number, in plain digits where they fit SCORM's 255 characters.
    const decimal = (n) => {
      const [digits, exponent = '0'] = String(n).split('e');
      const [whole, fraction = ''] = digits.replace('-', '').split('.');
      const point = whole.length + Number(exponent);
      const all = '0'.repeat(Math.max(-point, 0)) + (whole + fraction).padEnd(point, '0');
      const at = Math.max(point, 0);
      const plain = `${n < 0 ? '-' : ''}${(all.slice(0, at) || '0').replace(/^0+(?=\d)/, '')}${all.slice(at) ? `.${all.slice(at)}` : ''}`;
      return plain.length <= 255 ? plain : String(n);
    };
    const two = (n) => String(n).padStart(2, '0');
    return {
      // Handed to the platform after the verdict has been painted (a task queued from the
      // next frame runs after its paint), and before the next answer or the end.
      judged: (answer, rightAnswer, right, rightCount, wrongCount) => {
        if (!writing || api === null) {
          return;
        }
        send();
        const interaction = `cmi.interactions.${earlier + answers++}.`;
        pending = [[`${interaction}id`, `problem-${earlier + answers}`], [`${interaction}type`, 'numeric'],
          [`${interaction}student_response`, decimal(answer)], [`${interaction}correct_responses.0.pattern`, decimal(rightAnswer)],
          [`${interaction}result`, right ? 'correct' : 'wrong'],
          ['cmi.core.score.raw', String(Math.round((100 * rightCount) / (rightCount + wrongCount)))],
          ['cmi.core.score.min', '0'], ['cmi.core.score.max', '100'], ['cmi.core.lesson_status', 'completed']];
        requestAnimationFrame(() => setTimeout(send));
      },
      // Once: the platform is not called again after it. Whether there was a session to end.
      finish: () => {
        if (api === null) {
          return false;
        }
        send();
        const hundredths = Math.min(Math.round((Date.now() - started) / 10), 999999999);
        const seconds = Math.floor(hundredths / 100) % 60;
        if (writing) {
          call('LMSSetValue', 'cmi.core.session_time', `${String(Math.floor(hundredths / 360000)).padStart(4, '0')}:`
            + `${two(Math.floor(hundredths / 6000) % 60)}:${two(seconds)}.${two(hundredths % 100)}`);
          call('LMSSetValue', 'cmi.core.exit', '');
        }
        call('LMSFinish', '');
        api = null;
        return true;
      },
    };
  };
  let platform = null;

  const decode = (base64) => {
    const bytes = atob(base64);
    const decoded = new Uint8Array(bytes.length);
    for (let i = 0; i < bytes.length; ++i) {
      decoded[i] = bytes.charCodeAt(i);
    }
    return decoded;
  };

  // The engine, from the bytes the page carries (it may fetch nothing), compiled at once so
  // the window is ready when it is first drawn. Texts cross its memory as UTF-8.
  let engine = null;
  const memory = () => engine.memory.buffer;
  const words = () => new Int32Array(memory());
  const utf8 = new TextDecoder();
  const textAt = (pointer, length) => utf8.decode(new Uint8Array(memory(), pointer, length));
  const newText = (text) => {
    const bytes = new TextEncoder().encode(text);
    const pointer = engine.malloc(bytes.length + 1);
    if (pointer === 0) {
      throw new RangeError('the engine has no memory left for a text');
    }
    const heap = new Uint8Array(memory());
    heap.set(bytes, pointer);
    heap[pointer + bytes.length] = 0;
    return pointer;
  };
  // The C library's few needs from its host, met as Emscripten's own loader meets them
  // (same names and memory layouts): the clock, the local time, no environment, and a
  // memory that does not grow (malloc then fails; the engine needs far less). A toolchain
  // that names them otherwise makes the page fail to start, which the browser test sees.
  const localTime = (time, tm) => {
    const at = words();
    const date = new Date(at[time >> 2] * 1000);
    const yearStart = new Date(date.getFullYear(), 0, 1);
    const summerOffset = new Date(date.getFullYear(), 6, 1).getTimezoneOffset();
    const winterOffset = yearStart.getTimezoneOffset();
    at.set([date.getSeconds(), date.getMinutes(), date.getHours(), date.getDate(), date.getMonth(),
      date.getFullYear() - 1900, date.getDay(), Math.floor((date - yearStart) / 86400000),
      Number(summerOffset !== winterOffset && date.getTimezoneOffset() === Math.min(summerOffset, winterOffset)),
      -60 * date.getTimezoneOffset()], tm >> 2);
  };
  const timeZone = (offset, daylight, names) => {
    const year = new Date().getFullYear();
    const winterOffset = new Date(year, 0, 1).getTimezoneOffset();
    const summerOffset = new Date(year, 6, 1).getTimezoneOffset();
    const name = newText('');
    words().set([60 * Math.max(winterOffset, summerOffset)], offset >> 2);
    words().set([Number(winterOffset !== summerOffset)], daylight >> 2);
    words().set([name, name], names >> 2);
  };
  const clockTime = (clock, time) => {
    const now = clock === 0 ? Date.now() : performance.now();
    words().set([Math.floor(now / 1000), Math.floor((now % 1000) * 1e6)], time >> 2);
    return 0;
  };
  const noEnvironment = (count, size) => {
    words().set([0], count >> 2);
    words().set([0], size >> 2);
    return 0;
  };
  const imports = {
    page: {
      text: (name, length) => newText(page.text(textAt(name, length))),
      setText: (name, length, text, textLength) => page.setText(textAt(name, length), textAt(text, textLength)),
      setCaption: (name, length, text, textLength) => page.setCaption(textAt(name, length), textAt(text, textLength)),
      name: (name, length, text, textLength) => page.name(textAt(name, length), textAt(text, textLength)),
      setVisible: (name, length, visible) => page.setVisible(textAt(name, length), visible !== 0),
      settle: (focus, length) => page.settle(textAt(focus, length)),
      connect: (name, length, handler) => page.connect(textAt(name, length), () => engine?.dravletPress(handler)),
      judged: (...judgement) => platform?.judged(...judgement),
      // The platform hears of the end first: the page may close its window then.
      end: () => {
        engine = null;
        platform?.finish();
        page.end();
      },
    },
    env: {
      _localtime_js: localTime,
      _tzset_js: timeZone,
      clock_gettime: clockTime,
      emscripten_resize_heap: () => 0,
      abort: () => {
        throw new WebAssembly.RuntimeError('the engine stopped');
      },
    },
    wasi_snapshot_preview1: { environ_sizes_get: noEnvironment, environ_get: () => 0 },
  };
  // A browser that cannot run the engine (no WebAssembly, or one its policy keeps from
  // compiling it, as before Safari 16, Chrome 97, Firefox 102) keeps the window hidden and
  // the line that says which browsers can; so does one too old to run this script at all.
  const practiceWindow = control('cmdDravlet');
  try {
    const base64 = control('engine').textContent;
    const bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(base64) : decode(base64);
    engine = new WebAssembly.Instance(new WebAssembly.Module(bytes), imports).exports;
    engine.__wasm_call_ctors();
    practiceWindow.hidden = false;
    engine.dravletStart();
  } catch {
    engine = null;
    practiceWindow.remove();
    return;
  }
  control('unsupported').remove();
  platform = learningPlatform();
  let finished = false;
  addEventListener('pagehide', () => {
    finished ||= platform.finish();
  });
  // Back from the back-forward cache after the practice was handed in to a platform: ended,
  // as after Quit. Without a platform the practice simply goes on.
  addEventListener('pageshow', ({ persisted }) => {
    if (persisted && finished && engine !== null) {
      engine = null;
      page.end(false);
    }
  });
  practiceWindow.append(spacingSample);
  spacingChanged.observe(spacingSample);
  addEventListener('resize', () => fitWidth(document.documentElement.clientWidth < windowWidth));
  if (matchMedia(`(max-width: ${windowWidth - 1}px)`).matches) {
    fitWidth(true);
  }
})();

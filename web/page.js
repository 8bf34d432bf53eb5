// The page's own script: the few DOM operations the engine's control operations come
// down to, and the engine's start once it is loaded. Every rule of the drill is in the
// engine; this only moves texts, focus and visibility.
'use strict';
(() => {
  const control = (name) => document.getElementById(name);
  const smallestPoints = 5;
  const pointStep = 0.25;
  const changedCaptions = new Set();
  let problemChanged = false;
  let fitting = 0;

  // A caption too wide for its box is shown at the largest smaller size that fits,
  // never cut off.
  const fitCaption = (label) => {
    let points = parseFloat(getComputedStyle(label).fontSize) * 0.75;
    while (label.scrollWidth > label.clientWidth && points - pointStep >= smallestPoints) {
      points -= pointStep;
      label.style.fontSize = `${points}pt`;
    }
  };

  const page = {
    text: (name) => control(name).value,
    setText: (name, text) => {
      control(name).value = text;
      problemChanged ||= name === 'txtProb';
    },
    setCaption: (name, caption) => {
      const label = control(name);
      if (label.textContent !== caption) {
        label.textContent = caption;
        label.style.fontSize = '';
        changedCaptions.add(label);
      }
    },
    describe: (name, description) => {
      control(control(name).getAttribute('aria-describedby')).textContent = description;
    },
    setVisible: (name, visible) => { control(name).hidden = !visible; },
    connect: (name, press) => control(name).addEventListener('click', press),
    // Once the engine has done all it does on a press: the focus moves last, so that a
    // screen reader reads the control with what the press wrote into it.
    settle: (focus) => {
      if (problemChanged) {
        // The answer box is described by the problem it answers, so a screen reader reads
        // the problem when the focus comes to the box, and again on "where am I". The box
        // leaves the page and comes back: the reader meets it as a new control when the
        // focus arrives and reads it with its new problem once (a changed description of
        // the focused box would be read a second time).
        const answerBox = control('txtAnswer');
        answerBox.setAttribute('aria-describedby', 'txtProb');
        answerBox.hidden = true;
        void getComputedStyle(answerBox).display;
        answerBox.hidden = false;
        problemChanged = false;
      }
      // Measured as the next frame is laid out, which it would be anyway, and before it
      // is painted.
      if (changedCaptions.size > 0 && !fitting) {
        fitting = requestAnimationFrame(() => {
          changedCaptions.forEach(fitCaption);
          changedCaptions.clear();
          fitting = 0;
        });
      }
      if (focus) {
        control(focus).focus();
      }
    },
    // A page may close only a tab opened by a script or with nothing to go back to
    // (so it tries only then, and the browser logs no refusal); where the tab stays,
    // the window's controls are gone and one line says how to start again.
    end: () => {
      control('cmdDravlet').remove();
      if (window.opener !== null || history.length === 1) {
        window.close();
      }
      const ended = control('ended');
      ended.hidden = false;
      ended.focus();
    },
  };

  // On a screen narrower than the window (a phone) the window is scaled to the width,
  // so nothing is cut off and nothing scrolls sideways. The media query costs nothing
  // where the window fits, as it does on every desktop.
  const windowWidth = 438 + 24;
  const narrow = matchMedia(`(max-width: ${windowWidth - 1}px)`);
  const fitWidth = () => {
    const practiceWindow = control('cmdDravlet');
    if (practiceWindow) {
      practiceWindow.style.zoom = narrow.matches ? String(document.documentElement.clientWidth / windowWidth) : '';
    }
  };

  const decode = (base64) => {
    const bytes = atob(base64);
    const decoded = new Uint8Array(bytes.length);
    for (let i = 0; i < bytes.length; ++i) {
      decoded[i] = bytes.charCodeAt(i);
    }
    return decoded;
  };
  // Compiled at once, so the window is ready when it is first drawn. The engine's bytes
  // are handed over, since the page may fetch nothing.
  const instantiateWasm = (imports, receive) => {
    const base64 = control('engine').textContent;
    const bytes = Uint8Array.fromBase64 ? Uint8Array.fromBase64(base64) : decode(base64);
    const instance = new WebAssembly.Instance(new WebAssembly.Module(bytes), imports);
    receive(instance);
    return instance.exports;
  };
  Dravlet({ instantiateWasm, page }).then((engine) => {
    addEventListener('resize', fitWidth);
    if (narrow.matches) {
      fitWidth();
    }
    engine._dravletStart();
  });
})();

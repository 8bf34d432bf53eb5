// The page's own script: the few DOM operations the engine's control operations come
// down to, and the engine's start once it is loaded. Every rule of the drill is in the
// engine; this only moves texts, focus and visibility.
'use strict';
(() => {
  const control = (name) => document.getElementById(name);
  const practiceWindow = control('cmdDravlet');
  const answerBox = control('txtAnswer');
  const smallestPoints = 5;
  const pointStep = 0.25;

  // A caption too wide for its box is shown at the largest smaller size that fits,
  // never cut off.
  const fitCaption = (label) => {
    label.style.fontSize = '';
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
      if (name === 'txtProb') {
        // The answer box is described by the problem it answers, so a screen reader reads
        // the problem when the focus comes to the box, and again on "where am I". The box
        // leaves the layout and comes back: the reader meets it as a new control when the
        // focus arrives and reads it with its new problem once (a changed description of
        // the focused box would be read a second time).
        answerBox.setAttribute('aria-describedby', name);
        answerBox.hidden = true;
        void answerBox.offsetHeight;
        answerBox.hidden = false;
      }
    },
    setCaption: (name, caption) => {
      const label = control(name);
      if (label.textContent !== caption) {
        label.textContent = caption;
        fitCaption(label);
      }
    },
    describe: (name, description) => {
      control(control(name).getAttribute('aria-describedby')).textContent = description;
    },
    setVisible: (name, visible) => { control(name).hidden = !visible; },
    focus: (name) => control(name).focus(),
    connect: (name, press) => control(name).addEventListener('click', press),
    // A page may close only a tab opened by a script or with nothing to go back to
    // (so it tries only then, and the browser logs no refusal); where the tab stays,
    // the window's controls are gone and one line says how to start again.
    end: () => {
      practiceWindow.remove();
      if (window.opener !== null || history.length === 1) {
        window.close();
      }
      const ended = control('ended');
      ended.hidden = false;
      ended.focus();
    },
  };

  // On a screen narrower than the window (a phone) the window is scaled to the width,
  // so nothing is cut off and nothing scrolls sideways.
  const fitWidth = () => {
    const room = document.documentElement.clientWidth;
    practiceWindow.style.zoom = room < practiceWindow.offsetWidth + 2 ? String(room / (practiceWindow.offsetWidth + 2)) : '';
  };
  addEventListener('resize', fitWidth);
  fitWidth();

  const wasmBinary = Uint8Array.from(atob(dravletEngine), (c) => c.charCodeAt(0));
  Dravlet({ wasmBinary, page }).then((engine) => engine._dravletStart());
})();

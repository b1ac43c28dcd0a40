// A gamepad for a headless browser, which has none: evaluated in the page before its
// own scripts (Page.addScriptToEvaluateOnNewDocument), it answers
// navigator.getGamepads() with one standard-mapping pad in slot 0 while plugged, and
// sends "gamepadconnected" and "gamepaddisconnected" as a browser does. Like a real
// one, each state is a new snapshot whose timestamp moves on when the state changes.
//
// window.testPad:
//   plug(), unplug()        in or out now, with its event;
//   hold({ buttons, axes }) the standard buttons held (indices) and the axes;
//   follow(runs)            a timeline of the game's frames: [frames, state] runs,
//                           state as for hold() or 'unplugged', each applied as its
//                           first frame begins (call it before the page's scripts).
(function () {
  'use strict';
  const BUTTONS = 17;  // the standard mapping's
  const AXES = 4;
  const SLOTS = 4;  // Chromium always answers four slots, empty ones null
  let plugged = false;
  let held = { buttons: [], axes: [] };
  let snapshot = null;
  let timeline = null;
  let following = null;  // the run of the timeline now applied
  let turns = 0;

  function takeSnapshot() {
    const buttons = [];
    for (let i = 0; i < BUTTONS; ++i) {
      const pressed = held.buttons.includes(i);
      buttons.push(Object.freeze({ pressed, touched: pressed, value: pressed ? 1 : 0 }));
    }
    const axes = [];
    for (let i = 0; i < AXES; ++i) axes.push(held.axes[i] || 0);
    // A timestamp that never repeats, even for two changes within one clock tick.
    const timestamp = Math.max(performance.now(), snapshot ? snapshot.timestamp + 0.001 : 0);
    snapshot = Object.freeze({
      id: 'Test pad (STANDARD GAMEPAD Vendor: 0000 Product: 0000)', index: 0, connected: plugged,
      mapping: 'standard', timestamp, buttons: Object.freeze(buttons), axes: Object.freeze(axes),
      vibrationActuator: null,
    });
  }

  // The event goes out once the code that changed the pad has returned, as a
  // browser's comes between the page's tasks: never inside a call of the game's.
  function announce(type) {
    const pad = snapshot;
    queueMicrotask(() => {
      const event = new Event(type);
      Object.defineProperty(event, 'gamepad', { value: pad });
      window.dispatchEvent(event);
    });
  }

  function plug() {
    if (plugged) return;
    plugged = true;
    takeSnapshot();
    announce('gamepadconnected');
  }

  function unplug() {
    if (!plugged) return;
    plugged = false;
    takeSnapshot();
    announce('gamepaddisconnected');
  }

  function hold(state) {
    held = { buttons: state.buttons || [], axes: state.axes || [] };
    takeSnapshot();
  }

  function applyTimeline() {
    let end = 0;
    let run = null;
    for (const r of timeline) {
      end += r[0];
      if (turns <= end) {
        run = r;
        break;
      }
    }
    if (!run || run === following) return;
    following = run;
    if (run[1] === 'unplugged') {
      unplug();
    } else {
      hold(run[1]);
      plug();
    }
  }

  // The game counts the frames it begins in Module.torvTurns, whether it reads the
  // pad or not (with none plugged in it does not): the page's Module object, once
  // page.js makes it, has the count kept here.
  function countTurns(module) {
    Object.defineProperty(module, 'torvTurns', {
      configurable: true,
      enumerable: true,
      get: () => turns,
      set: (n) => {
        turns = n;
        applyTimeline();
      },
    });
  }

  Object.defineProperty(navigator, 'getGamepads', {
    configurable: true,
    value: function getGamepads() {
      const slots = new Array(SLOTS).fill(null);
      if (plugged) slots[0] = snapshot;
      return slots;
    },
  });

  window.testPad = {
    plug,
    unplug,
    hold,
    follow(runs) {
      timeline = runs;
      let module;
      Object.defineProperty(window, 'Module', {
        configurable: true,
        get: () => module,
        set: (m) => {
          module = m;
          if (m && typeof m === 'object') countTurns(m);
        },
      });
      applyTimeline();
    },
  };
})();

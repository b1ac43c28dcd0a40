// Compiled into torv.js ahead of the runtime (--pre-js): the module's side of the
// page. page.js fetches the data package and an optional input script and hands
// them over as Module.torvFiles (a promise of [{name, bytes}], [script text or null]);
// here they become files before main() starts.
//
// The player's files: "save.dat" and "Setting.ini" are written in /save/torv, a
// folder kept in the browser's IndexedDB. It is read in before main() starts and
// written back after every write the game makes (both files are written to a
// temporary name and renamed into place: the rename is the write's end).
Module.preRun = Module.preRun || [];
Module.preRun.push(function () {
  // The desktop's rules put the player's files in $XDG_DATA_HOME/torv.
  ENV.XDG_DATA_HOME = '/save';
  // SDL's software renderer into a 2D canvas: exact pixels (WebGL's nearest
  // sampling picks a neighbouring texel here and there) and no dependence on the
  // machine's GPU.
  ENV.SDL_RENDER_DRIVER = 'software';
  FS.mkdir('/save');
  FS.mount(IDBFS, {}, '/save');
  addRunDependency('torv-saves');
  FS.syncfs(true, function (err) {
    if (err) console.warn('saves: IndexedDB cannot be read (' + err + '); saves last only until the page closes');
    removeRunDependency('torv-saves');
  });
  var rename = FS.rename;
  FS.rename = function (from, to) {
    var result = rename.apply(FS, arguments);
    if (String(to).indexOf('/save/') === 0) Module.torvFlushSaves();
    return result;
  };

  addRunDependency('torv-data');
  Module.torvFiles.then(function (loaded) {
    var files = loaded[0];
    var script = loaded[1];
    FS.mkdir('/data');
    files.forEach(function (f) { FS.writeFile('/data/' + f.name, f.bytes); });
    if (script !== null) {
      FS.writeFile('/tmp/input-script.txt', script);
      Module.arguments.push('--script', '/tmp/input-script.txt');
    }
    removeRunDependency('torv-data');
  }, function () {
    // page.js has said what failed; the game does not start.
  });
});

// One write-back at a time, covering every write asked for before it began; a write
// asked for meanwhile starts another after it. The tests wait for done === asked.
Module.torvSaves = { asked: 0, done: 0, failed: 0, busy: false };
Module.torvFlushSaves = function () {
  var s = Module.torvSaves;
  s.asked++;
  (function start() {
    if (s.busy || s.done === s.asked) return;
    s.busy = true;
    var upTo = s.asked;
    FS.syncfs(false, function (err) {
      if (err) {
        s.failed++;
        console.warn('saves: IndexedDB cannot be written (' + err + ')');
      }
      s.busy = false;
      s.done = upTo;
      start();
    });
  })();
};

// Returns to the event loop without a timer's delay (timers nested in timers wait
// at least 4 ms): a message to ourselves.
Module.torvYieldNow = (function () {
  var waiting = [];
  var channel = new MessageChannel();
  channel.port1.onmessage = function () { waiting.shift()(); };
  return function (resume) {
    waiting.push(resume);
    channel.port2.postMessage(0);
  };
})();

// Frames begun (web/frame_timer_web.cpp).
Module.torvTurns = 0;

// Each frame's cost in milliseconds (web/library.js, web/frame_timer_web.cpp), for
// the benchmarks and tests; firstAt: when the first frame was done, in ms from the
// page's navigation.
Module.torvFrames = {
  samples: [],
  firstAt: 0,
  record: function (ms) {
    if (!this.firstAt) this.firstAt = performance.now();
    if (this.samples.length < 1000000) this.samples.push(ms);
  },
};

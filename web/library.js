// Compiled into torv.js (--js-library): how the game returns to the browser's event
// loop once a frame (web/frame_timer_web.cpp) and comes back.
mergeInto(LibraryManager.library, {
  torv_yield__deps: ['$Asyncify'],
  torv_yield__sig: 'vi',
  torv_yield: function (ms) {
    return Asyncify.handleSleep(function (wakeUp) {
      function resume() {
        // The rewind, the frame's work and the next unwind: one frame's cost.
        var started = performance.now();
        wakeUp();
        Module.torvFrames.record(performance.now() - started);
        // main() has returned: the game was closed from its menu or its script ended.
        if (!Asyncify.currData && Module.torvEnded) Module.torvEnded();
      }
      if (ms > 0) setTimeout(resume, ms);
      else Module.torvYieldNow(resume);
    });
  },
});

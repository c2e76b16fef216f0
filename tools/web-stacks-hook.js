// Linked into the page's program by the web-stacks preset only: at each wait (a box's exec, a
// drag's loop) the stack goes to the console by name, for tools/web-stacks-check.js.
(function () {
  var handleSleep = Asyncify.handleSleep;
  Asyncify.handleSleep = function (startAsync) {
    if (Asyncify.state === Asyncify.State.Normal) {
      Error.stackTraceLimit = Infinity;
      console.log('asyncify-stack\n' + new Error().stack);
    }
    return handleSleep(startAsync);
  };
})();

// Linked after the runtime of every page (kiva_add_web_page): lets a program
// end as a program does. Under Asyncify a main that has waited once returns
// to nobody (the runtime took its first return for the end of the run and
// kept going), so its status is taken when its last wait is over: the
// runtime then exits, runs the program's exit handlers and tells
// Module.onExit; an exception leaving main aborts, as it would natively.
// Until then the runtime is kept alive: a last wait that ends in a timer's
// callback (a pause, then a read of a line typed ahead) would otherwise let
// the runtime exit there, with no status, before main's status arrives.
(function () {
  var main = Module['_main'];
  Module['_main'] = function (argc, argv) {
    var status = main(argc, argv);
    if (Asyncify.currData) {
      runtimeKeepalivePush();
      Asyncify.whenDone().then(function (status) {
        runtimeKeepalivePop();
        try {
          exit(status);
        } catch (e) {
          handleException(e);  // the ExitStatus that exit throws ends the run here
        }
      }, function (error) { abort(error); });
    }
    return status;
  };
})();

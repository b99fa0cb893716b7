// Linked after the runtime of every page (kiva_add_web_page): lets a program
// end as a program does. Under Asyncify a main that has waited once returns
// to nobody (the runtime took its first return for the end of the run and
// kept going), so its status is taken when its last wait is over: the
// runtime then exits, runs the program's exit handlers and tells
// Module.onExit; an exception leaving main aborts, as it would natively.
(function () {
  var main = Module['_main'];
  Module['_main'] = function (argc, argv) {
    var status = main(argc, argv);
    if (Asyncify.currData) {
      Asyncify.whenDone().then(function (status) { exit(status); }, function (error) { abort(error); });
    }
    return status;
  };
})();

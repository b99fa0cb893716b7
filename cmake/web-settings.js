// Linked before the runtime of every page (kiva_add_web_page): the page's
// URL query is the program's environment, as the shell's is for a program
// run from it: page.html?GRAPHICS_TIME=virtual&GRAPHICS_FPS=30 sets those
// two variables. The input script a query names (GRAPHICS_INPUT) is fetched
// from that path relative to the page, unless the program's files already
// hold one there, and put at that path before the program starts; the
// folders of the files a query names to be written (GRAPHICS_SNAPSHOT,
// GRAPHICS_RECORD, GRAPHICS_PRINT_FILE) are made. Module.FS is the
// program's file system, for the page to read what the program wrote.
Module['preRun'] = [].concat(Module['preRun'] || []);
Module['preRun'].push(function () {
  Module['FS'] = FS;
  if (typeof location === 'undefined') return;
  var query = new URLSearchParams(location.search);
  query.forEach(function (value, name) { ENV[name] = value; });
  var absolute = function (path) { return path.charAt(0) === '/' ? path : '/' + path; };
  ['GRAPHICS_SNAPSHOT', 'GRAPHICS_RECORD', 'GRAPHICS_PRINT_FILE'].forEach(function (name) {
    var path = query.get(name);
    var folder = path ? absolute(path).replace(/\/[^\/]*$/, '') : '';
    if (folder) FS.mkdirTree(folder);
  });
  var input = query.get('GRAPHICS_INPUT');
  if (!input || FS.analyzePath(absolute(input)).exists) return;
  addRunDependency('GRAPHICS_INPUT');
  fetch(input).then(function (response) {
    if (!response.ok) throw new Error(response.status + ' ' + response.statusText);
    return response.arrayBuffer();
  }).then(function (bytes) {
    var path = absolute(input);
    FS.mkdirTree(path.replace(/\/[^\/]*$/, '') || '/');
    FS.writeFile(path, new Uint8Array(bytes));
  }, function (error) {
    // The program says it cannot read the script, as it does for a missing file.
    console.error('cannot fetch the input script ' + input + ': ' + error.message);
  }).then(function () { removeRunDependency('GRAPHICS_INPUT'); });
});

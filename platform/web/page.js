// page.js - the page's side of the web display (display_web.cpp) and of the
// console, linked into every program of the web build (--js-library).
//
// Each window is a frame on the page (.kiva-window in #kiva-screen, or the
// body): a title bar with the window's title, a close box (.kiva-close) and
// a link that downloads the picture shown (.kiva-snapshot), above a canvas
// of the client area's size. Input that arrives for the windows waits in
// one queue until the program takes it; a program waiting for input or for
// time sleeps through Asyncify, woken by the next event or its timeout.
// Keys go to the active window (the one last opened, shown or clicked)
// unless an input element of the page has the focus.
//
// Standard input is the page's input line (#kiva-input, made when the page
// has none): each line typed there and ended with Enter is what the
// program reads next; Ctrl+D in it ends the input. A program that reads an
// empty standard input sleeps until a line comes.

mergeInto(LibraryManager.library, {
  $KivaPage__deps: ['$FS'],
  $KivaPage__postset: 'KivaPage.startConsoleWhenLoaded();',
  $KivaPage: {
    windows: {},      // id -> {frame, canvas, title}
    events: [],       // what the program has not taken yet
    wake: null,       // wakes a sleeping wait for an event
    active: 0,        // the window that keys go to
    captured: 0,      // the window a held button was pressed in
    modifiers: 0,     // keyboard::Modifier bits of the last input
    stdin: [],        // bytes typed and not yet read
    stdinEnded: false,
    stdinWake: null,
    started: false,
    presented: 0,         // pictures put on any canvas
    firstPresentMs: null, // performance.now() of the first

    screen: function() {
      return document.getElementById('kiva-screen') || document.body;
    },
    push: function(event) {
      KivaPage.events.push(event);
      var wake = KivaPage.wake;
      KivaPage.wake = null;
      if (wake) wake();
    },
    // The keyboard::Modifier bits of a DOM event.
    modifiersOf: function(e) {
      var bits = (e.shiftKey ? 1 : 0) | (e.ctrlKey ? 2 : 0) | (e.altKey ? 4 : 0);
      if (e.getModifierState && e.getModifierState('CapsLock')) bits |= 8;
      if (e.getModifierState && e.getModifierState('NumLock')) bits |= 16;
      return bits;
    },
    typing: function(e) {
      var t = e.target;
      return t && (t.tagName === 'INPUT' || t.tagName === 'TEXTAREA' || t.isContentEditable);
    },
    key: function(e, down) {
      if (!KivaPage.active || KivaPage.typing(e) || document.querySelector('.kiva-message')) return;
      e.preventDefault();
      KivaPage.modifiers = KivaPage.modifiersOf(e);
      KivaPage.push({kind: 0, window: KivaPage.active, code: e.code || '', modifiers: KivaPage.modifiers,
                     down: down, repeat: !!e.repeat});
    },
    // The window a pointer event belongs to and its client position.
    pointer: function(e, id) {
      var w = KivaPage.windows[id];
      var box = w.canvas.getBoundingClientRect();
      return {x: Math.floor(e.clientX - box.left), y: Math.floor(e.clientY - box.top)};
    },
    start: function() {
      if (KivaPage.started) return;
      KivaPage.started = true;
      document.addEventListener('keydown', function(e) { KivaPage.key(e, true); });
      document.addEventListener('keyup', function(e) { KivaPage.key(e, false); });
      // A button held down keeps sending to its window, inside it or not.
      document.addEventListener('mousemove', function(e) {
        if (!KivaPage.captured || !KivaPage.windows[KivaPage.captured]) return;
        var p = KivaPage.pointer(e, KivaPage.captured);
        KivaPage.push({kind: 2, window: KivaPage.captured, x: p.x, y: p.y});
      });
      document.addEventListener('mouseup', function(e) {
        var id = KivaPage.captured;
        if (!id || !KivaPage.windows[id]) return;
        if (e.buttons === 0) KivaPage.captured = 0;
        var p = KivaPage.pointer(e, id);
        KivaPage.push({kind: 1, window: id, button: e.button, down: false, x: p.x, y: p.y});
      });
      KivaPage.startConsole();
      KivaPage.watchFiles();
    },
    // A file the program writes into the folder it runs in (the file
    // system's root), or puts in place there, reaches the user as a
    // download once the program lets the browser run: a picture SavePng
    // saved, a PDF file printed to, a recording. Files in folders below
    // (snapshots in a folder of their own, say) stay in the page's files,
    // as do files that no longer exist by then (a file written aside and
    // renamed over its target).
    watchFiles: function() {
      var due = {}, timer = null;
      var offer = function(path) {
        if (path.charAt(0) !== '/') path = FS.cwd().replace(/\/$/, '') + '/' + path;  // as the program named it
        if (!/^\/[^\/]+$/.test(path) || path.charAt(1) === '.') return;
        due[path] = true;
        if (timer === null) timer = setTimeout(function() {
          timer = null;
          var paths = Object.keys(due);
          due = {};
          paths.forEach(function(p) {
            var found = FS.analyzePath(p);
            if (!found.exists || !FS.isFile(found.object.mode)) return;
            var name = p.substring(1);
            var type = /\.png$/i.test(name) ? 'image/png' : /\.pdf$/i.test(name) ? 'application/pdf'
                                                                                   : 'application/octet-stream';
            KivaPage.download(name, FS.readFile(p), type);
          });
        }, 0);
      };
      var write = FS.write, close = FS.close, rename = FS.rename;
      FS.write = function(stream) {
        stream.kivaWritten = true;
        return write.apply(FS, arguments);
      };
      FS.close = function(stream) {
        var result = close.apply(FS, arguments);
        if (stream.kivaWritten && stream.path) offer(stream.path);
        return result;
      };
      FS.rename = function(from, to) {
        var result = rename.apply(FS, arguments);
        offer(to);
        return result;
      };
    },
    download: function(name, bytes, type) {
      var link = document.createElement('a');
      link.href = URL.createObjectURL(new Blob([bytes], {type: type}));
      link.download = name;
      link.className = 'kiva-download';
      document.body.appendChild(link);
      link.click();
      link.remove();
    },
    // The input line listens from the moment the page is read: a line typed
    // and ended before the program starts (or while its module loads) is
    // what it reads first.
    startConsoleWhenLoaded: function() {
      if (typeof document === 'undefined') return;
      if (document.getElementById('kiva-input') || document.readyState !== 'loading') {
        KivaPage.startConsole();
      } else {  // a page of one's own without the line, still being read
        document.addEventListener('DOMContentLoaded', function() { KivaPage.startConsole(); });
      }
    },
    consoleStarted: false,
    startConsole: function() {
      if (KivaPage.consoleStarted) return;
      KivaPage.consoleStarted = true;
      var line = document.getElementById('kiva-input');
      if (!line) {
        line = document.createElement('input');
        line.id = 'kiva-input';
        line.placeholder = 'standard input: type a line and Enter';
        document.body.appendChild(line);
      }
      line.addEventListener('keydown', function(e) {
        if (e.key === 'Enter') {
          e.preventDefault();
          var text = line.value;
          line.value = '';
          if (Module['print']) Module['print'](text);  // the echo a terminal gives
          var bytes = intArrayFromString(text + '\n', true);
          for (var i = 0; i < bytes.length; ++i) KivaPage.stdin.push(bytes[i]);
          KivaPage.wakeStdin();
        } else if (e.key === 'd' && e.ctrlKey) {
          e.preventDefault();
          KivaPage.stdinEnded = true;
          KivaPage.wakeStdin();
        }
      });
    },
    wakeStdin: function() {
      var wake = KivaPage.stdinWake;
      KivaPage.stdinWake = null;
      if (wake) wake();
    },
    flushOutput: function() {
      // A question without its line's end is shown before the answer is awaited.
      [1, 2].forEach(function(fd) {
        var stream = FS.getStream(fd);
        if (stream && stream.tty && stream.tty.output && stream.tty.output.length) stream.tty.ops.flush(stream.tty);
      });
    },
  },

  kiva_page_start__deps: ['$KivaPage'],
  kiva_page_start: function() {
    KivaPage.start();
    Module['kivaPage'] = KivaPage;
  },

  kiva_window_open__deps: ['$KivaPage'],
  kiva_window_open: function(id, title, width, height) {
    KivaPage.start();
    var frame = document.createElement('div');
    frame.className = 'kiva-window';
    frame.id = 'kiva-window-' + id;
    frame.style.display = 'none';
    frame.style.width = width + 'px';
    var bar = document.createElement('div');
    bar.className = 'kiva-title-bar';
    var name = document.createElement('span');
    name.className = 'kiva-title';
    name.textContent = UTF8ToString(title);
    var snapshot = document.createElement('a');
    snapshot.className = 'kiva-snapshot';
    snapshot.textContent = 'snapshot';
    snapshot.href = '#';
    var close = document.createElement('button');
    close.className = 'kiva-close';
    close.title = 'Close';
    close.textContent = '\u00d7';
    bar.appendChild(name);
    bar.appendChild(snapshot);
    bar.appendChild(close);
    var canvas = document.createElement('canvas');
    canvas.className = 'kiva-canvas';
    canvas.width = width;
    canvas.height = height;
    canvas.tabIndex = 0;
    frame.appendChild(bar);
    frame.appendChild(canvas);
    KivaPage.screen().appendChild(frame);
    KivaPage.windows[id] = {frame: frame, canvas: canvas, title: name};

    close.addEventListener('click', function() { KivaPage.push({kind: 4, window: id}); });
    snapshot.addEventListener('click', function(e) {
      e.preventDefault();
      canvas.toBlob(function(blob) {
        var link = document.createElement('a');
        link.href = URL.createObjectURL(blob);
        link.download = (name.textContent || 'window') + '.png';
        document.body.appendChild(link);
        link.click();
        link.remove();
      }, 'image/png');
    });
    canvas.addEventListener('contextmenu', function(e) { e.preventDefault(); });
    canvas.addEventListener('mousedown', function(e) {
      e.preventDefault();
      KivaPage.active = id;
      KivaPage.captured = id;
      KivaPage.modifiers = KivaPage.modifiersOf(e);
      if (document.activeElement && document.activeElement.blur) document.activeElement.blur();
      var p = KivaPage.pointer(e, id);
      KivaPage.push({kind: 1, window: id, button: e.button, down: true, x: p.x, y: p.y});
    });
    canvas.addEventListener('mousemove', function(e) {
      if (KivaPage.captured) return;  // sent by the document's listener
      var p = KivaPage.pointer(e, id);
      KivaPage.push({kind: 2, window: id, x: p.x, y: p.y});
    });
    canvas.addEventListener('wheel', function(e) {
      e.preventDefault();
      if (e.deltaY !== 0) KivaPage.push({kind: 3, window: id, wheel: e.deltaY < 0 ? 1 : -1});
    }, {passive: false});
  },

  kiva_window_close__deps: ['$KivaPage'],
  kiva_window_close: function(id) {
    var w = KivaPage.windows[id];
    if (!w) return;
    w.frame.remove();
    delete KivaPage.windows[id];
    if (KivaPage.active === id) KivaPage.active = 0;
    if (KivaPage.captured === id) KivaPage.captured = 0;
  },

  kiva_window_visible__deps: ['$KivaPage'],
  kiva_window_visible: function(id, visible) {
    var w = KivaPage.windows[id];
    if (!w) return;
    w.frame.style.display = visible ? '' : 'none';
    if (!visible) return;
    KivaPage.active = id;
    // Keys go to the window shown, not to the input line typed in last.
    var focused = document.activeElement;
    if (focused && focused.id === 'kiva-input') focused.blur();
  },

  kiva_window_title__deps: ['$KivaPage'],
  kiva_window_title: function(id, title) {
    var w = KivaPage.windows[id];
    if (w) w.title.textContent = UTF8ToString(title);
  },

  // Puts [x0, x1) x [y0, y1) of the width x height RGBA pixels at `rgba` on
  // the window's canvas.
  kiva_window_present__deps: ['$KivaPage'],
  kiva_window_present: function(id, rgba, width, height, x0, y0, x1, y1) {
    var w = KivaPage.windows[id];
    if (!w) return;
    if (!w.context) w.context = w.canvas.getContext('2d');
    var pixels = new Uint8ClampedArray(HEAPU8.buffer, rgba, width * height * 4);
    w.context.putImageData(new ImageData(pixels, width, height), 0, 0, x0, y0, x1 - x0, y1 - y0);
    // For the page and its measurements: how often, and since when, it was shown.
    if (!KivaPage.presented++) KivaPage.firstPresentMs = performance.now();
    w.canvas.dataset.presented = (+w.canvas.dataset.presented || 0) + 1;
  },

  // Takes the oldest event into fields[10] (kind, window, down, repeat,
  // modifiers, button, x, y, wheel) and its key's code into `code`; 0 when
  // none waits.
  kiva_next_event__deps: ['$KivaPage'],
  kiva_next_event: function(fields, code, codeSize) {
    var e = KivaPage.events.shift();
    if (!e) return 0;
    var values = [e.kind, e.window, e.down ? 1 : 0, e.repeat ? 1 : 0, e.modifiers || 0, e.button || 0,
                  e.x || 0, e.y || 0, e.wheel || 0];
    for (var i = 0; i < values.length; ++i) HEAP32[(fields >> 2) + i] = values[i];
    stringToUTF8(e.code || '', code, codeSize);
    return 1;
  },

  // Sleeps until an event waits or `timeoutMs` pass (negative: no limit).
  kiva_wait_event__deps: ['$KivaPage'],
  kiva_wait_event: function(timeoutMs) {
    return Asyncify.handleSleep(function(wakeUp) {
      if (KivaPage.events.length) return wakeUp(0);
      var timer = null;
      KivaPage.wake = function() {
        if (timer !== null) clearTimeout(timer);
        wakeUp(0);
      };
      if (timeoutMs >= 0) {
        timer = setTimeout(function() {
          KivaPage.wake = null;
          wakeUp(0);
        }, timeoutMs);
      }
    });
  },

  kiva_modifiers__deps: ['$KivaPage'],
  kiva_modifiers: function() { return KivaPage.modifiers; },

  kiva_desktop_width: function() { return window.screen.width; },
  kiva_desktop_height: function() { return window.screen.height; },

  // A message box: an overlay over the page with the text and an OK
  // button (.kiva-message), which the program waits for.
  kiva_message_box__deps: ['$KivaPage'],
  kiva_message_box: function(kind, title, text) {
    return Asyncify.handleSleep(function(wakeUp) {
      var overlay = document.createElement('div');
      overlay.className = 'kiva-message';
      overlay.setAttribute('role', 'alertdialog');
      overlay.style.cssText = 'position:fixed;inset:0;background:rgba(0,0,0,0.4);display:flex;' +
                              'align-items:center;justify-content:center;z-index:10';
      var box = document.createElement('div');
      box.className = 'kiva-message-box kiva-' + ['information', 'warning', 'error'][kind];
      box.style.cssText = 'background:#f0f0f0;color:#000;padding:12px 16px;min-width:240px;' +
                          'font:14px sans-serif;border:1px solid #888';
      var heading = document.createElement('div');
      heading.className = 'kiva-message-title';
      heading.style.fontWeight = 'bold';
      heading.textContent = UTF8ToString(title);
      var body = document.createElement('p');
      body.className = 'kiva-message-text';
      body.style.whiteSpace = 'pre-wrap';
      body.textContent = UTF8ToString(text);
      var ok = document.createElement('button');
      ok.className = 'kiva-message-ok';
      ok.textContent = 'OK';
      box.appendChild(heading);
      box.appendChild(body);
      box.appendChild(ok);
      overlay.appendChild(box);
      document.body.appendChild(overlay);
      var done = function() {
        document.removeEventListener('keydown', keys, true);
        overlay.remove();
        wakeUp(1);
      };
      var keys = function(e) {
        if (e.key === 'Enter' || e.key === 'Escape' || e.key === ' ') {
          e.preventDefault();
          e.stopPropagation();
          done();
        }
      };
      ok.addEventListener('click', done);
      document.addEventListener('keydown', keys, true);
      ok.focus();
    });
  },

  // Offers `size` bytes at `data` as a download named `name`.
  kiva_download__deps: ['$KivaPage'],
  kiva_download: function(name, data, size, type) {
    KivaPage.download(UTF8ToString(name), HEAPU8.slice(data, data + size), UTF8ToString(type));
  },

  // Standard input from the page's input line; the other files as the
  // runtime reads them.
  fd_read__deps: ['$KivaPage', '$SYSCALLS', '$FS'],
  fd_read: function(fd, iov, iovcnt, pnum) {
    var stream = SYSCALLS.getStreamFromFD(fd);
    if (fd !== 0 || !stream.tty || typeof document === 'undefined') {
      HEAP32[pnum >> 2] = SYSCALLS.doReadv(stream, iov, iovcnt);
      return 0;
    }
    // What the program drew is on the canvases while it waits for a line.
    if (Asyncify.state === Asyncify.State.Normal && Module['_kiva_show_pending']) Module['_kiva_show_pending']();
    return Asyncify.handleSleep(function(wakeUp) {
      var give = function() {
        var total = 0;
        for (var i = 0; i < iovcnt && KivaPage.stdin.length; ++i) {
          var ptr = HEAP32[(iov + i * 8) >> 2], len = HEAP32[(iov + i * 8 + 4) >> 2];
          var n = Math.min(len, KivaPage.stdin.length);
          HEAPU8.set(KivaPage.stdin.splice(0, n), ptr);
          total += n;
          if (n < len) break;
        }
        HEAP32[pnum >> 2] = total;
        wakeUp(0);
      };
      if (KivaPage.stdin.length || KivaPage.stdinEnded) return give();
      KivaPage.start();
      KivaPage.flushOutput();
      KivaPage.stdinWake = give;
      var line = document.getElementById('kiva-input');
      if (line && !document.querySelector('.kiva-message')) line.focus();
    });
  },
});

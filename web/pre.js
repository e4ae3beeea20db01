// Runs inside burrowbop.js before the game's main: the environment the platform
// reads (the device root, the install folder's mount), the device root kept in the
// browser's IndexedDB, the font, and the flush the file layer asks for after each
// change it makes under the device root.
Module['preRun'] = Module['preRun'] || [];
Module['preRun'].push(function () {
  ENV['CE_DEVICE_ROOT'] = '/device';
  ENV['CE_MOUNTS'] = 'Disk\\Programs\\Games\\burrowbop=/assets';
  ENV['SDL_VIDEODRIVER'] = 'emscripten'; // the framework asks for a named display
  // SDL's software renderer shows a changed frame several times sooner than its WebGL
  // one, which a machine without a graphics processor emulates.
  ENV['SDL_RENDER_DRIVER'] = 'software';
  Module['burrowbop'] = Module['burrowbop'] || { framesPresented: 0, lastPresentMs: 0 };

  // The device root: read back from IndexedDB before main, written back after each
  // change, one write at a time (a change during a write makes one more).
  FS.mkdir('/device');
  FS.mount(IDBFS, {}, '/device');
  var saving = false, again = false, reported = false;
  Module['burrowbopPersist'] = function () {
    if (saving) { again = true; return; }
    saving = true;
    FS.syncfs(false, function (err) {
      saving = false;
      if (err && !reported) {
        reported = true; // once: the game goes on, and keeps trying on the next change
        console.error('burrowbop: the settings could not be saved in this browser:', err);
      }
      if (again) { again = false; Module['burrowbopPersist'](); }
    });
  };
  addRunDependency('burrowbop-device');
  FS.syncfs(true, function (err) {
    if (err) console.error('burrowbop: the saved settings could not be read:', err);
    removeRunDependency('burrowbop-device');
  });

  // The fonts, fetched beside the page (relative, so the site works from any path):
  // the game's own characters before main; GB2312 once the title is shown; the rest of
  // the face only when a text needs it. Each is written into /fonts as it arrives.
  FS.mkdir('/fonts');
  var fonts = {}; // name -> 'loading' | 'loaded' | 'failed'
  var fetchFont = function (name, then) {
    fonts[name] = 'loading';
    var url = Module['locateFile'] ? Module['locateFile']('fonts/' + name, '') : 'fonts/' + name;
    fetch(url).then(function (r) {
      if (!r.ok) throw new Error(r.status + ' ' + r.statusText);
      return r.arrayBuffer();
    }).then(function (data) {
      FS.writeFile('/fonts/' + name, new Uint8Array(data));
      fonts[name] = 'loaded';
    }).catch(function (e) {
      fonts[name] = 'failed';
      console.error('burrowbop: the font ' + url + ' could not be loaded:', e);
    }).finally(then);
  };
  Module['burrowbopLoadFonts'] = function (lacking) {
    var next = !fonts['base.ttf'] ? 'base.ttf'
             : lacking && fonts['base.ttf'] === 'loaded' && !fonts['rest.ttf'] ? 'rest.ttf' : null;
    if (next) fetchFont(next, function () {
      if (fonts[next] === 'loaded' && Module['_mz_fonts_arrived']) Module['_mz_fonts_arrived']();
    });
  };
  addRunDependency('burrowbop-font');
  fetchFont('game.ttf', function () { removeRunDependency('burrowbop-font'); });
});

// The page around the game: one game per browser, the loading bar, the picture fitted
// to the window, full screen, touch without browser gestures, the name typed through a
// hidden field, the calm screen after 退出, and clear words when something fails.
'use strict';

// Stamped by the site build: the version and the sizes of the files the game loads.
var BUILD = { version: 'dev', sizes: {} };

var WIDTH = 720, HEIGHT = 480;
var $ = function (id) { return document.getElementById(id); };
var canvas = $('canvas');

// The game names its window "Burrowbop"; the tab keeps the page's fuller title.
var pageTitle = document.title;
Object.defineProperty(document, 'title', {
  configurable: true, get: function () { return pageTitle; }, set: function () {}
});

function show(id) {
  ['loading', 'waiting', 'exit', 'error'].forEach(function (p) { $(p).hidden = p !== id; });
}

// ---- Failures: said in the page, once, in words a player understands.
var failed = false;
function fail(text, detail) {
  if (failed) return;
  failed = true;
  $('error-text').textContent = text;
  $('error-detail').textContent = detail || '';
  canvas.classList.remove('shown');
  show('error');
  if (detail) console.error('burrowbop:', text, detail);
}
$('retry').addEventListener('click', function () { location.reload(); });

// ---- The picture fills the window with its aspect kept, on whole device pixels. Where
// each picture pixel takes two or more device pixels, it is drawn as crisp squares;
// below that, smoothed.
var fitStyle = document.createElement('style');
document.head.appendChild(fitStyle);
function fit() {
  var dpr = window.devicePixelRatio || 1;
  var vw = document.documentElement.clientWidth, vh = document.documentElement.clientHeight;
  var scale = Math.min(vw / WIDTH, vh / HEIGHT);
  var w = Math.floor(WIDTH * scale * dpr) / dpr, h = Math.floor(HEIGHT * scale * dpr) / dpr;
  var left = Math.round((vw - w) / 2 * dpr) / dpr, top = Math.round((vh - h) / 2 * dpr) / dpr;
  // !important: the game's SDL side sets its own inline size on the canvas.
  fitStyle.textContent = '#canvas{width:' + w + 'px!important;height:' + h + 'px!important;left:' +
      left + 'px;top:' + top + 'px}';
  canvas.classList.toggle('pixelated', w * dpr >= 2 * WIDTH);
}
window.addEventListener('resize', fit);
fit();

// ---- Full screen: F11, Alt+Enter and the small button. Handled before the game sees
// the keys (Alt+Enter would otherwise press 完成 in the name window).
var root = document.documentElement;
var canFullscreen = !!(root.requestFullscreen && document.fullscreenEnabled);
function toggleFullscreen() {
  if (!canFullscreen) return;
  if (document.fullscreenElement) document.exitFullscreen().catch(function () {});
  else root.requestFullscreen({ navigationUI: 'hide' }).catch(function () {});
}
window.addEventListener('keydown', function (e) {
  if (e.key === 'F11' || (e.key === 'Enter' && e.altKey)) {
    e.preventDefault();
    e.stopImmediatePropagation();
    if (!e.repeat) toggleFullscreen();
  }
}, true);
$('fullscreen').hidden = !canFullscreen;
$('fullscreen').addEventListener('click', toggleFullscreen);

// ---- Touch: taps reach the game; the browser's own gestures never start.
['contextmenu', 'selectstart', 'dragstart', 'gesturestart'].forEach(function (type) {
  document.addEventListener(type, function (e) { e.preventDefault(); });
});
document.addEventListener('touchmove', function (e) { e.preventDefault(); }, { passive: false });
document.addEventListener('dblclick', function (e) { e.preventDefault(); });

// ---- Sound starts at the first tap, as browsers require.
function resumeAudio() {
  var ctx = window.Module && (Module.SDL2 && Module.SDL2.audioContext);
  if (ctx && ctx.state === 'suspended') ctx.resume().catch(function () {});
}
['pointerdown', 'touchend', 'keydown'].forEach(function (type) {
  window.addEventListener(type, resumeAudio, true);
});

// ---- Names are typed into a hidden field, so that a phone shows its keyboard and an
// input method can compose; each character reaches the game as the key press the
// game's SDL side reads. Enter, Backspace and Escape reach it as keys.
var textInput = $('text-input');
var typing = false; // the game has a text field in focus
var touchSeen = false;
function sendKeyEvent(type, fields) {
  var e = new KeyboardEvent(type, { bubbles: true, cancelable: true, key: fields.key || '' });
  Object.keys(fields).forEach(function (k) {
    if (k !== 'key') Object.defineProperty(e, k, { value: fields[k] });
  });
  window.dispatchEvent(e);
}
function sendText(text) {
  for (var ch of text) {
    var cp = ch.codePointAt(0);
    if (cp < 0x20 || cp === 0x7f) continue;
    sendKeyEvent('keypress', { key: ch, charCode: cp, keyCode: cp, which: cp });
  }
}
textInput.addEventListener('keypress', function (e) { e.stopPropagation(); }); // comes as input
textInput.addEventListener('input', function (e) {
  if (e.isComposing) return;
  if (e.inputType === 'deleteContentBackward' && !textInput.value) {
    // A phone keyboard's delete often comes without a key event of its own.
    sendKeyEvent('keydown', { key: 'Backspace', code: 'Backspace', keyCode: 8, which: 8 });
    sendKeyEvent('keyup', { key: 'Backspace', code: 'Backspace', keyCode: 8, which: 8 });
  } else if (textInput.value) {
    sendText(textInput.value);
  }
  textInput.value = '';
});
textInput.addEventListener('compositionend', function () {
  if (textInput.value) sendText(textInput.value);
  textInput.value = '';
});
function focusTextInput() {
  if (document.activeElement !== textInput) textInput.focus({ preventScroll: true });
}
// A mouse and keyboard can always type: the field keeps the focus. A phone only shows
// its keyboard while the game asks for a name.
window.addEventListener('pointerdown', function (e) { if (e.pointerType === 'touch') touchSeen = true; }, true);
window.addEventListener('pointerup', function (e) {
  if (e.pointerType !== 'touch' || typing) focusTextInput();
}, true);
function textInputStart() { typing = true; focusTextInput(); } // a phone may need the next tap too
function textInputStop() { typing = false; if (touchSeen) textInput.blur(); }

// ---- Loading: every file the game fetches counts towards one percentage.
var loaded = {};
function progress() {
  var total = 0, done = 0;
  Object.keys(BUILD.sizes).forEach(function (name) {
    total += BUILD.sizes[name];
    done += Math.min(loaded[name] || 0, BUILD.sizes[name]);
  });
  var pct = total ? Math.floor(100 * done / total) : 0;
  $('bar-fill').style.width = pct + '%';
  $('bar').setAttribute('aria-valuenow', pct);
  $('status').textContent = '正在加载… ' + pct + '%';
}
// Fetches one of the game's files, counting the bytes as they arrive.
var pageFetch = window.fetch.bind(window);
var siteDir = new URL('.', document.baseURI).pathname;
function fetchCounted(url, init) {
  var path = new URL(url instanceof Request ? url.url : url, document.baseURI).pathname;
  var name = path.indexOf(siteDir) === 0 ? path.slice(siteDir.length) : path;
  return pageFetch(url, init).then(function (response) {
    if (!response.ok) throw new Error(name + ': ' + response.status + ' ' + response.statusText);
    if (!(name in BUILD.sizes) || !response.body) return response;
    var reader = response.body.getReader();
    var counted = new ReadableStream({
      pull: function (controller) {
        return reader.read().then(function (r) {
          if (r.done) { controller.close(); return; }
          loaded[name] = (loaded[name] || 0) + r.value.byteLength;
          progress();
          controller.enqueue(r.value);
        });
      },
      cancel: function (why) { return reader.cancel(why); }
    });
    return new Response(counted, { headers: response.headers, status: response.status });
  });
}
function loadFailed(e) {
  fail('文件加载失败，请检查网络后重新加载。', 'A file failed to load: ' + (e && e.message || e));
}

// ---- The game.
// The game's SDL side counts its presents here; for the suite and the benchmark, the
// page notes when the first and the latest of them reached the screen (the frame after).
function presentCounter() {
  var count = 0;
  // recent: [present, shown] times of the latest frames, for the benchmark's tap figure.
  var stats = { lastPresentMs: 0, firstShownMs: 0, lastShownMs: 0, recent: [] };
  Object.defineProperty(stats, 'framesPresented', {
    enumerable: true,
    get: function () { return count; },
    set: function (n) {
      count = n;
      var frame = [performance.now(), 0];
      stats.recent.push(frame);
      if (stats.recent.length > 16) stats.recent.shift();
      requestAnimationFrame(function () {
        var t = performance.now();
        frame[1] = stats.lastShownMs = t;
        if (!stats.firstShownMs) {
          stats.firstShownMs = t;
          setTimeout(startOfflineWorker, 500);
        }
      });
    }
  });
  return stats;
}

function startGame() {
  show('loading');
  window.fetch = fetchCounted; // the game's own fetches (fonts) count too
  var wasm = fetchCounted('burrowbop.wasm?v=' + BUILD.version);
  var data = 'burrowbop.data' in BUILD.sizes
      ? fetchCounted('burrowbop.data?v=' + BUILD.version).then(function (r) { return r.arrayBuffer(); })
      : Promise.resolve(null);
  var preRun = [];
  if (window.BURROWBOP_TEST_TRACE) {
    preRun.push(function () { ENV.CE_TRACE = '/tmp/ce-trace.txt'; });
  }
  window.Module = {
    canvas: canvas,
    preRun: preRun,
    locateFile: function (path) { return path; },
    print: function (text) { console.log(text); },
    printErr: function (text) { console.warn(text); },
    setStatus: function () {},
    monitorRunDependencies: function () {},
    instantiateWasm: function (imports, receive) {
      wasm.then(function (response) {
        if (!WebAssembly.instantiateStreaming) {
          return response.arrayBuffer().then(function (b) { return WebAssembly.instantiate(b, imports); });
        }
        var typed = new Response(response.body, { headers: { 'Content-Type': 'application/wasm' } });
        return WebAssembly.instantiateStreaming(typed, imports);
      }).then(function (result) {
        receive(result.instance, result.module);
      }).catch(loadFailed);
      return {};
    },
    onRuntimeInitialized: function () {
      window.fetch = pageFetch;
      canvas.classList.add('shown');
      show(null);
      if (!touchSeen) focusTextInput();
    },
    onAbort: function (what) { fail('游戏出错停止了，请重新加载。', 'The game stopped: ' + what); },
    onGameExit: gameExited,
    onExit: gameExited,
    onTextInputStart: textInputStart,
    onTextInputStop: textInputStop,
    burrowbop: presentCounter()
  };
  data.then(function (buffer) {
    if (buffer) Module.getPreloadedPackage = function () { return buffer; };
    var script = document.createElement('script');
    script.src = 'burrowbop.js?v=' + BUILD.version;
    script.onerror = function () { loadFailed(new Error('burrowbop.js')); };
    document.body.appendChild(script);
  }).catch(loadFailed);
}

// 退出: the game has ended; a tap starts it again. The settings live in the browser's
// storage, so a fresh start keeps them.
var exited = false;
function gameExited() {
  if (failed || exited) return;
  exited = true;
  releaseLock(); // a tab waiting for the game may start it now
  canvas.classList.remove('shown');
  show('exit');
  textInput.blur();
  $('exit').addEventListener('click', function () { location.reload(); }, { once: true });
}

// ---- One game per browser: a second tab waits for the first one's lock.
var releaseLock = function () {};
function whenOnlyGame(start) {
  if (!navigator.locks) { start(); return; }
  var hold = function () { // held until the tab closes or the game ends
    start();
    return new Promise(function (resolve) { releaseLock = resolve; });
  };
  navigator.locks.request('burrowbop-game', { ifAvailable: true }, function (lock) {
    if (lock) return hold();
    show('waiting');
    return navigator.locks.request('burrowbop-game', hold);
  }).catch(function (e) { fail('游戏无法启动。', String(e)); });
}

// ---- Offline: after one visit the service worker serves every file. It starts once
// the title is on screen, so that its downloads never slow the first start.
var workerAsked = false;
function startOfflineWorker() {
  if (workerAsked || !('serviceWorker' in navigator) || !/^https?:$/.test(location.protocol)) return;
  workerAsked = true;
  navigator.serviceWorker.register('sw.js').catch(function (e) {
    console.warn('burrowbop: offline play is not available:', e);
  });
}

if (typeof WebAssembly !== 'object' || typeof WebAssembly.instantiate !== 'function') {
  fail('这个浏览器不支持 WebAssembly，无法运行游戏。请换用较新的浏览器。',
       'This browser lacks WebAssembly; the game needs a recent browser.');
} else {
  whenOnlyGame(startGame);
}

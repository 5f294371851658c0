// The Quillfrost page: the settings (sliders, address, local storage), the
// canvas at the window's size, the frame loop, full screen, the frame rate,
// the pointer and the settings that go when idle, the screen kept awake, and
// the resources the snow is made from. The snow itself is the module's
// (quillfrost.js and quillfrost.wasm, built from the same code as the saver).
'use strict';

(function () {
  const DEFAULTS = Object.freeze({ quantity: 50, speed: 50, fractal: true });
  const STORAGE_KEY = 'quillfrost.settings';
  const SPRITE_ID = 123;
  const TABLE_IDS = [129, 130, 131, 132];
  // A slider being dragged restarts the snow at most this often.
  const SLIDER_MS = 250;
  // The pointer and the settings go after this long without pointer, touch
  // or key.
  const IDLE_MS = 3000;
  // A new run is moved ahead in slices of this many steps, in each frame for
  // at most AHEAD_MS, so that the page answers while it fills with snow.
  const AHEAD_SLICE = 10;
  const AHEAD_MS = 30;

  // What the visitor is told when the snow cannot start: plain sentences,
  // the technical reason goes to the console as a warning.
  const FROM_FILE = 'Quillfrost cannot start from a file on disk: open it through a web ' +
    'server, for example with "python3 -m http.server" in its folder, then visit ' +
    'http://localhost:8000/.';
  const NOT_LOADED = 'The snow could not be loaded: some of its files are missing or did ' +
    'not arrive. Reloading the page may help.';
  const NO_WASM = 'This browser cannot run the snow, as it does not run WebAssembly. ' +
    'A recent browser will.';
  const NO_WEBGL = 'This browser cannot draw the snow, as it offers no WebGL (its graphics ' +
    'acceleration may be turned off).';
  const NOT_STARTED = 'The snow could not start in this browser. Reloading the page may help.';
  const NO_MEMORY = 'There is not enough memory for the snow.';

  const root = document.documentElement;
  const canvas = document.getElementById('snow');
  const message = document.getElementById('message');
  const panel = document.getElementById('settings');
  const controls = {
    quantity: document.getElementById('quantity'),
    speed: document.getElementById('speed'),
    fractal: document.getElementById('fractal'),
    reset: document.getElementById('reset'),
    fullscreen: document.getElementById('fullscreen'),
  };

  // What the page shows of itself, for the people and programs watching it.
  const page = {
    ready: null, // settles when the snow runs, or fails with the reason
    error: null,
    framesDrawn: 0,
    settings: null,
    flakeCount: () => (module ? module._qf_flake_count() : 0),
  };
  window.quillfrost = page;

  let module = null;
  let running = false;
  let settling = false; // the run is being moved ahead to full snow
  let resumed = false;
  let contextLost = false;
  let firstFrameDrawn = null; // resolves page.ready with the first frame

  function showMessage(text) {
    message.textContent = text;
    message.hidden = false;
    page.error = text;
  }

  // An error whose `sentence` is what the visitor reads.
  function failure(sentence, reason) {
    return Object.assign(new Error(reason), { sentence });
  }

  // The snow stopped for good: the settings go, the sentence shows, and the
  // technical reason is a warning in the console.
  function giveUp(error) {
    stop();
    panel.hidden = true;
    showMessage(error && error.sentence ? error.sentence : NOT_STARTED);
    console.warn('Quillfrost stopped:', error && error.message ? error.message : error);
  }

  // A percentage written as a number: held to 0 .. 100 and rounded. Anything
  // else is no percentage (null).
  function percentFrom(text) {
    if (text === null || text === undefined) {
      return null;
    }
    const trimmed = String(text).trim();
    if (!/^[+-]?(\d+(\.\d*)?|\.\d+)$/.test(trimmed)) {
      return null;
    }
    return Math.min(100, Math.max(0, Math.round(Number(trimmed))));
  }

  function flagFrom(text) {
    const value = String(text).trim().toLowerCase();
    if (['1', 'true', 'on', 'yes'].includes(value)) {
      return true;
    }
    if (['0', 'false', 'off', 'no'].includes(value)) {
      return false;
    }
    return null;
  }

  function storedSettings() {
    try {
      const stored = JSON.parse(window.localStorage.getItem(STORAGE_KEY));
      return stored && typeof stored === 'object' ? stored : {};
    } catch (e) {
      return {};
    }
  }

  // The address first, then what was stored, then the defaults. A value in
  // the address that is no setting gives the default, as an odd stored value
  // does.
  function initialSettings() {
    const address = new URLSearchParams(window.location.search);
    const stored = storedSettings();
    function pick(name, parse) {
      if (address.has(name)) {
        const given = parse(address.get(name));
        return given === null ? DEFAULTS[name] : given;
      }
      const kept = name in stored ? parse(stored[name]) : null;
      return kept === null ? DEFAULTS[name] : kept;
    }
    return {
      quantity: pick('quantity', percentFrom),
      speed: pick('speed', percentFrom),
      fractal: pick('fractal', flagFrom),
    };
  }

  function showSettings(settings) {
    controls.quantity.value = settings.quantity;
    controls.speed.value = settings.speed;
    controls.fractal.checked = settings.fractal;
  }

  function keepSettings(settings) {
    try {
      window.localStorage.setItem(STORAGE_KEY, JSON.stringify(settings));
    } catch (e) {
      // A page without storage keeps its settings in its address alone.
    }
    const address = new URL(window.location.href);
    address.searchParams.set('quantity', settings.quantity);
    address.searchParams.set('speed', settings.speed);
    address.searchParams.set('fractal', settings.fractal ? 1 : 0);
    window.history.replaceState(null, '', address);
  }

  // The drawing buffer at the canvas's size in device pixels. Only a new
  // size is set: setting one clears the picture.
  function fitCanvas() {
    const ratio = window.devicePixelRatio || 1;
    const width = Math.max(1, Math.round(canvas.clientWidth * ratio));
    const height = Math.max(1, Math.round(canvas.clientHeight * ratio));
    const changed = canvas.width !== width || canvas.height !== height;
    if (changed) {
      canvas.width = width;
      canvas.height = height;
    }
    return changed;
  }

  // A new run with these settings, as the saver starts one. The frame loop
  // moves it ahead to full snow before it draws it; until then the last
  // picture stays.
  function startSnow(settings) {
    page.settings = Object.assign({}, settings);
    fitCanvas();
    const flakes = module._qf_start(settings.quantity, settings.speed, settings.fractal ? 1 : 0,
      canvas.width, canvas.height, -1);
    if (flakes < 0) {
      throw failure(NO_MEMORY, `no memory for ${JSON.stringify(settings)}`);
    }
    settling = true;
  }

  // One slice of moving the new run ahead; true once it is full of snow.
  function stepAhead() {
    const until = performance.now() + AHEAD_MS;
    do {
      if (module._qf_step_ahead(AHEAD_SLICE) === 1) {
        return true;
      }
    } while (performance.now() < until);
    return false;
  }

  function frame() {
    if (!running) {
      return;
    }
    if (settling) {
      settling = !stepAhead();
    } else if (!contextLost) {
      module._qf_frame(resumed ? 1 : 0);
      resumed = false;
      page.framesDrawn += 1;
      if (firstFrameDrawn) {
        firstFrameDrawn();
        firstFrameDrawn = null;
      }
    }
    window.requestAnimationFrame(frame);
  }

  function stop() {
    running = false;
  }

  function controlSettings() {
    return {
      quantity: percentFrom(controls.quantity.value),
      speed: percentFrom(controls.speed.value),
      fractal: controls.fractal.checked,
    };
  }

  function applyControls() {
    const settings = controlSettings();
    keepSettings(settings);
    try {
      startSnow(settings);
    } catch (error) {
      giveUp(error);
    }
  }

  // The pointer and the settings go after IDLE_MS without pointer, touch or
  // key, and come back with any of them; with ?ui=0 they never show.
  let idleTimer = 0;
  function wake() {
    root.classList.remove('idle');
    window.clearTimeout(idleTimer);
    idleTimer = window.setTimeout(() => root.classList.add('idle'), IDLE_MS);
  }

  // The screen kept on while the snow is seen full screen or with ?ui=0,
  // where the browser offers that; the browser lets go of the lock when the
  // page is hidden, and it is asked for again when it shows. screenLock is
  // the promise of the lock (null when refused).
  let screenLock = null;
  function keepScreenOn(kiosk) {
    const wanted = (kiosk || document.fullscreenElement) && document.visibilityState === 'visible';
    if (wanted && !screenLock && navigator.wakeLock) {
      const asked = Promise.resolve()
        .then(() => navigator.wakeLock.request('screen'))
        .then((lock) => {
          lock.addEventListener('release', () => {
            if (screenLock === asked) {
              screenLock = null;
            }
          });
          return lock;
        }, () => null);
      screenLock = asked;
    } else if (!wanted && screenLock) {
      const held = screenLock;
      screenLock = null;
      held.then((lock) => lock && lock.release()).catch(() => {});
    }
  }

  // Typing into a text field is no command.
  function typesText(target) {
    if (!target || !target.tagName) {
      return false;
    }
    const notText = ['range', 'checkbox', 'radio', 'button', 'submit', 'reset', 'color', 'file'];
    return target.isContentEditable || target.tagName === 'TEXTAREA' ||
      target.tagName === 'SELECT' || (target.tagName === 'INPUT' && !notText.includes(target.type));
  }

  function toggleFullscreen() {
    if (document.fullscreenElement) {
      document.exitFullscreen();
    } else if (document.documentElement.requestFullscreen) {
      document.documentElement.requestFullscreen().catch(() => {});
    }
  }

  function listen(kiosk) {
    // A slider being moved applies its first value at once, then at most
    // every SLIDER_MS and only once the last new run has been drawn (each is
    // moved ahead to full snow first, which can take longer at 5000 flakes
    // on a slow machine: the snow must change while the slider moves), and
    // its last value when let go.
    let appliedAt = -Infinity;
    let appliedFrame = -1; // page.framesDrawn when a slider last applied
    let pending = 0;
    function applySlider() {
      window.clearTimeout(pending);
      pending = 0;
      appliedAt = performance.now();
      appliedFrame = page.framesDrawn;
      applyControls();
    }
    function applySliderSoon() {
      const wait = appliedAt + SLIDER_MS - performance.now();
      if (wait <= 0 && page.framesDrawn > appliedFrame) {
        applySlider();
      } else if (!pending) {
        pending = window.setTimeout(() => {
          pending = 0;
          applySliderSoon();
        }, Math.max(wait, 20));
      }
    }
    for (const slider of [controls.quantity, controls.speed]) {
      slider.addEventListener('input', applySliderSoon);
      slider.addEventListener('change', () => {
        const settings = controlSettings();
        if (pending || settings.quantity !== page.settings.quantity ||
            settings.speed !== page.settings.speed) {
          applySlider();
        }
        appliedAt = -Infinity;
        appliedFrame = -1;
      });
    }
    controls.fractal.addEventListener('change', applyControls);
    controls.reset.addEventListener('click', () => {
      showSettings(DEFAULTS);
      applyControls();
    });
    controls.fullscreen.addEventListener('click', toggleFullscreen);
    canvas.addEventListener('dblclick', toggleFullscreen);
    // f (or F) shows or hides the frame rate, whatever has focus.
    document.addEventListener('keydown', (event) => {
      if (String(event.key).toLowerCase() === 'f' && !event.ctrlKey && !event.metaKey &&
          !event.altKey && !typesText(event.target)) {
        page.showRate = !page.showRate;
        module._qf_show_rate(page.showRate ? 1 : 0);
      }
    });
    document.addEventListener('fullscreenchange', () => keepScreenOn(kiosk));
    window.addEventListener('resize', () => {
      if (fitCanvas()) {
        module._qf_resize(canvas.width, canvas.height);
      }
    });
    // A hidden page draws nothing (the browser holds back its frames); shown
    // again, the snow goes on from where it was.
    document.addEventListener('visibilitychange', () => {
      if (document.visibilityState === 'visible') {
        resumed = true;
      }
      keepScreenOn(kiosk);
    });
    canvas.addEventListener('webglcontextlost', (event) => {
      event.preventDefault();
      contextLost = true;
      module._qf_context_lost();
    });
    canvas.addEventListener('webglcontextrestored', () => {
      if (module._qf_context_restored() === 1) {
        contextLost = false;
        resumed = true;
      } else {
        giveUp(failure('The snow cannot be drawn again after the graphics were reset. ' +
          'Reloading the page may help.', 'the restored context takes no drawing'));
      }
    });
  }

  async function fetchBytes(name) {
    const response = await fetch(name).catch((error) => {
      throw failure(NOT_LOADED, `${name}: ${error.message}`);
    });
    if (!response.ok) {
      throw failure(NOT_LOADED, `${name}: ${response.status} ${response.statusText}`);
    }
    return new Uint8Array(await response.arrayBuffer());
  }

  // The sprite's RGBA bytes as stored: decoded by the browser with neither
  // premultiplied alpha nor colour conversion, read back from a texture on
  // the canvas's context gl, which is left as it was.
  async function decodeSprite(bytes, gl) {
    const image = await createImageBitmap(new Blob([bytes], { type: 'image/png' }),
      { premultiplyAlpha: 'none', colorSpaceConversion: 'none' });
    const texture = gl.createTexture();
    gl.bindTexture(gl.TEXTURE_2D, texture);
    gl.pixelStorei(gl.UNPACK_PREMULTIPLY_ALPHA_WEBGL, false);
    gl.pixelStorei(gl.UNPACK_COLORSPACE_CONVERSION_WEBGL, gl.NONE);
    gl.texImage2D(gl.TEXTURE_2D, 0, gl.RGBA, gl.RGBA, gl.UNSIGNED_BYTE, image);
    const framebuffer = gl.createFramebuffer();
    gl.bindFramebuffer(gl.FRAMEBUFFER, framebuffer);
    gl.framebufferTexture2D(gl.FRAMEBUFFER, gl.COLOR_ATTACHMENT0, gl.TEXTURE_2D, texture, 0);
    const rgba = new Uint8Array(image.width * image.height * 4);
    gl.readPixels(0, 0, image.width, image.height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
    gl.bindFramebuffer(gl.FRAMEBUFFER, null);
    gl.deleteFramebuffer(framebuffer);
    gl.bindTexture(gl.TEXTURE_2D, null);
    gl.deleteTexture(texture);
    gl.pixelStorei(gl.UNPACK_COLORSPACE_CONVERSION_WEBGL, gl.BROWSER_DEFAULT_WEBGL);
    return { rgba, width: image.width, height: image.height };
  }

  function copyIn(bytes) {
    const at = module._malloc(bytes.length);
    module.HEAPU8.set(bytes, at);
    return at;
  }

  async function start(kiosk) {
    // A page from a file may not fetch its own files (Chromium refuses).
    if (window.location.protocol === 'file:') {
      throw failure(FROM_FILE, 'opened from a file, which may not fetch the tables');
    }
    if (typeof WebAssembly !== 'object') {
      throw failure(NO_WASM, 'no WebAssembly');
    }
    if (typeof createQuillfrost !== 'function') {
      throw failure(NOT_LOADED, 'quillfrost.js did not load');
    }
    // The module compiles (streamed) while the sprite and the tables load.
    // Its own complaints are warnings: what went wrong is told on the page.
    // The canvas's context, made here with the attributes the module asks
    // for (it then takes this one), shows that WebGL is there and decodes
    // the sprite: one context fewer to make.
    let spriteGl = null;
    const loading = Promise.all([
      fetchBytes(`sprite_${SPRITE_ID}.png`).then((bytes) => decodeSprite(bytes, spriteGl)),
      Promise.all(TABLE_IDS.map((id) => fetchBytes(`noise_${id}.dat`))),
      createQuillfrost({ printErr: (text) => console.warn(text) }).then((loaded) => {
        module = loaded;
      }, (error) => {
        throw failure(NOT_LOADED, `quillfrost.wasm: ${error && error.message}`);
      }),
    ]);
    loading.catch(() => {}); // told below, or by the check before
    spriteGl = canvas.getContext('webgl', { alpha: false, depth: false, stencil: false,
      antialias: false, premultipliedAlpha: false });
    if (!spriteGl) {
      throw failure(NO_WEBGL, 'no WebGL');
    }
    const [sprite, tables] = await loading;
    const selector = copyIn(new TextEncoder().encode('#snow\0'));
    const opened = module._qf_open(selector);
    module._free(selector);
    if (opened !== 1) {
      throw failure(NO_WEBGL, 'no WebGL context for the canvas');
    }
    TABLE_IDS.forEach((id, i) => module._qf_set_resource(id, copyIn(tables[i]), tables[i].length));
    const pixels = copyIn(sprite.rgba);
    const made = module._qf_set_sprite(pixels, sprite.width, sprite.height);
    module._free(pixels);
    if (made !== 1) {
      throw failure(NO_WEBGL, 'the sprite could not be made a texture');
    }

    const settings = initialSettings();
    showSettings(settings);
    startSnow(settings);
    page.showRate = flagFrom(new URLSearchParams(window.location.search).get('fps')) === true;
    module._qf_show_rate(page.showRate ? 1 : 0);
    listen(kiosk);
    running = true;
    keepScreenOn(kiosk);
    await new Promise((resolve) => {
      firstFrameDrawn = resolve;
      window.requestAnimationFrame(frame);
    });
  }

  // For tests and benchmarks: the loop stopped, a run of the given settings
  // and seed at width x height moved by `steps` steps of `stepMs`, drawn, and
  // its green channel read back, rows from the top.
  page.drawFixedScene = function (options) {
    stop();
    canvas.style.width = `${options.width / (window.devicePixelRatio || 1)}px`;
    canvas.style.height = `${options.height / (window.devicePixelRatio || 1)}px`;
    canvas.width = options.width;
    canvas.height = options.height;
    module._qf_start(options.quantity, options.speed, options.fractal ? 1 : 0,
      options.width, options.height, options.seed);
    module._qf_step_and_draw(options.stepMs, options.steps);
    const gl = canvas.getContext('webgl');
    const rgba = new Uint8Array(options.width * options.height * 4);
    gl.readPixels(0, 0, options.width, options.height, gl.RGBA, gl.UNSIGNED_BYTE, rgba);
    const grey = new Array(options.width * options.height);
    for (let y = 0; y < options.height; ++y) {
      for (let x = 0; x < options.width; ++x) {
        grey[y * options.width + x] = rgba[((options.height - 1 - y) * options.width + x) * 4 + 1];
      }
    }
    return grey;
  };

  // The time per frame (10 ms) of the motion update and the vertex build in
  // the run the native benchmark (bench/sim_bench) times: 5000 flakes at
  // 1280 x 1024, fractal wind, seed 2024, 70 s of 20 ms steps behind them.
  // In ms: {update, vertices}.
  page.benchmark = function (frames) {
    stop();
    module._qf_start(100, 50, 1, 1280, 1024, 2024);
    module._qf_step_and_draw(20, 3500);
    const at = module._qf_bench(frames) / 8;
    return { update: module.HEAPF64[at], vertices: module.HEAPF64[at + 1] };
  };

  // ?ui=0 (a kiosk: wallpaper and screen-saver tools) shows the snow alone,
  // with neither settings nor pointer.
  const kiosk = flagFrom(new URLSearchParams(window.location.search).get('ui')) === false;
  if (kiosk) {
    panel.hidden = true;
    root.classList.add('idle');
  } else {
    for (const type of ['pointermove', 'pointerdown', 'touchstart', 'keydown', 'wheel']) {
      document.addEventListener(type, wake, { capture: true, passive: true });
    }
    wake();
  }

  // A failed start hides the settings and says why in a sentence; ready
  // rejects for those who watch it, and is handled here so that the console
  // shows no uncaught rejection.
  page.ready = start(kiosk).catch((error) => {
    giveUp(error);
    page.ready.catch(() => {});
    throw error;
  });

  // Served over http(s), a service worker keeps the page's files for offline
  // use; where none can be registered the page works as before.
  if ('serviceWorker' in navigator && /^https?:$/.test(window.location.protocol)) {
    navigator.serviceWorker.register('sw.js').catch(() => {});
  }
})();

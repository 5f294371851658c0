// node page_test.mjs SITE
// The page as a visitor's browser shows it (Debian's Chromium, headless, WebGL
// on SwiftShader): it loads without a console error and shows soft snow over
// the whole page; the Quantity slider changes the flakes, while it is dragged
// too; f shows the frame rate wherever the focus is; the pointer and the
// settings go after 3 s idle and come back with the pointer; ?ui=0 shows
// neither settings nor pointer and keeps the screen on; a page opened from a
// file and a missing table get a plain sentence and no settings; the settings
// survive a reload; bad values in the address give the defaults or are held
// to 0 .. 100; the snow follows a resized window; a phone held upright looks
// as it does held across; a lost and restored WebGL
// context draws again; a page that gets no frames for 30 s (as a hidden tab)
// goes on without a band; Chromium can install it as an app, and once seen
// it snows offline; ?fps=1 shows the frame rate; a module that fails
// to load and a browser without WebGL get a message.
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { PNG } from 'pngjs';
import { judgeSnow, launch, launchWithProfile, serve } from './browser.mjs';

const site = await serve(process.argv[2]);
const browser = await launch();
let failures = 0;

function check(what, ok, detail = '') {
  console.log(`${ok ? 'ok' : 'FAILED'}: ${what}${detail ? ` (${detail})` : ''}`);
  failures += ok ? 0 : 1;
}

async function open(page, query = '') {
  await page.goto(site.url + query);
  await page.evaluate(() => window.quillfrost.ready);
}

// Errors the page reports: console errors and uncaught exceptions.
function errorsOf(page) {
  const errors = [];
  page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  page.on('pageerror', (error) => errors.push(error.message));
  return errors;
}

// A pointer move, which brings back the settings after 3 s idle.
let nudges = 0;
async function nudge(page) {
  nudges += 1;
  await page.mouse.move(1 + (nudges % 2), 1);
}

// "60.0 fps" in white, each font pixel 2 x 2: hundreds of white pixels in the
// corner, where a few flakes give a few dozen.
async function rateShown(page) {
  await framesPass(page, 90);
  const corner = PNG.sync.read(await page.screenshot({ clip: { x: 8, y: 8, width: 100, height: 22 } }));
  let white = 0;
  for (let i = 0; i < corner.data.length; i += 4) {
    white += corner.data[i + 1] === 255 ? 1 : 0;
  }
  return white;
}

// Frames drawn since now: waits until the page has drawn `count` more.
async function framesPass(page, count) {
  const start = await page.evaluate(() => window.quillfrost.framesDrawn);
  await page.waitForFunction((n) => window.quillfrost.framesDrawn >= n, start + count);
}

// The three thirds of the page (the settings' corner left out), each judged.
async function thirds(page) {
  const picture = PNG.sync.read(await page.screenshot());
  const box = await page.locator('#settings').boundingBox();
  const height = Math.floor(Math.min(picture.height, box.y) / 3);
  return [0, 1, 2].map((i) => judgeSnow(picture, { x: 0, y: i * height, width: picture.width, height }));
}

// Snow everywhere, as even as snow is: every third has spots, is mostly black
// and glows softly, and none has more than twice the light of another.
function evenSnow(parts, minSpots) {
  const means = parts.map((part) => part.mean);
  const soft = parts.every((part) => part.spots >= minSpots && part.blackShare > 0.5 &&
    part.soft > 4 * part.spots);
  return soft && Math.max(...means) <= 2 * Math.min(...means);
}

function describe(parts) {
  return parts.map((p) => `${p.spots} spots, black ${p.blackShare.toFixed(3)}, mean ${p.mean.toFixed(2)}`)
    .join(' | ');
}

try {
  const page = await browser.newPage({ viewport: { width: 960, height: 600 } });
  const errors = [];
  page.on('console', (message) => message.type() === 'error' && errors.push(message.text()));
  page.on('pageerror', (error) => errors.push(error.message));

  await open(page);
  await page.waitForTimeout(2000);
  const first = await thirds(page);
  check('soft snow over the whole page 2 s after load', evenSnow(first, 20), describe(first));
  check('no console error', errors.length === 0, errors.join('; '));

  // Offline once the page's service worker has taken it over (if it ever does).
  await page.waitForFunction(() => navigator.serviceWorker.controller).catch(() => {});
  await page.context().setOffline(true);
  const offline = await open(page).then(() => framesPass(page, 30)).then(() => thirds(page),
    (error) => error.message);
  await page.context().setOffline(false);
  check('a page seen once snows again offline', Array.isArray(offline) && evenSnow(offline, 20),
    Array.isArray(offline) ? describe(offline) : offline);

  await nudge(page);
  await page.locator('#quantity').fill('0');
  const few = await page.evaluate(() => window.quillfrost.flakeCount());
  await page.locator('#quantity').fill('100');
  const many = await page.evaluate(() => window.quillfrost.flakeCount());
  check('the Quantity slider sets the flakes', few === 100 && many === 5000, `${few} and ${many}`);

  await nudge(page);
  await page.locator('#speed').fill('30');
  await page.locator('#fractal').uncheck();
  await open(page);
  const kept = await page.evaluate(() => window.quillfrost.settings);
  check('the settings survive a reload', kept.quantity === 100 && kept.speed === 30 &&
    kept.fractal === false, JSON.stringify(kept));

  // A drag: the flakes read just after the page has taken each input event.
  await page.evaluate(() => {
    window.quillfrost.dragged = [];
    document.getElementById('quantity').addEventListener('input',
      () => window.quillfrost.dragged.push(window.quillfrost.flakeCount()));
  });
  const track = await page.locator('#quantity').boundingBox();
  await page.mouse.move(track.x + track.width - 2, track.y + track.height / 2);
  await page.mouse.down();
  await page.mouse.move(track.x + track.width * 0.3, track.y + track.height / 2, { steps: 5 });
  const dragged = await page.evaluate(() => window.quillfrost.dragged);
  await page.mouse.up();
  check('a Quantity drag changes the flakes before it is let go',
    dragged.length >= 2 && dragged[0] < 5000, dragged.join(' '));

  await open(page, '?quantity=abc&speed=500');
  const odd = await page.evaluate(() => [window.quillfrost.settings,
    document.getElementById('quantity').value, document.getElementById('speed').value]);
  check('?quantity=abc&speed=500 gives the default and 100',
    odd[0].quantity === 50 && odd[0].speed === 100 && odd[1] === '50' && odd[2] === '100',
    JSON.stringify(odd));

  await page.waitForFunction(() => document.documentElement.classList.contains('idle'));
  const shown = () => page.evaluate(() => [getComputedStyle(document.getElementById('settings')).visibility,
    getComputedStyle(document.getElementById('snow')).cursor]);
  const idle = await shown();
  await nudge(page);
  const woken = await shown();
  check('the settings and the pointer go after 3 s idle and come back with the pointer',
    idle.join() === 'hidden,none' && woken.join() === 'visible,auto', `${idle} then ${woken}`);

  await page.setViewportSize({ width: 1280, height: 480 });
  await framesPass(page, 30);
  const resized = await page.evaluate(() => [document.getElementById('snow').width,
    document.getElementById('snow').height]);
  const wide = await thirds(page);
  check('a resized window keeps the snow over the whole page',
    resized[0] === 1280 && resized[1] === 480 && evenSnow(wide, 20),
    `${resized.join(' x ')}: ${describe(wide)}`);

  // A phone held upright shows what it shows held across: the lit share of
  // the pixels within a factor of 2, and the thirds of its width alike.
  const litThirds = async (width, height, device = {}) => {
    const view = await browser.newPage({ viewport: { width, height }, ...device });
    await open(view);
    await view.evaluate(() => { document.getElementById('settings').style.display = 'none'; });
    await framesPass(view, 10);
    const picture = PNG.sync.read(await view.screenshot());
    await view.close();
    const w = Math.floor(picture.width / 3);
    return [0, 1, 2].map((i) => 1 - judgeSnow(picture, { x: i * w, y: 0, width: w, height: picture.height })
      .blackShare);
  };
  const across = await litThirds(844, 390);
  const upright = await litThirds(390, 844, { deviceScaleFactor: 3, isMobile: true, hasTouch: true });
  const share = (parts) => parts.reduce((a, b) => a + b) / 3;
  check('a phone held upright is lit as held across, evenly over its width',
    share(upright) <= 2 * share(across) && share(across) <= 2 * share(upright) &&
    Math.max(...upright) <= 2 * Math.min(...upright),
    `across ${across.map((x) => x.toFixed(4))}, upright ${upright.map((x) => x.toFixed(4))}`);

  await page.evaluate(() => {
    const lose = document.getElementById('snow').getContext('webgl').getExtension('WEBGL_lose_context');
    window.quillfrost.restore = () => lose.restoreContext();
    lose.loseContext();
  });
  await page.waitForTimeout(300);
  await page.evaluate(() => window.quillfrost.restore());
  await framesPass(page, 30);
  const restored = await thirds(page);
  check('a lost and restored WebGL context draws snow again', evenSnow(restored, 20),
    describe(restored));

  // A hidden tab gets no frames: with the page's script held for 30 s, the
  // next frame comes 30 s after the last, and the snow must go on where it
  // was, not black with a dense band of flakes sweeping in.
  const session = await page.context().newCDPSession(page);
  await session.send('Debugger.enable');
  await session.send('Debugger.pause');
  await new Promise((done) => setTimeout(done, 30000));
  await session.send('Debugger.resume');
  await session.send('Debugger.disable');
  await page.waitForTimeout(1000);
  const after = await thirds(page);
  check('a page held for 30 s goes on without a band', evenSnow(after, 20), describe(after));

  await nudge(page);
  await page.focus('#quantity');
  const focused = await page.evaluate(() => document.activeElement.id);
  await page.keyboard.press('F');
  const keyed = await rateShown(page);
  check('F with the focus on a slider shows the frame rate', focused === 'quantity' && keyed >= 150,
    `focus on ${focused}, ${keyed} white pixels`);

  await open(page, '?fps=1');
  const white = await rateShown(page);
  check('?fps=1 shows the frame rate in the corner', white >= 150, `${white} white pixels`);
  await page.close();

  const kiosk = await browser.newPage();
  await kiosk.addInitScript(() => Object.defineProperty(navigator, 'wakeLock', {
    value: { request: (type) => {
      window.lockAsked = type;
      return Promise.resolve({ addEventListener() {}, release: () => Promise.resolve() });
    } },
  }));
  await open(kiosk, '?ui=0');
  const bare = await kiosk.evaluate(() => [getComputedStyle(document.getElementById('settings')).display,
    getComputedStyle(document.getElementById('snow')).cursor, getComputedStyle(document.body).cursor]);
  // Without the snow the picture is black unless something else shows.
  await kiosk.evaluate(() => { document.getElementById('snow').style.visibility = 'hidden'; });
  const blank = PNG.sync.read(await kiosk.screenshot()).data;
  const brightest = blank.reduce((most, level, i) => (i % 4 === 3 ? most : Math.max(most, level)), 0);
  check('?ui=0 shows neither settings nor pointer', bare.join() === 'none,none,none' && brightest < 8,
    `${bare}, brightest ${brightest}`);
  const asked = await kiosk.evaluate(() => window.lockAsked);
  check('?ui=0 keeps the screen on', asked === 'screen', String(asked));
  await kiosk.close();

  // A start that fails: one plain sentence, no settings and no error but the
  // browser's own line for a missing file.
  const fromFile = new URL('index.html', new URL(`${process.argv[2]}/`, `file://${process.cwd()}/`)).href;
  for (const [what, address, missing] of [['a page opened from a file', fromFile],
    ['a missing table', site.url, '**/noise_131.dat']]) {
    const failed = await browser.newPage();
    const failedErrors = errorsOf(failed);
    if (missing) {
      await failed.route(missing, (route) => route.fulfill({ status: 404 }));
    }
    await failed.goto(address);
    // Waits on the sentence, not on ready: a handler on ready would hide an
    // uncaught rejection.
    await failed.waitForFunction(() => !document.getElementById('message').hidden);
    const [told, panel] = await failed.evaluate(() => [document.getElementById('message').textContent,
      getComputedStyle(document.getElementById('settings')).display]);
    const uncaught = failedErrors.filter((text) => !text.startsWith('Failed to load resource'));
    check(`${what} says why in a sentence, without settings or errors`,
      /^[A-Z][^\n]{20,200}\.$/.test(told) && !/404|\.dat/.test(told) && panel === 'none' &&
      uncaught.length === 0, `${told} | ${panel} | ${uncaught.join('; ')}`);
    await failed.close();
  }

  const unloaded = await browser.newPage();
  await unloaded.route('**/quillfrost.wasm', (route) => route.abort());
  await unloaded.goto(site.url);
  await unloaded.evaluate(() => window.quillfrost.ready.catch(() => {}));
  const told = await unloaded.evaluate(() => document.getElementById('message').textContent);
  check('a module that fails to load gets a message', told.includes('could not be loaded'), told);
} finally {
  await browser.close();
}

const noWebGl = await launch(['--disable-webgl', '--disable-3d-apis']);
try {
  const page = await noWebGl.newPage();
  await page.goto(site.url);
  await page.evaluate(() => window.quillfrost.ready.catch(() => {}));
  const shown = await page.evaluate(() => !document.getElementById('message').hidden &&
    document.getElementById('message').textContent);
  check('a browser without WebGL gets a message', typeof shown === 'string' && shown.includes('WebGL'),
    String(shown));
} finally {
  await noWebGl.close();
}

const profile = await mkdtemp(join(tmpdir(), 'quillfrost-profile-'));
const withProfile = await launchWithProfile(profile);
try {
  const page = await withProfile.newPage();
  await open(page);
  const cdp = await withProfile.newCDPSession(page);
  const { installabilityErrors } = await cdp.send('Page.getInstallabilityErrors');
  check('Chromium can install the page as an app', installabilityErrors.length === 0,
    JSON.stringify(installabilityErrors));
} finally {
  await withProfile.close();
  await rm(profile, { recursive: true, force: true });
  await site.close();
}
process.exit(failures === 0 ? 0 : 1);

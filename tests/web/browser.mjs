// Shared by the page's tests and benchmark: the page's static folder served
// on loopback, and Debian's Chromium, headless, with WebGL on SwiftShader,
// driven by playwright-core (which downloads no browser of its own).
import { createServer } from 'node:http';
import { readFile } from 'node:fs/promises';
import { extname, join, normalize } from 'node:path';
import { chromium } from 'playwright-core';

const TYPES = {
  '.html': 'text/html; charset=utf-8',
  '.js': 'text/javascript; charset=utf-8',
  '.css': 'text/css; charset=utf-8',
  '.wasm': 'application/wasm',
  '.png': 'image/png',
  '.dat': 'application/octet-stream',
  '.webmanifest': 'application/manifest+json',
};

// Serves the folder at http://127.0.0.1:PORT/; resolves to {url, close}.
export function serve(folder) {
  const server = createServer(async (request, response) => {
    const path = normalize(decodeURIComponent(new URL(request.url, 'http://x').pathname));
    const file = join(folder, path === '/' ? 'index.html' : path);
    try {
      const body = await readFile(file);
      response.writeHead(200, { 'Content-Type': TYPES[extname(file)] || 'application/octet-stream' });
      response.end(body);
    } catch {
      response.writeHead(404);
      response.end();
    }
  });
  return new Promise((resolve) => {
    server.listen(0, '127.0.0.1', () => {
      resolve({
        url: `http://127.0.0.1:${server.address().port}/`,
        close: () => new Promise((done) => server.close(done)),
      });
    });
  });
}

export const CHROMIUM = process.env.QF_CHROMIUM || '/usr/lib/chromium/chromium';

// The switches every headless Chromium of the tests runs with.
export const SWITCHES = [
  '--no-sandbox',
  '--use-angle=swiftshader',
  '--enable-unsafe-swiftshader',
  '--no-first-run',
  '--disable-background-networking',
  '--disable-component-update',
  '--disable-sync',
  '--disable-quic',
];

// extraArgs: more of Chromium's switches, as a test needs them.
export function launch(extraArgs = []) {
  return chromium.launch({
    executablePath: CHROMIUM,
    headless: true,
    args: [...SWITCHES, ...extraArgs],
  });
}

// A browser with a profile of its own in `folder` rather than a private
// window (where Chromium installs no app): resolves to its browser context.
export function launchWithProfile(folder) {
  return chromium.launchPersistentContext(folder, {
    executablePath: CHROMIUM,
    headless: true,
    args: SWITCHES,
  });
}

// What a picture shows of the snow inside a region {x, y, width, height}, on
// the green channel (the flakes are white), as the shell tests judge it:
// spots (4-connected patches brighter than 40 of 255), the share of black
// pixels (below 8), the softly lit pixels (8 to 199) and the mean level.
export function judgeSnow(picture, region) {
  const { width: w, height: h } = region;
  const green = new Uint8Array(w * h);
  for (let y = 0; y < h; ++y) {
    for (let x = 0; x < w; ++x) {
      green[y * w + x] = picture.data[((region.y + y) * picture.width + region.x + x) * 4 + 1];
    }
  }
  let black = 0;
  let soft = 0;
  let sum = 0;
  for (const level of green) {
    sum += level;
    if (level < 8) {
      black += 1;
    } else if (level < 200) {
      soft += 1;
    }
  }
  const seen = new Uint8Array(w * h);
  const stack = [];
  let spots = 0;
  for (let start = 0; start < w * h; ++start) {
    if (green[start] <= 40 || seen[start]) {
      continue;
    }
    spots += 1;
    seen[start] = 1;
    stack.push(start);
    while (stack.length > 0) {
      const at = stack.pop();
      const x = at % w;
      for (const next of [at - w, at + w, x > 0 ? at - 1 : -1, x < w - 1 ? at + 1 : -1]) {
        if (next >= 0 && next < w * h && !seen[next] && green[next] > 40) {
          seen[next] = 1;
          stack.push(next);
        }
      }
    }
  }
  return { spots, blackShare: black / (w * h), soft, mean: sum / (w * h) };
}

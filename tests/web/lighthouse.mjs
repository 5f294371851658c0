// Shared by the Lighthouse test and benchmark: the page's static folder
// served by Python's http.server on loopback, as a user serves it, and
// Lighthouse (from npm) run on it in Debian's Chromium, headless.
import { spawn } from 'node:child_process';
import * as chromeLauncher from 'chrome-launcher';
import lighthouse from 'lighthouse';
import desktopConfig from 'lighthouse/core/config/desktop-config.js';
import { CHROMIUM, SWITCHES } from './browser.mjs';

// Resolves to {url, close} once the server says where it listens.
export function servePython(folder) {
  const server = spawn('python3', ['-u', '-m', 'http.server', '0', '--bind', '127.0.0.1',
    '--directory', folder], { stdio: ['ignore', 'pipe', 'ignore'] });
  return new Promise((resolve, reject) => {
    let said = '';
    server.on('error', reject);
    server.on('exit', (code) => reject(new Error(`http.server ended (${code}): ${said}`)));
    server.stdout.on('data', (chunk) => {
      said += chunk;
      const port = /port (\d+)/.exec(said);
      if (port) {
        resolve({
          url: `http://127.0.0.1:${port[1]}/`,
          close: () => server.kill(),
        });
      }
    });
  });
}

// Lighthouse's result for the given categories of the page at `url` as a
// desktop ('desktop') or a phone ('mobile') sees it, in a Chromium of its own.
export async function runLighthouse(url, formFactor, categories) {
  const chrome = await chromeLauncher.launch({
    chromePath: CHROMIUM,
    chromeFlags: ['--headless=new', ...SWITCHES],
  });
  try {
    const result = await lighthouse(url, {
      port: chrome.port,
      output: 'json',
      logLevel: 'error',
      onlyCategories: categories,
    }, formFactor === 'desktop' ? desktopConfig : undefined);
    return result.lhr;
  } finally {
    await chrome.kill();
  }
}

// The audits of a category that did not score in full: "id (score): title".
export function shortfalls(lhr, category) {
  return lhr.categories[category].auditRefs
    .map((ref) => lhr.audits[ref.id])
    .filter((audit) => audit.score !== null && audit.score < 1)
    .map((audit) => `${audit.id} (${audit.score}): ${audit.title}`);
}

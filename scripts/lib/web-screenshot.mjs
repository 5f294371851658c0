// node web-screenshot.mjs URL OUT.png SECONDS
// Loads the page in headless Chromium at 1280 x 720, waits until its snow
// runs and has drawn for SECONDS more, and saves a screenshot.
import { launch } from '../../tests/web/browser.mjs';

const [url, out, seconds] = process.argv.slice(2);
const browser = await launch();
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 720 } });
  await page.goto(url);
  await page.evaluate(() => window.quillfrost.ready);
  await page.waitForFunction(() => window.quillfrost.framesDrawn > 0);
  await page.waitForTimeout(Number(seconds) * 1000);
  await page.screenshot({ path: out });
  console.log(`saved ${out}: ${await page.evaluate(() => window.quillfrost.flakeCount())} flakes`);
} finally {
  await browser.close();
}

// node web_bench.mjs SITE [frames]
// The page's module in headless Chromium: the motion update and the vertex
// build of a frame at 5000 flakes (the run bench/sim_bench times natively),
// and the frames a second the page draws at 5000 flakes on SwiftShader.
import { launch, serve } from '../tests/web/browser.mjs';

const [siteFolder, frameArgument] = process.argv.slice(2);
const frames = Number(frameArgument || 1000);
const site = await serve(siteFolder);
const browser = await launch();
try {
  const page = await browser.newPage({ viewport: { width: 1280, height: 720 } });
  await page.goto(`${site.url}?quantity=100&speed=50&fractal=1`);
  await page.evaluate(() => window.quillfrost.ready);
  await page.waitForTimeout(1000);
  const start = await page.evaluate(() => [window.quillfrost.framesDrawn, performance.now()]);
  await page.waitForTimeout(5000);
  const end = await page.evaluate(() => [window.quillfrost.framesDrawn, performance.now()]);
  const rate = ((end[0] - start[0]) * 1000) / (end[1] - start[1]);
  const timed = await page.evaluate((n) => window.quillfrost.benchmark(n), frames);
  console.log(`wasm update       ${timed.update.toFixed(3)} ms per frame`);
  console.log(`wasm vertex build ${timed.vertices.toFixed(3)} ms per frame`);
  console.log(`page frame rate   ${rate.toFixed(1)} frames per second (5000 flakes, 1280 x 720, SwiftShader)`);
} finally {
  await browser.close();
  await site.close();
}

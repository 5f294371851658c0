// node snapshot.mjs SITE OUT.pgm
// The fixed scene of the picture comparison (tests/cross_platform), drawn by
// the page's module in headless Chromium (WebGL on SwiftShader) and read
// back: the same run as there, seed 2024, Quantity 20, 1500 ticks of 10 ms,
// 640 x 480. Writes the green channel as a binary PGM, rows from the top.
import { writeFile } from 'node:fs/promises';
import { launch, serve } from './browser.mjs';

const [siteFolder, out] = process.argv.slice(2);
const site = await serve(siteFolder);
const browser = await launch();
try {
  const page = await browser.newPage({ viewport: { width: 640, height: 480 }, deviceScaleFactor: 1 });
  await page.goto(site.url);
  await page.evaluate(() => window.quillfrost.ready);
  const grey = await page.evaluate(() => window.quillfrost.drawFixedScene({
    quantity: 20, speed: 50, fractal: true, seed: 2024, width: 640, height: 480, steps: 1500, stepMs: 10,
  }));
  await writeFile(out, Buffer.concat([Buffer.from('P5\n640 480\n255\n'), Buffer.from(grey)]));
} finally {
  await browser.close();
  await site.close();
}

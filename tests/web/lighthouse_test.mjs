// node lighthouse_test.mjs SITE
// Lighthouse 12 scores the page's accessibility, best practices and SEO 100
// as a desktop and as a phone see it, served by Python's http.server; the
// audits that fall short are printed.
import { runLighthouse, servePython, shortfalls } from './lighthouse.mjs';

const CATEGORIES = ['accessibility', 'best-practices', 'seo'];
const site = await servePython(process.argv[2]);
let failures = 0;
try {
  for (const formFactor of ['desktop', 'mobile']) {
    const lhr = await runLighthouse(site.url, formFactor, CATEGORIES);
    for (const category of CATEGORIES) {
      const score = Math.round(lhr.categories[category].score * 100);
      const short = shortfalls(lhr, category);
      const ok = score === 100;
      console.log(`${ok ? 'ok' : 'FAILED'}: ${formFactor} ${category} ${score}` +
        `${short.length ? ` (${short.join('; ')})` : ''}`);
      failures += ok ? 0 : 1;
    }
    if (lhr.runtimeError) {
      console.log(`FAILED: ${formFactor}: ${lhr.runtimeError.message}`);
      failures += 1;
    }
  }
} finally {
  site.close();
}
process.exit(failures === 0 ? 0 : 1);

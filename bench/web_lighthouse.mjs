// node web_lighthouse.mjs SITE [runs]
// Lighthouse's performance score of the page, served by Python's http.server,
// as a desktop and as a phone see it: each run's score, and per form factor
// the lowest, the highest and the median with the spread between them.
import { runLighthouse, servePython } from '../tests/web/lighthouse.mjs';

const [siteFolder, runArgument] = process.argv.slice(2);
const runs = Math.max(1, Number(runArgument || 5));
const site = await servePython(siteFolder);
try {
  for (const formFactor of ['desktop', 'mobile']) {
    const scores = [];
    for (let run = 1; run <= runs; ++run) {
      const lhr = await runLighthouse(site.url, formFactor, ['performance']);
      const score = Math.round(lhr.categories.performance.score * 100);
      const tbt = lhr.audits['total-blocking-time'].numericValue;
      const lcp = lhr.audits['largest-contentful-paint'].numericValue;
      scores.push(score);
      console.log(`lighthouse ${formFactor} run ${run}: performance ${score}` +
        ` (total blocking time ${Math.round(tbt)} ms, largest contentful paint ${Math.round(lcp)} ms)`);
    }
    scores.sort((a, b) => a - b);
    const median = scores[Math.floor(scores.length / 2)];
    console.log(`lighthouse ${formFactor} performance over ${runs} runs: lowest ${scores[0]},` +
      ` median ${median}, highest ${scores[scores.length - 1]}, spread ${scores[scores.length - 1] - scores[0]}`);
  }
} finally {
  site.close();
}

// Audits generated sites in headless Chromium: Lighthouse's four categories
// and axe-core's WCAG A/AA and best-practice rules, on phones and desktops,
// in the light and the dark scheme. Started by scripts/audit-sites, which
// installs the tools and generates the sites.
//
// Usage: node audit-sites.mjs MODULES-DIR REPORT.md SET=FOLDER... [--pages=home|all|none]
// Serves each folder on a loopback port of its own choosing, runs axe on
// every page and Lighthouse on the home page, on every page or on none (axe
// alone, whose findings do not depend on the machine's load), prints a table
// of the lowest score of each kind over the pages audited, writes it to
// REPORT.md with every finding below it, and exits 1 unless every score is
// 100 and axe finds nothing.
import fs from 'node:fs';
import http from 'node:http';
import os from 'node:os';
import path from 'node:path';
import { createRequire } from 'node:module';

const [modules, reportPath, ...rest] = process.argv.slice(2);
const require = createRequire(path.join(modules, 'node_modules', 'x.js'));
const puppeteer = require('puppeteer-core');
const axeSource = fs.readFileSync(require.resolve('axe-core/axe.min.js'), 'utf8');

const allPages = rest.includes('--pages=all');
const noPages = rest.includes('--pages=none');
const lighthouse = noPages ? null : (await import(require.resolve('lighthouse'))).default;
const desktopConfig = noPages
  ? null : (await import(require.resolve('lighthouse/core/config/desktop-config.js'))).default;
const sites = rest.filter((a) => !a.startsWith('--')).map((a) => {
  const [name, folder] = a.split('=');
  return { name, folder };
});

const kTypes = { '.htm': 'text/html', '.html': 'text/html', '.svg': 'image/svg+xml', '.gif': 'image/gif',
  '.jpg': 'image/jpeg', '.png': 'image/png', '.webp': 'image/webp', '.css': 'text/css', '.xml': 'application/xml',
  '.txt': 'text/plain' };

// A static server for one folder, on 127.0.0.1 only.
function serve(folder) {
  const server = http.createServer((req, res) => {
    const name = decodeURIComponent(new URL(req.url, 'http://x').pathname).replace(/^\/+/, '')
      || ['index.html', 'index.htm'].find((home) => fs.existsSync(path.join(folder, home)));
    const file = path.join(folder, path.normalize(name));
    if (!file.startsWith(folder) || !fs.existsSync(file) || !fs.statSync(file).isFile()) {
      res.writeHead(404, { 'Content-Type': 'text/plain' });
      res.end('not found');
      return;
    }
    res.writeHead(200, { 'Content-Type': kTypes[path.extname(file).toLowerCase()] || 'application/octet-stream',
      'Cache-Control': 'max-age=3600' });
    res.end(fs.readFileSync(file));
  });
  return new Promise((resolve) => server.listen(0, '127.0.0.1', () => resolve(server)));
}

// Chromium as the machine allows it: no sandbox, no network of its own, a
// fresh profile; the dark runs tell pages the reader prefers dark.
async function launch(dark) {
  const profile = fs.mkdtempSync(path.join(os.tmpdir(), 'audit-profile-'));
  const args = ['--no-sandbox', '--disable-gpu', '--no-first-run', '--disable-background-networking',
    '--disable-component-update', '--disable-sync', '--disable-quic'];
  if (dark) args.push('--force-dark-mode');
  const browser = await puppeteer.launch({ executablePath: process.env.CHROMIUM || '/usr/bin/chromium',
    headless: true, userDataDir: profile, args });
  return { browser, profile };
}

const kViewports = {
  mobile: { width: 390, height: 844, deviceScaleFactor: 3, isMobile: true, hasTouch: true },
  desktop: { width: 1280, height: 800, deviceScaleFactor: 1, isMobile: false, hasTouch: false },
};
const kAxeTags = ['wcag2a', 'wcag2aa', 'wcag21a', 'wcag21aa', 'wcag22aa', 'best-practice'];
const kCategories = ['performance', 'accessibility', 'best-practices', 'seo'];

async function runAxe(browser, url, formFactor) {
  const page = await browser.newPage();
  await page.setViewport(kViewports[formFactor]);
  await page.goto(url, { waitUntil: 'load' });
  await page.evaluate(axeSource);
  const result = await page.evaluate(
    (tags) => window.axe.run(document, { runOnly: { type: 'tag', values: tags }, resultTypes: ['violations'] }),
    kAxeTags);
  await page.close();
  return result.violations.map((v) => `${v.id} (${v.impact}): ${v.nodes.length} element(s), e.g. ${v.nodes[0].target.join(' ')}`);
}

async function runLighthouse(browser, url, formFactor) {
  const page = await browser.newPage();
  const flags = { output: 'json', logLevel: 'error', onlyCategories: kCategories };
  const config = formFactor === 'desktop' ? desktopConfig : undefined;
  const result = await lighthouse(url, flags, config, page);
  await page.close();
  const lhr = result.lhr;
  const scores = {};
  const failed = [];
  for (const id of kCategories) {
    const category = lhr.categories[id];
    scores[id] = Math.round((category.score ?? 0) * 100);
    for (const ref of category.auditRefs) {
      const audit = lhr.audits[ref.id];
      if (ref.weight > 0 && audit.score !== null && audit.score < 1)
        failed.push(`${id}: ${ref.id} (${audit.displayValue || audit.score})`);
    }
  }
  return { scores, failed };
}

// Every page (pages end in .html or .htm, as the site's settings say), or
// the home page alone.
function pagesOf(folder, all, none = false) {
  const pages = fs.readdirSync(folder).filter((f) => /\.html?$/.test(f)).sort();
  if (pages.length === 0)
    throw new Error(`${folder} holds no pages`);
  if (none)
    return [];
  return all ? pages : pages.filter((p) => /^index\.html?$/.test(p));
}

const rows = [];
const findings = [];
let ok = true;
for (const scheme of ['light', 'dark']) {
  const { browser, profile } = await launch(scheme === 'dark');
  try {
    for (const site of sites) {
      const server = await serve(path.resolve(site.folder));
      const base = `http://127.0.0.1:${server.address().port}/`;
      for (const formFactor of ['mobile', 'desktop']) {
        const low = { performance: 100, accessibility: 100, 'best-practices': 100, seo: 100 };
        let violations = 0;
        for (const name of pagesOf(site.folder, true)) {
          const url = base + name;
          const where = `${site.name} ${formFactor} ${scheme} ${name}`;
          let shown = '-';
          if (pagesOf(site.folder, allPages, noPages).includes(name)) {
            const lh = await runLighthouse(browser, url, formFactor);
            for (const id of kCategories) low[id] = Math.min(low[id], lh.scores[id]);
            for (const f of lh.failed) findings.push(`${where}: Lighthouse ${f}`);
            shown = kCategories.map((c) => lh.scores[c]).join('/');
          }
          const axe = await runAxe(browser, url, formFactor);
          violations += axe.length;
          for (const v of axe) findings.push(`${where}: axe ${v}`);
          process.stderr.write(`${where}: Lighthouse ${shown}, axe ${axe.length}\n`);
        }
        if (violations > 0 || kCategories.some((c) => low[c] < 100)) ok = false;
        const shown = (id) => (noPages ? '-' : low[id]);
        rows.push(`| ${site.name} | ${formFactor} | ${scheme} | ${shown('performance')} | ${shown('accessibility')} | `
          + `${shown('best-practices')} | ${shown('seo')} | ${violations} |`);
      }
      server.close();
    }
  } finally {
    await browser.close();
    fs.rmSync(profile, { recursive: true, force: true });
  }
}

const table = ['| Set | Form factor | Scheme | Performance | Accessibility | Best Practices | SEO | axe violations |',
  '|---|---|---|---|---|---|---|---|', ...rows].join('\n');
console.log(table);
const details = findings.length ? findings.map((f) => `- ${f}`).join('\n') : 'None.';
fs.writeFileSync(reportPath, `${table}\n\nFindings:\n\n${details}\n`);
if (findings.length) console.log(`\n${details}`);
process.exit(ok ? 0 : 1);

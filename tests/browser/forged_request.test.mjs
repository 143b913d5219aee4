// Another site's page tries every way a page can make the signed-in
// administrator's browser ask for each row that changes something (the
// order book's two starts among them), hiding its own address where it can:
// nothing in the data folder changes and the administrator stays signed in.
// Twice: the site on 127.0.0.1 attacked from 127.0.0.2 (Chromium marks the
// requests with Sec-Fetch-Site), and the site as korva.test attacked from
// evil.test (plain http to a host name: no Sec-Fetch-* at all).
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { createHash } from 'node:crypto';
import { readdir, readFile } from 'node:fs/promises';
import { createServer } from 'node:http';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

const meetSql = ['../testing/registration_meet.sql', '../testing/order_book_meet.sql'].map((file) =>
  fileURLToPath(new URL(file, import.meta.url)),
);

// What an accepted request would do (the rest go bare).
const queries = {
  '/AddAdmin.html': 'str1=evil&str2=evil1234&str3=1',
  '/CaAdPs.html': 'str1=1&str2=x&str3=evil1234',
  '/DelAdmin.html': 'str1=1',
  '/WebBaoMingClose.html': 'ID=1',
  '/setupDqYdh.html': 'str=1',
  '/AdminIndex.html': 'UserName=evil&PassWord=evil1234',
  '/index.html': 'BanJi=101&PassWord=1234',
};

// The attacker's page for one way of asking: its own address hidden.
function attackPage(kind, target, method, query) {
  const fields = [...new URLSearchParams(query)]
    .map(([name, value]) => `<input type="hidden" name="${name}" value="${value}">`).join('');
  const url = query ? `${target}?${query}` : target;
  const body = {
    navigation: `<script>location.href = ${JSON.stringify(url)};</script>`,
    formGet: `<form id="f" method="GET" action="${target}">${fields}</form><script>f.submit();</script>`,
    formPost: `<form id="f" method="POST" action="${target}">${fields}</form><script>f.submit();</script>`,
    link: `<a id="a" rel="noreferrer" href="${url}">go</a><script>a.click();</script>`,
    img: `<img src="${url}">`,
    fetch: `<script>fetch(${JSON.stringify(method === 'POST' ? target : url)}, {mode: 'no-cors', credentials: 'include',
      referrerPolicy: 'no-referrer', method: '${method}'${method === 'POST' ? `, body: ${JSON.stringify(query)}` : ''}});</script>`,
  }[kind];
  return `<html><head><meta name="referrer" content="no-referrer"></head><body>${body}</body></html>`;
}

const getKinds = ['navigation', 'formGet', 'link', 'img', 'fetch'];
const postKinds = ['formPost', 'fetch'];

// The first request for a URL starting with prefix, once answered or failed
// (an image that is no image is blocked after it arrives).
function settledRequest(page, prefix) {
  return new Promise((resolve) => {
    const done = (request) => {
      if (!request.url().startsWith(prefix)) return;
      page.off('requestfinished', done);
      page.off('requestfailed', done);
      resolve(request);
    };
    page.on('requestfinished', done);
    page.on('requestfailed', done);
  });
}

async function dataFiles(folder) {
  const files = {};
  for (const name of (await readdir(folder)).sort().filter((file) => !file.endsWith('-shm'))) {
    files[name] = createHash('sha256').update(await readFile(join(folder, name))).digest('hex');
  }
  return files;
}

async function startAttacker() {
  const server = createServer((request, response) => {
    const { searchParams } = new URL(request.url, 'http://attacker');
    response.setHeader('Content-Type', 'text/html');
    response.end(attackPage(searchParams.get('kind'), searchParams.get('target'), searchParams.get('method'),
      searchParams.get('query')));
  });
  await new Promise((resolve) => server.listen(0, '127.0.0.2', resolve));
  return server;
}

for (const [name, siteHost, attackerHost, extraArgs] of [
  ['a second loopback address', '127.0.0.1', '127.0.0.2', []],
  ['host names', 'korva.test', 'evil.test', ['--host-resolver-rules=MAP korva.test 127.0.0.1, MAP evil.test 127.0.0.2']],
]) {
  test(`forged requests change nothing: ${name}`, async () => {
    const server = await startServer({ meetSql });
    const attacker = await startAttacker();
    const browser = await launchBrowser(extraArgs);
    try {
      const { page } = browser;
      const site = (path) => `http://${siteHost}:${server.port}${path}`;
      await signInAsStaff(page, { url: site, password: server.password });
      // A typed address still changes the meet: registration closes, so an
      // order-book start would now run.
      await page.goto(site('/WebBaoMingClose.html?ID=2'));
      assert.equal(await page.locator('body').innerText(), '3');
      const before = await dataFiles(server.data);

      const rows = server.changing.map((row) => row.split(' '));
      assert.ok(rows.some(([, path]) => path === '/MakeCXC1990.html') && rows.some(([, path]) => path === '/MakeCXC1991.html'));
      const attacks = rows.flatMap(([method, path, roles]) =>
        (method === 'GET' ? getKinds : method === 'POST' ? postKinds : [...getKinds, 'formPost']).map((kind) => ({
          path, kind, verb: kind === 'formPost' || (kind === 'fetch' && method === 'POST') ? 'POST' : 'GET',
          // What arrives with the administrator's session cookie is refused outright.
          refused: ['navigation', 'formGet', 'link'].includes(kind) && (Number(roles) & (1 << 8)) !== 0,
        })));
      // A few tabs at once, each taking the next attack.
      const pages = [page, ...await Promise.all([1, 2, 3].map(() => browser.context.newPage()))];
      await Promise.all(pages.map(async (tab) => {
        for (let attack; (attack = attacks.shift());) {
          const { path, kind, verb, refused } = attack;
          const url = `http://${attackerHost}:${attacker.address().port}/?` + new URLSearchParams({
            kind, target: site(path), method: verb, query: queries[path] || '' });
          const settled = settledRequest(tab, site(path));
          await tab.goto(url);
          const response = await (await settled).response();
          if (refused) assert.equal(response?.status(), 403, `${kind} ${path}`);
        }
      }));
      assert.deepEqual(await dataFiles(server.data), before);
      await page.goto(site('/Admin.html'));
      assert.match(await page.locator('.TopUser').innerText(), /admin/);
    } finally {
      await browser.close();
      attacker.close();
      await server.stop();
    }
  });
}

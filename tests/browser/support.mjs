// Shared by the browser tests: the real server on a free port with a fresh
// data folder (korva_test_server), and Debian's Chromium driven through
// playwright-core with new, empty contexts.
import { execFileSync, spawn } from 'node:child_process';
import { join } from 'node:path';
import { createInterface } from 'node:readline';
import { chromium } from 'playwright-core';

const serverProgram = process.env.KORVA_TEST_SERVER;
const chromiumProgram = process.env.CHROMIUM || '/usr/bin/chromium';

// Starts the server; resolves to { port, password, data (its data folder),
// changing (the rows that change something, as "METHOD /path"), url(path),
// stop() }.
// options.meetSql: a file of SQL (or a list of them, run in order) run on a
// new, opened meet first.
export async function startServer(options = {}) {
  if (!serverProgram) throw new Error('KORVA_TEST_SERVER names no server program');
  const args = [].concat(options.meetSql || []).flatMap((file) => ['--meet', file]);
  const child = spawn(serverProgram, args, { stdio: ['pipe', 'pipe', 'inherit'] });
  const exited = new Promise((resolve) => child.once('exit', resolve));
  const fields = {};
  const lines = createInterface({ input: child.stdout });
  let ready = null;
  lines.on('line', (line) => {
    const at = line.indexOf('=');
    if (at > 0) fields[line.slice(0, at)] = line.slice(at + 1);
    if (line === 'ready') ready?.();
  });
  await new Promise((resolve, reject) => {
    ready = resolve;
    child.once('error', reject);
    child.once('exit', (code) => reject(new Error(`test server ended early (${code})`)));
  });
  const port = Number(fields.port);
  return {
    port,
    password: fields.password,
    data: fields.data,
    changing: (fields.changing || '').split(',').filter(Boolean),
    url: (path) => `http://127.0.0.1:${port}${path}`,
    // Stops the server and starts it again on the same port and data, as
    // a new run of the program: every session ends.
    async restart() {
      const started = new Promise((resolve) => { ready = resolve; });
      child.stdin.write('restart\n');
      await started;
    },
    async stop() {
      child.stdin.end();  // the server stops when its input closes
      await exited;
    },
  };
}

// A headless Chromium for several people at once; resolves to
// { browser, actor(), close() }. Each actor() is a browser context of its
// own (its own cookies, so its own sign-in) with one page whose dialogs are
// accepted and kept in dialogs. extraArgs: more command-line switches.
export async function launchSharedBrowser(extraArgs = []) {
  const browser = await chromium.launch({
    executablePath: chromiumProgram,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync', ...extraArgs],
  });
  return {
    browser,
    async actor() {
      const context = await browser.newContext();
      const page = await context.newPage();
      const dialogs = [];
      page.on('dialog', (dialog) => {
        dialogs.push(dialog.message());
        dialog.accept();
      });
      return { context, page, dialogs };
    },
    close: () => browser.close(),
  };
}

// One person in a Chromium of their own: { context, page, dialogs, close() }.
export async function launchBrowser(extraArgs = []) {
  const shared = await launchSharedBrowser(extraArgs);
  return { ...(await shared.actor()), close: () => shared.close() };
}

// Signs in on the staff login page (as the administrator by default).
export async function signInAsStaff(page, server, name = 'admin', password = server.password) {
  await page.goto(server.url('/AdminIndex.html'));
  await page.fill('#UserName', name);
  await page.fill('#PassWord', password);
  await Promise.all([page.waitForURL('**/Admin.html'), page.click('input[type=submit]')]);
}

// Signs a class teacher in on the home page.
export async function signInAsClassTeacher(page, server, classId, password) {
  await page.goto(server.url('/'));
  await page.selectOption('#BanJi', classId);
  await page.fill('#PassWord', password);
  await Promise.all([page.waitForURL('**/ShowClass.html'), page.click('input[type=submit]')]);
}

// Prints the page at url to an A4 PDF in folder as the browser's print
// would, in a new tab of context; resolves to its text without blanks.
let printed = 0;
export async function printToPdf(context, url, folder) {
  const tab = await context.newPage();
  try {
    await tab.goto(url);
    const file = join(folder, `sheet${++printed}.pdf`);
    await tab.pdf({ path: file, format: 'A4' });
    return execFileSync('pdftotext', ['-raw', '-enc', 'UTF-8', file, '-'], { encoding: 'utf8' }).replace(/\s+/g, '');
  } finally {
    await tab.close();
  }
}

// From now on every print() in context is recorded on the top window
// (window.korvaPrints, the addresses printed) instead of opening the
// printer dialog.
export const recordPrints = (context) => context.addInitScript(() => {
  window.print = () => {
    window.top.korvaPrints = (window.top.korvaPrints || []).concat(window.location.href);
  };
});

// Presses a print button of the print centre; the print frame loads the
// sheet and prints it; resolves to the sheet's address.
export async function pressPrint(page, selector) {
  const before = await page.evaluate(() => (window.korvaPrints || []).length);
  await page.click(selector);
  await page.waitForFunction((n) => (window.korvaPrints || []).length > n, before);
  return page.evaluate(() => window.korvaPrints.at(-1));
}

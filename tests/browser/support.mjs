// Shared by the browser tests: the real server on a free port with a fresh
// data folder (korva_test_server), and Debian's Chromium driven through
// playwright-core with a new, empty profile.
import { spawn } from 'node:child_process';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
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

// A headless Chromium with a profile of its own; resolves to
// { context, page, close() }. Dialogs are accepted and kept in dialogs.
// extraArgs: more command-line switches for Chromium.
export async function launchBrowser(extraArgs = []) {
  const profile = await mkdtemp(join(tmpdir(), 'korva-chromium-'));
  const context = await chromium.launchPersistentContext(profile, {
    executablePath: chromiumProgram,
    headless: true,
    args: [
      '--no-sandbox',
      '--disable-gpu',
      '--disable-quic',
      '--no-first-run',
      '--disable-background-networking',
      '--disable-component-update',
      '--disable-sync',
      ...extraArgs,
    ],
  });
  const page = context.pages()[0] || (await context.newPage());
  const dialogs = [];
  page.on('dialog', (dialog) => {
    dialogs.push(dialog.message());
    dialog.accept();
  });
  return {
    context,
    page,
    dialogs,
    async close() {
      await context.close();
      await rm(profile, { recursive: true, force: true });
    },
  };
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

// One headless Chromium for several people at once: each actor() is a
// browser context of its own (its own cookies, so its own sign-in) with
// one page whose dialogs are accepted and kept in dialogs.
export async function launchSharedBrowser() {
  const browser = await chromium.launch({
    executablePath: chromiumProgram,
    headless: true,
    args: ['--no-sandbox', '--disable-gpu', '--disable-quic', '--no-first-run', '--disable-background-networking',
      '--disable-component-update', '--disable-sync'],
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

// The print administrator's paper, as Chromium prints it: each kind of
// check-in sheet, result sheets and certificates become A4 PDFs whose pages
// and texts are read back with pdftotext; the print centre's buttons load
// the sheet into the hidden frame and print it once; the certificate
// preview moves a line and the account's style sheet keeps it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtemp, rm } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

const meetSql = fileURLToPath(new URL('../testing/print_meet.sql', import.meta.url));

// Prints the page at path to an A4 PDF as the browser's print would;
// resolves to its page count and its text without blanks.
async function printToPdf(context, server, folder, path) {
  const tab = await context.newPage();
  try {
    await tab.goto(server.url(path));
    const file = join(folder, `sheet-${Math.random().toString(36).slice(2)}.pdf`);
    await tab.pdf({ path: file, format: 'A4' });
    const info = execFileSync('pdfinfo', [file], { encoding: 'utf8' });
    const pages = Number(/^Pages:\s+(\d+)/m.exec(info)[1]);
    const text = execFileSync('pdftotext', ['-raw', '-enc', 'UTF-8', file, '-'], { encoding: 'utf8' }).replace(/\s+/g, '');
    return { pages, text };
  } finally {
    await tab.close();
  }
}

test('every kind of sheet and a certificate print on A4 with their texts', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  const folder = await mkdtemp(join(tmpdir(), 'korva-print-'));
  try {
    await signInAsStaff(browser.page, server, 'printer', 'print123');
    const print = (path) => printToPdf(browser.context, server, folder, path);
    const sheets = [
      // Lanes across: both heats of the preliminary on one page.
      { path: '/ViewTable.html?str=1-1-0-0', pages: 1,
        texts: ['径赛检录表', '一年级男子100米预赛第一组(共二组)', '第二组(共二组)', '第二道', '001002', '男1男2', '记录员'] },
      // One row per athlete: 120 in one group, 22 to a page.
      { path: '/ViewTable.html?str=1-7-0-0', pages: 6,
        texts: ['径赛检录表', '一年级女子1500米决赛第一组(共一组)', '比赛计圈专用', '120420女220一年级02班'] },
      // Six attempts, thirteen to a page, printed across.
      { path: '/ViewTable.html?str=1-3-0-0', pages: 1,
        texts: ['田赛检录表', '一年级男子跳远决赛第一组(共一组)', '前三轮成绩', '男8'] },
      // Ten heights: 15 girls take two pages.
      { path: '/ViewTable.html?str=1-4-0-0', pages: 2, texts: ['田赛检录表', '一年级女子跳高决赛', '女115'] },
      // A half-day session: the preliminary's lanes, then the order sheet on a new page.
      { path: '/printzx.html?str=1-1-1', pages: 2, texts: ['一年级男子100米预赛', '一年级男子1500米决赛', '012男12'] },
      { path: '/ViewTable.html?str=3-2-0-0', pages: 1,
        texts: ['竞赛成绩表', '一年级男子100米决赛', '单位：秒', '1001男1一年级02班11.91第1名9分破记录'] },
      { path: '/ViewTable.html?str=3-7-0-0', pages: 6, texts: ['竞赛成绩表', '120420女220一年级02班', '第120名'] },
      { path: '/ViewTable.html?str=4-6-0-0', pages: 3,
        texts: ['一年级01班：', '荣获一年级男子4x100米接力比赛', '第一名', '第三名', '特发此证，并表祝贺！'] },
      { path: '/ViewTable.html?str=6-0-0-0', pages: 1, texts: ['三年级(2)班李明同学：', '在QV网络测试运动会中'] },
    ];
    const faults = [];
    for (const sheet of sheets) {
      const printed = await print(sheet.path);
      if (printed.pages !== sheet.pages) faults.push(`${sheet.path}: ${printed.pages} pages, not ${sheet.pages}`);
      for (const text of sheet.texts)
        if (!printed.text.includes(text)) faults.push(`${sheet.path}: no ${text} in ${printed.text.slice(0, 300)}`);
    }
    assert.deepEqual(faults, []);
  } finally {
    await rm(folder, { recursive: true, force: true });
    await browser.close();
    await server.stop();
  }
});

test('the print buttons print the sheet in the hidden frame once and the layout preview moves a line', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, context } = browser;
    // Each print() call is recorded on the top window instead of opening
    // the printer dialog.
    await context.addInitScript(() => {
      window.print = () => {
        window.top.korvaPrints = (window.top.korvaPrints || []).concat(window.location.href);
      };
    });
    await signInAsStaff(page, server, 'printer', 'print123');
    await page.goto(server.url('/Print2.html'));
    assert.equal(await page.locator('#PrNm2').innerText(), '未打');
    await page.click('input[onclick="cjan2(3,2);"]');
    await page.waitForFunction(() => (window.korvaPrints || []).length === 1);
    assert.match((await page.evaluate(() => window.korvaPrints))[0], /ViewTable\.html\?str=3-2-0-1$/);
    assert.equal(await page.locator('#PrNm2').innerText(), '已打印');
    assert.match(await page.locator('#BotRetDiv').innerText(), /即将开始打印/);
    const frameText = await page.frameLocator('#QvPtFmOne').locator('body').innerText();
    assert.match(frameText, /竞\s*赛\s*成\s*绩\s*表/);
    await page.reload();
    assert.equal(await page.locator('#PrNm2').innerText(), '已打印');

    // A half-day session with nothing of the kind: an alert, and the state
    // line is cleared.
    await page.goto(server.url('/Print1.html'));
    await page.click('input[onclick="sqprint(4,2);"]');
    await page.waitForFunction(() => document.getElementById('BotRetDiv').innerText === '');
    assert.equal(browser.dialogs.at(-1), '无数据可以打印');

    // The search tab sends a name in the page's own encoding.
    await page.goto(server.url('/Print4.html'));
    await page.fill('#namestr', '男2');
    await page.click('#findst');
    await page.waitForFunction(() => document.getElementById('ShowMessage').innerText.includes('男29'));
    assert.equal(await page.locator('#ShowMessage tr').count(), 1 + 11);

    // The layout preview: line 2 down once is 36 px, saved for this account.
    await page.goto(server.url('/Print5.html'));
    const preview = page.frameLocator('#JzYuLan');
    await preview.locator('#jzdiv2').waitFor();
    const saved = page.waitForResponse((r) => r.url().includes('MUpJzDt.html?zjdt=2-1-36'));
    await preview.locator('input[onclick="MoveZjDiv(2,2);"]').click();
    assert.equal(await (await saved).text(), '0');
    const css = await (await page.request.get(server.url('/view.css'))).text();
    assert.match(css, /\.jzline2 \{[^}]*margin-top: 36px;/);
    await page.reload();
    const top = await page.frameLocator('#JzYuLan').locator('#jzdiv2')
      .evaluate((div) => getComputedStyle(div).marginTop);
    assert.equal(top, '36px');

    // "退出" signs the print administrator out, back to the staff login.
    await Promise.all([page.waitForURL('**/AdminIndex.html'), page.click('text=退出')]);
    await page.goto(server.url('/Print1.html'));
    assert.match(await page.locator('body').innerText(), /您的登陆已经超时/);
  } finally {
    await browser.close();
    await server.stop();
  }
});

// The administrator closes registration on the order-book control page,
// starts the order book, watches its progress to the end and downloads the
// document the page then lists.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsAdministrator, startServer } from './support.mjs';

const meetSql = ['../testing/registration_meet.sql', '../testing/order_book_meet.sql'].map((file) =>
  fileURLToPath(new URL(file, import.meta.url)),
);

test('the order book is made on its control page and downloaded', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsAdministrator(page, server);
    await page.goto(server.url('/BookControl.html'));
    assert.equal(await page.locator('#bmzt').innerText(), '开启中');
    assert.match(await page.locator('body').innerText(), /目前无文档可供下载！/);

    // Registration is short of entries, so closing it asks first.
    assert.equal(await page.locator('#BmAnNiu').innerText(), '强制关闭网络报名');
    await page.click('#BmAnNiu');
    await page.waitForFunction(() => document.getElementById('RetDiv2').innerText === '网络报名已关闭');
    assert.match(dialogs.shift(), /目前报名未完成，现在关闭会导致部分班级运动员或者比赛未报满！/);
    assert.equal(await page.locator('#BmAnNiu').innerText(), '开启网络报名');

    // The run ends in a finished bar, a message and a reload.
    const reloaded = page.waitForEvent('load');
    await page.click('#makexcan1');
    await page.waitForFunction(() => document.getElementById('processbar').style.width === '200px');
    assert.equal(await page.locator('#RetDiv').innerText(), '成功生成秩序册！稍候请下载相应文档');
    await reloaded;
    assert.match(dialogs.shift(), /秩序册已成功生成/);

    const link = page.locator('a', { hasText: '点击下载(请选择保存或另存为)' });
    assert.match(await page.locator('body').innerText(), /秩序册\s+\d+月\d+日\d+时\d+分\s+点击下载\(请选择保存或另存为\)\s+已下载0次/);
    // The link opens a tab of its own, which turns into the download.
    const downloads = [];
    browser.context.on('page', (tab) => tab.on('download', (d) => downloads.push(d)));
    page.on('download', (d) => downloads.push(d));
    await link.click();
    const started = Date.now();
    while (downloads.length === 0 && Date.now() - started < 10000) await page.waitForTimeout(100);
    assert.equal(downloads.length, 1);
    const download = downloads[0];
    assert.match(download.suggestedFilename(), /^秩序册\(\d+\)\.doc$/);
    const book = await new Promise((resolve, reject) => {
      download.createReadStream().then((stream) => {
        const parts = [];
        stream.on('data', (part) => parts.push(part));
        stream.on('end', () => resolve(Buffer.concat(parts).toString('utf8')));
        stream.on('error', reject);
      }, reject);
    });
    assert.match(book, /^<\?xml version="1.0" encoding="UTF-8" standalone="yes"\?>/);
    assert.match(book, /<w:t>001&lt;xmp&gt;&amp;  002张一/);
    await page.reload();
    assert.match(await page.locator('body').innerText(), /已下载1次/);
  } finally {
    await browser.close();
    await server.stop();
  }
});

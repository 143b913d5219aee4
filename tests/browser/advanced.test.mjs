// The advanced-functions page: the administrator finds an athlete, enters
// him into one more event, and renumbers the meet after giving his name and
// password again.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

// Drawn and numbered: athlete 男11 (class 103, number 011) is in no round.
const meetSql = fileURLToPath(new URL('../testing/scoring_meet.sql', import.meta.url));

async function nextDialog(dialogs, page) {
  const started = Date.now();
  while (dialogs.length === 0 && Date.now() - started < 10000) await page.waitForTimeout(50);
  return dialogs.shift();
}

async function search(page, text) {
  await page.click('a[href="javascript:GetGnStr(3);"]');
  await page.fill('#ststr', text);
  await page.click('#an3');
  await page.waitForSelector('legend:text("搜索结果")');
  return page.locator('#gndiv1 tr', { hasText: text });
}

test('an athlete is found, joins an event, and the meet is renumbered', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsStaff(page, server);
    await page.goto(server.url('/Adft.html'));

    // The name travels in the page's own encoding.
    let row = await search(page, '男11');
    assert.equal(await row.count(), 1);
    assert.match(await row.innerText(), /男11\s+男\s+011\s+一年级03班/);

    await row.locator('input[value="修改运动员的比赛"]').click();
    const join = page.locator('input[onclick^="TuiSanAndCanSai(902,11,2,"]');
    await join.waitFor();
    await join.click();
    assert.equal(await nextDialog(dialogs, page), '确定该运动员参加“跳远”项目的比赛嘛？');
    const answer = await nextDialog(dialogs, page);
    assert.doesNotMatch(answer, /错误|失败/);
    // The table comes back with the event entered and a withdraw button.
    await page.locator('input[onclick^="TuiSanAndCanSai(902,11,1,"]').waitFor();
    assert.match(await page.locator('#gndiv1').innerText(), /跳远\(已报\)/);

    // Renumbering asks for the credentials again; an empty form is refused.
    await page.click('a[href="javascript:GetGnStr(40);"]');
    await page.click('#cphm1');
    await page.click('#afOk');
    assert.equal(await nextDialog(dialogs, page), '请输入用户名及密码！');
    await page.fill('#adminname', 'admin');
    await page.fill('#adminpass', server.password);
    await page.click('#afOk');
    assert.equal(await nextDialog(dialogs, page), '重排号码已完成，请重新生成秩序册，然后下载即可！');
    assert.equal(await page.locator('#afBox').isVisible(), false);
    // Class 103's boys start after two classes of 20 boys and 20 girls;
    // 男11 is the fourth of them.
    row = await search(page, '男11');
    assert.match(await row.innerText(), /男11\s+男\s+084\s+一年级03班/);
  } finally {
    await browser.close();
    await server.stop();
  }
});

// The administrator types school records on the records page: Enter saves
// a cell, Esc takes the shown record back, an emptied cell deletes it.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

const meetSql = fileURLToPath(new URL('../testing/scoring_meet.sql', import.meta.url));

test('record cells save themselves on Enter', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page } = browser;
    await signInAsStaff(page, server);
    await page.goto(server.url('/ShowTopScore.html'));
    // Cell 1 is the boys' 100米.
    const tip = page.locator('#TipText1');
    await page.fill('#TopScore1', '12.5');
    await page.press('#TopScore1', 'Enter');
    await assert.doesNotReject(tip.filter({ hasText: '已保存' }).waitFor());
    assert.equal(await page.inputValue('#TopScore1'), '12.05');
    assert.equal(await page.evaluate(() => document.activeElement.id), 'TopScore2');

    await page.fill('#TopScore1', 'abc');
    await page.press('#TopScore1', 'Enter');
    await tip.filter({ hasText: '成绩格式错误' }).waitFor();
    assert.equal(await page.inputValue('#TopScore1'), '12.05');
    await page.fill('#TopScore1', '11');
    await page.press('#TopScore1', 'Escape');
    assert.equal(await page.inputValue('#TopScore1'), '12.05');

    await page.reload();
    assert.equal(await page.inputValue('#TopScore1'), '12.05');
    await page.fill('#TopScore1', '');
    await page.press('#TopScore1', 'Enter');
    await tip.filter({ hasText: '记录已删除' }).waitFor();
    await page.reload();
    assert.equal(await page.inputValue('#TopScore1'), '');
  } finally {
    await browser.close();
    await server.stop();
  }
});

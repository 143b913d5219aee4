// A venue made smaller offers its drawn rounds to be drawn again, on a
// page whose script checks the choice.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

const meetSql = fileURLToPath(new URL('../testing/scoring_meet.sql', import.meta.url));

test('a venue made smaller offers its drawn rounds to be drawn again', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsStaff(page, server);
    await page.goto(server.url('/SetupYard.html?id=4'));
    await page.selectOption('#CDGuiGe', '5');
    await Promise.all([page.waitForURL('**/AddYard.html'), page.click('#postcd')]);
    const offer = page.locator('.MainTable');
    assert.match(await offer.innerText(), /该场地规格已更改/);
    assert.equal(await page.locator('#MaxBsI').inputValue(), '2');

    await page.click('input[value="将选中的比赛重新分组分道"]');
    assert.deepEqual(dialogs.splice(0), ['您没有选择任何比赛，请至少选择其中一项比赛！或者直接返回。']);
    await page.click('#Qx1');
    assert.deepEqual([await page.isChecked('#bs1'), await page.isChecked('#bs2')], [true, true]);
    await Promise.all([page.waitForURL('**/ChongPaiBiSai.html'), page.click('input[value="将选中的比赛重新分组分道"]')]);
    const done = await offer.innerText();
    assert.match(done, /操作结果如下：/);
    assert.equal(done.match(/已成功重新分组分道！/g).length, 2);
  } finally {
    await browser.close();
    await server.stop();
  }
});

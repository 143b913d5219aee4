// The scripts of the school catalogue's pages (what the whole meet does
// not walk): a new grade and one more class, starting numbers filled in,
// a venue with markup deleted, a track's lanes switched, the event form's
// dependent selects, the scheme form's check; and a venue made smaller
// offers its drawn rounds to be drawn again.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

test('the catalogue pages check and fill their forms', async () => {
  const server = await startServer();
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    const go = (path) => page.goto(server.url(path));
    const text = () => page.locator('.MainTable').innerText();
    // Clicks something that sends the browser to another page.
    const follow = async (selector, urlGlob) => {
      await Promise.all([page.waitForURL(urlGlob), page.click(selector)]);
    };
    // The dialogs shown since the last call, once at least one is there.
    const shown = async () => {
      while (dialogs.length === 0) await page.waitForTimeout(20);
      return dialogs.splice(0);
    };
    await signInAsStaff(page, server);

    await go('/JianLiYdh.html');
    await page.fill('#wydhname', '第一届运动会');
    await follow('#postydh', '**/JianLiYdh.html');

    // A grade of three classes, then a fourth, then starting numbers
    // filled from the first two.
    await go('/SetupSchool.html');
    await follow('input[value="添加新的年级"]', '**/SetupGrade.html');
    await page.click('#postnj');
    assert.deepEqual(dialogs.splice(0), ['请输入年级名称！']);
    await page.fill('#GradeName', ' 初一 ');
    await page.fill('#GradeStName', '7');
    await page.selectOption('#BanJiShuLiang', '3');
    await follow('#postnj', '**/AddGrade.html');
    assert.match(await text(), /操作成功！\s*\[初一\]年级已经成功保存！/);
    await go('/SetupSchool.html');
    assert.match(await text(), /7\s+初一\s+7\s+3/);
    await follow('input[onclick="ChangNJ(7)"]', '**/SetupGrade.html?id=7');
    const reloaded = page.waitForEvent('load');
    await page.click('input[value="增加一个班"]');
    await reloaded;
    assert.deepEqual(dialogs.splice(0), ['确定要增加一个班级嘛？']);
    assert.match(await text(), /4\s+704班/);
    await follow('input[value="自定义班级名称和起始号码"]', '**/EditClassName.html?GDID=7');
    const boys = page.locator('input[name=MQsHao]');
    await boys.nth(0).fill('100');
    await boys.nth(1).fill('1x0');
    await page.click('input[value="自动填充运动员号码"]');
    assert.deepEqual(dialogs.splice(0), ['运动员号码必须为数字！']);
    await boys.nth(1).fill('200');
    await page.click('input[value="自动填充运动员号码"]');
    assert.deepEqual(dialogs.splice(0), ['自动填充完毕，检查无误后请按“提交修改”按钮。']);
    assert.equal(await boys.nth(3).inputValue(), '400');
    await page.locator('input[name=CSname]').nth(1).fill('  ');
    await page.click('input[value="提交修改"]');
    assert.deepEqual(dialogs.splice(0), ['请输入班级名称！']);
    await page.locator('input[name=CSname]').nth(1).fill('初一(2)班');
    await follow('input[value="提交修改"]', '**/SetupGrade.html?id=7');
    assert.match(await text(), /2\s+初一\(2\)班\s+200/);

    // A field venue, one with markup in its name that is deleted again, and
    // a track's lanes.
    await go('/ShowYards.html');
    await follow('input[value="添加新的场地"]', '**/SetupYard.html');
    await page.fill('#ChangDiName', '铅球场');
    await page.selectOption('#CDGuiGe', '8');
    await page.fill('#ChangDiInfo', '铅球');
    await follow('#postcd', '**/AddYard.html');
    await go('/SetupYard.html');
    await page.fill('#ChangDiName', '临时<场>');
    await follow('#postcd', '**/AddYard.html');
    await go('/ShowYards.html');
    await follow('input[onclick^="DelCD(9,"]', '**/DelYard.html');
    assert.deepEqual(dialogs.splice(0), ['确定要删除[临时<场>]这个场地嘛？']);
    assert.match(await text(), /\[临时<场>\]比赛场地已删除！/);
    await go('/SetupYard.html?id=3');
    for (const lane of [3, 4, 5, 6]) {
      await page.click(`#SYD${lane} a`);
      await page.waitForFunction((k) => document.getElementById(`SYHD${k}`).value === '0', lane);
    }
    await page.click('#SYD1 a');
    assert.deepEqual(await shown(), ['可使用的跑道不得少于2道！']);
    await page.click('#SYD9 a');
    await page.waitForFunction(() => document.getElementById('SYD9').className === 'paodaosy');
    await follow('#postcd', '**/AddYard.html');
    assert.match(await text(), /比赛场地名称：跨栏道\s*规格：3道\/组/);

    // A field event at the new venue.
    await go('/ShowMatch.html');
    await follow('input[value="添加新的比赛项目"]', '**/SetupMatch.html');
    await page.fill('#BiSaiName', '铅球');
    await page.selectOption('#BiSaiType', '2');
    assert.equal(await page.locator('#PaiXuType').inputValue(), '2');
    assert.equal(await page.locator('#FZFDType').inputValue(), '2');
    await page.selectOption('#TuanTiType', '2');
    assert.equal(await page.locator('#YuJueType').isDisabled(), true);
    await page.selectOption('#TuanTiType', '1');
    assert.equal(await page.locator('#TuanTiRenShu').isDisabled(), true);
    await page.selectOption('#UnitType', '米');
    await page.selectOption('#ChangDi', { label: '铅球场' });
    await follow('#postbs', '**/AddMatch.html');
    assert.match(await text(), /\[铅球\]比赛项目已经成功保存！/);

    // A scheme for the first three places.
    await go('/ShowScore.html');
    await follow('input[value="添加新的分制"]', '**/SetupScore.html');
    await page.fill('#FZName', '前三名');
    await page.click('input[value="提交数据"]');
    assert.deepEqual(dialogs.splice(0), ['至少指定第一名的得分！']);
  } finally {
    await browser.close();
    await server.stop();
  }
});

test('a venue made smaller offers its drawn rounds to be drawn again', async () => {
  const meetSql = fileURLToPath(new URL('../testing/scoring_meet.sql', import.meta.url));
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

// The scripts of the set-up forms (the whole meet fills them in; the HTTP
// tests follow the home page's table): the create form's checks, the
// meet's information, the grades and the group events, and the set-up
// road from one step to the next.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

async function submitAndWait(page, selector, path) {
  await Promise.all([page.waitForURL(`**/${path}`), page.click(selector)]);
  return page.locator('.MainTable').innerText();
}

test('the set-up forms check what they send and lead from step to step', async () => {
  const server = await startServer();
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsStaff(page, server);
    // The create form: an empty name is refused by the page, the first
    // grade row's settings go to all; later the name of a meet is taken.
    await Promise.all([page.waitForURL('**/JianLiYdh.html'), page.click('#MeetStatus a')]);
    await page.click('#postydh');
    assert.deepEqual(dialogs.splice(0), ['请输入运动会名称']);
    await page.locator('select[name=wmzxb]').first().selectOption('8');
    await page.click('#copy1toall');
    assert.equal(await page.locator('select[name=wmzxb]').last().inputValue(), '8');
    await page.fill('#wydhname', ' 春季运动会 ');
    assert.match(await submitAndWait(page, '#postydh', 'JianLiYdh.html'), /恭喜您成功建立“春季运动会”/);
    await page.goto(server.url('/JianLiYdh.html'));
    await page.fill('#wydhname', '春季运动会');
    await page.click('#postydh');
    assert.deepEqual(dialogs.splice(0), ['运动会名称已存在，请修改运动会名称！']);

    // ① The meet's information: the page refuses an empty name itself.
    await page.goto(server.url('/SetupMeetName.html'));
    assert.equal(await page.inputValue('#wydhname'), '春季运动会');
    await page.fill('#wydhname', '  ');
    await page.click('#postname');
    assert.deepEqual(dialogs.splice(0), ['请输入运动会名称']);
    await page.fill('#wydhname', '秋季<田径>运动会');
    await page.selectOption('#wshichang', '2');
    await page.selectOption('#KaiMuShi', '7');
    await page.uncheck('#jianyiluqu');
    assert.match(await submitAndWait(page, '#postname', 'ChangYdhName.html'), /成功修改“秋季<田径>运动会”!/);
    assert.match(await page.locator('.TopTitle').innerText(), /秋季<田径>运动会/);
    await page.goto(server.url('/SetupMeetName.html'));
    assert.equal(await page.inputValue('#wshichang'), '2');
    assert.equal(await page.inputValue('#KaiMuShi'), '7');
    assert.equal(await page.isChecked('#jianyiluqu'), false);

    // ② Groups: grades 1 and 2 stay, grade 2 without its girls.
    await page.click('a:has-text("②选择参赛年级")');
    await page.waitForURL('**/SetupMeetGrade.html');
    const grades = page.locator('input[name=wnjsel]');
    const count = await grades.count();
    for (let i = 0; i < count; i++) await grades.nth(i).uncheck();
    assert.equal(await page.locator('select[name=wmzxb]').nth(1).isDisabled(), true);
    await page.click('#postgrade');
    assert.deepEqual(dialogs.splice(0), ['请选择参加比赛的年级！']);
    await grades.nth(0).check();
    await grades.nth(1).check();
    await page.locator('input[name=wgirlsel]').nth(1).uncheck();
    assert.equal(await grades.nth(1).isChecked(), true);
    await page.locator('select[name=wmzxb]').nth(0).selectOption('5');
    const groups = await submitAndWait(page, '#postgrade', 'ChangeGrade.html');
    assert.match(groups, /已删除：二年级女子组/);
    assert.match(groups, /已删除：六年级男子组/);
    assert.doesNotMatch(groups, /已删除：一年级/);

    // ③ Group events: the set-up road leads there while no group has its
    // events.
    await page.goto(server.url('/SetupMeet.html'));
    await page.waitForSelector('form[name=yform3]');
    // Groups 1 and 2 are grade 1's boys and girls, 3 grade 2's boys. The
    // girls follow the boys while GirlByBoy is ticked.
    assert.equal(await page.locator('table[name=girljsz]').isVisible(), false);
    await page.click('#button3');
    assert.deepEqual(dialogs.splice(0), ['还有竞赛组没安排比赛！']);
    await page.uncheck('#GirlByBoy');
    assert.deepEqual(dialogs.splice(0), ['取消该选项后，您必须分别设置各个年级的男子组与女子组的比赛！']);
    assert.equal(await page.locator('table[name=girljsz]').isVisible(), true);
    await page.check('#GirlByBoy');
    assert.equal(await page.locator('table[name=girljsz]').isVisible(), false);

    await page.check('input[name=bsidz1][value="1"]');   // 50米
    await page.check('input[name=bsidz1][value="15"]');  // 8×50米迎面接力, boys and girls together
    await page.click('#BsLb3');                          // brings grade 2's boxes into view
    await page.check('input[name=bsidz3][value="2"]');   // 60米
    await page.check('input[name=bsidz3][value="15"]');  // grade 2 has no girls' group
    assert.equal(await page.inputValue('#BsLb1'), '50米;8×50米迎面接力;');
    assert.equal(await page.inputValue('#BsLb2'), '50米;8×50米迎面接力;');
    assert.equal(await page.inputValue('#BsLb3'), '60米;8×50米迎面接力;');
    assert.equal(await page.isChecked('input[name=bsidz2][value="15"]'), true);
    const events = await submitAndWait(page, '#button3', 'ChangGrdeMatch.html');
    assert.match(events, /网络报名已经打开/);
    assert.match(events, /点此继续设置此运动会（日程安排）/);

    // ④ The road then leads to the schedule.
    await page.goto(server.url('/SetupMeet.html'));
    await page.waitForSelector('#dablist');
    const rounds = await page.locator('#dablist option').evaluateAll((all) => all.map((o) => o.value));
    assert.ok(rounds.length > 0);
    await page.selectOption('#dablist', rounds);
    await Promise.all([
      page.waitForURL(/MatchPlan\.html\?DayID=/),
      page.click('input[value="将下方选中的比赛安排到："]'),
    ]);
    assert.equal(await page.locator('#dablist option').count(), 0);
  } finally {
    await browser.close();
    await server.stop();
  }
});

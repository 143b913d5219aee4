// A class teacher signs in with the class password, enrols boys until the
// class's group is full, changes the leader name, deletes one athlete and
// sees the page change when the administrator closes registration.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, startServer } from './support.mjs';

const meetSql = fileURLToPath(new URL('../testing/registration_meet.sql', import.meta.url));

async function signInAsClassTeacher(page, server) {
  await page.goto(server.url('/'));
  await page.selectOption('#BanJi', '101');
  await page.fill('#PassWord', '1111');
  await Promise.all([page.waitForURL('**/ShowClass.html'), page.click('input[type=submit]')]);
}

// Signs in as administrator outside the browser (its own session) and
// closes registration; resolves to the one-digit answer.
async function closeRegistration(server) {
  const first = await fetch(server.url('/AdminIndex.html'));
  const cookie = first.headers.get('set-cookie').split(';')[0];
  await first.arrayBuffer();
  const login = await fetch(server.url('/AdminIndex.html'), {
    method: 'POST',
    headers: { cookie, 'content-type': 'application/x-www-form-urlencoded' },
    body: `UserName=admin&PassWord=${server.password}`,
  });
  await login.arrayBuffer();
  // Signing in gives the session a new number.
  const signedIn = login.headers.get('set-cookie').split(';')[0];
  const answer = await fetch(server.url('/WebBaoMingClose.html?ID=2'), { headers: { cookie: signedIn } });
  return answer.text();
}

// Fills the enrol form with a name and event ids and sends it; resolves to
// the answer that replaced the form.
async function enrol(page, name, eventIds) {
  await page.fill('#stname', name);
  for (const id of eventIds) await page.check(`#gndiv1 input[value="${id}"]`);
  await page.click('#an3');
  await page.waitForFunction(() => !document.getElementById('stname'));
  return page.locator('#gndiv1').innerText();
}

test('a class teacher enrols athletes until the class is full and deletes one', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsClassTeacher(page, server);
    assert.match(await page.locator('#boys').innerText(), /男子运动员：（限报3人，每人限报2项，每项限报2人，全能限报2人）/);
    assert.match(await page.locator('#bmts').innerText(), /男子组还可报3名运动员/);

    // The leader name goes to the server through the page's script.
    await page.click('#tjldan');
    await page.fill('#lingdui', '<b>张老师');
    await page.click('#tjldan');
    await page.waitForFunction(() => document.getElementById('ldts').innerText.includes('已更新'));

    await Promise.all([page.waitForURL('**/BoyEnroll.html'), page.click('input[value="添加男子运动员"]')]);
    assert.match(await page.locator('#gndiv1').innerText(), /当前竞赛组单项每人限报2项，全能限报2项，每项限报2人，每组限报3人/);
    // Two single events reach the athlete's limit: the third is disabled.
    await page.check('input[value="901"]');
    await page.check('input[value="902"]');
    assert.equal(await page.locator('input[value="903"]').isDisabled(), true);
    assert.equal(await page.locator('#DxBcName903').getAttribute('class'), 'ShanChuXian');
    await page.uncheck('input[value="902"]');
    assert.equal(await page.locator('input[value="903"]').isDisabled(), false);
    await page.uncheck('input[value="901"]');

    // Without an event the page refuses to send.
    await page.fill('#stname', '张三');
    await page.click('#an3');
    assert.deepEqual(dialogs, ['请选择运动员参加的比赛！']);

    let answer = await enrol(page, '张 三', ['901', '902']);
    assert.match(answer, /报名成功，报名信息如下：/);
    assert.match(answer, /姓名：张三,报名的比赛：100米，跳远，。/);
    await page.click('text=继续报名');
    await page.waitForSelector('#stname');
    assert.match(await enrol(page, '<xmp>李四', ['901', '905']), /姓名：<xmp>李四,/);
    await page.click('text=继续报名');
    await page.waitForSelector('#stname');
    // 100米 now has its two entrants: struck through and marked full.
    assert.equal(await page.locator('input[value="901"]').isDisabled(), true);
    assert.match(await page.locator('#DxBcName901 + span').innerText(), /满/);
    answer = await enrol(page, '王五', ['903']);
    assert.match(answer, /男子竞赛组已报满，请返回班级首页！/);

    await Promise.all([page.waitForURL('**/ShowClass.html'), page.click('text=返回班级首面')]);
    const boys = await page.locator('#boys').innerText();
    for (const name of ['张三', '<xmp>李四', '王五']) assert.ok(boys.includes(name), name);
    assert.doesNotMatch(await page.locator('#bmts').innerText(), /男子组还可报/);
    assert.equal(await page.locator('#lingdui').inputValue(), '<b>张老师');
    dialogs.length = 0;
    await page.click('input[value="添加男子运动员"]');
    assert.deepEqual(dialogs, ['竞赛组限报3人,不能再添加新的运动员.']);

    // Delete 王五: tick, confirm, back on the home page.
    const row = page.locator('#boys tr', { hasText: '王五' });
    await row.locator('input[name=manc1]').check();
    dialogs.length = 0;
    await Promise.all([page.waitForURL('**/DelST.html'), page.click('input[value="删除所选男运动员"]')]);
    await page.waitForURL('**/ShowClass.html');
    assert.deepEqual(dialogs, ['确定要删除选中的男子运动员嘛？']);
    assert.doesNotMatch(await page.locator('#boys').innerText(), /王五/);
    assert.match(await page.locator('#bmts').innerText(), /男子组还可报1名运动员/);

    // The administrator closes registration; the teacher's page shows it.
    assert.equal(await closeRegistration(server), '3');
    await page.reload();
    assert.match(await page.locator('#bmts').innerText(), /运动员报名已经截止！/);
    assert.equal(await page.locator('input[name=manc1]').count(), 0);
    assert.equal(await page.locator('input[value="添加男子运动员"]').count(), 0);
  } finally {
    await browser.close();
    await server.stop();
  }
});

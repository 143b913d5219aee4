// The scripts of the class teacher's pages (the whole meet walks the
// enrolment itself): the leader name, the per-athlete limit striking the
// other events, an enrolment without events, a deletion that asks first,
// the results page counting down to its reload and the password form's
// checks.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, signInAsClassTeacher, startServer } from './support.mjs';
import { fileURLToPath } from 'node:url';

const meetSql = fileURLToPath(new URL('../testing/registration_meet.sql', import.meta.url));

// Fills the enrol form with a name and event ids and sends it; resolves to
// the answer that replaced the form.
async function enrol(page, name, eventIds) {
  await page.fill('#stname', name);
  for (const id of eventIds) await page.check(`#gndiv1 input[value="${id}"]`);
  await page.click('#an3');
  await page.waitForFunction(() => !document.getElementById('stname'));
  return page.locator('#gndiv1').innerText();
}

test('a class teacher enrols and deletes athletes and changes the password', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsClassTeacher(page, server, '101', '1111');
    assert.match(await page.locator('#bmts').innerText(), /男子组还可报3名运动员/);

    // The leader name goes to the server through the page's script.
    await page.click('#tjldan');
    await page.fill('#lingdui', '<b>张老师');
    await page.click('#tjldan');
    await page.waitForFunction(() => document.getElementById('ldts').innerText.includes('已更新'));

    await Promise.all([page.waitForURL('**/BoyEnroll.html'), page.click('input[value="添加男子运动员"]')]);
    // Two single events reach the athlete's limit: the third is disabled.
    await page.check('input[value="901"]');
    await page.check('input[value="902"]');
    assert.equal(await page.locator('input[value="903"]').isDisabled(), true);
    assert.equal(await page.locator('#DxBcName903').getAttribute('class'), 'ShanChuXian');
    await page.uncheck('input[value="902"]');
    assert.equal(await page.locator('input[value="903"]').isDisabled(), false);
    await page.uncheck('input[value="901"]');
    await page.fill('#stname', '张三');
    await page.click('#an3');
    assert.deepEqual(dialogs.splice(0), ['请选择运动员参加的比赛！']);
    assert.match(await enrol(page, '张 三', ['901', '902']), /姓名：张三,报名的比赛：100米，跳远，。/);
    await page.click('text=继续报名');
    await page.waitForSelector('#stname');
    assert.match(await enrol(page, '<xmp>王五', ['903']), /姓名：<xmp>王五,/);

    await Promise.all([page.waitForURL('**/ShowClass.html'), page.click('text=返回班级首面')]);
    assert.equal(await page.locator('#lingdui').inputValue(), '<b>张老师');
    const row = page.locator('#boys tr', { hasText: '<xmp>王五' });
    await row.locator('input[name=manc1]').check();
    await Promise.all([page.waitForURL('**/DelST.html'), page.click('input[value="删除所选男运动员"]')]);
    await page.waitForURL('**/ShowClass.html');
    assert.deepEqual(dialogs.splice(0), ['确定要删除选中的男子运动员嘛？']);
    assert.doesNotMatch(await page.locator('#boys').innerText(), /王五/);
    assert.match(await page.locator('#bmts').innerText(), /男子组还可报2名运动员/);

    await page.goto(server.url('/SeeClassCJ.html'));
    await page.waitForFunction(() => Number(document.getElementById('miao').innerText) < 60);
    // The class frame wears the staff frames' bars.
    const look = (selector) => page.$eval(selector, (e) => getComputedStyle(e).backgroundColor);
    assert.equal(await look('.top'), 'rgb(27, 94, 159)');
    assert.equal(await look('.nav'), 'rgb(232, 240, 248)');
    await page.goto(server.url('/ChangPass.html'));
    // Each refusal is an alert, and nothing is sent.
    for (const [oldword, newword, again, alert] of [
      ['1111', 'abcd', 'abce', '两次输入的新密码不一致!'],
      ['1111', 'a b c', 'abc', '密码至少为4位！'],
      ['9999', 'abcd', 'abcd', '密码修改失败，请检查原密码是否填写正确！'],
      // What the sign-in refuses is refused here too.
      ['1111', 'ab(cd)', 'ab(cd)', '密码修改失败，请检查原密码是否填写正确！'],
    ]) {
      await page.fill('#oldpassword', oldword);
      await page.fill('#newpassword', newword);
      await page.fill('#newpassword2', again);
      await page.click('#changAn');
      while (dialogs.length === 0) await page.waitForTimeout(50);
      assert.deepEqual(dialogs.splice(0), [alert]);
    }
    // A password and a leader are stored as typed, '#' and all.
    await page.fill('#oldpassword', '1111');
    await page.fill('#newpassword', 'abcd#1234');
    await page.fill('#newpassword2', 'abcd#1234');
    await Promise.all([page.waitForURL('**/ShowClass.html'), page.click('#changAn')]);
    assert.deepEqual(dialogs.splice(0), ['密码修改成功！按确定返回班级首页！']);
    await page.click('#tjldan');
    await page.fill('#lingdui', '王#李');
    await page.click('#tjldan');
    await page.locator('#ldts', { hasText: '已更新' }).waitFor();
    await signInAsClassTeacher(page, server, '101', 'abcd#1234');
    assert.equal(await page.inputValue('#lingdui'), '王#李');
    // "退出登陆" signs the teacher out, back to the class login.
    await Promise.all([page.waitForURL(server.url('/')), page.click('text=退出登陆')]);
    await page.goto(server.url('/ShowClass.html'));
    assert.match(await page.locator('body').innerText(), /您的登陆已经超时/);
  } finally {
    await browser.close();
    await server.stop();
  }
});

// A class teacher reads the entry listings of his grade and his class's
// results, and changes the class password.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { mkdtemp, readFile, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import { fileURLToPath } from 'node:url';
import { launchBrowser, startServer } from './support.mjs';

const registrationSql = fileURLToPath(new URL('../testing/registration_meet.sql', import.meta.url));

// Athletes of classes 101 and 102, the boys' 100米 with a preliminary and
// a final counted on 3 May at 09:05.
const resultsSql = `
UPDATE qrtb425 SET qrtb429 = 1, qrtb430 = 8 WHERE qrtb426 = 1101;
INSERT INTO qrtb409 (qrtb410, qrtb411, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416) VALUES
  ('张三', 1, 1, 1, 101, 1, 0), ('李四', 2, 2, 1, 101, 1, 0), ('王五', 3, 11, 1, 102, 1, 0);
INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES (1101, 1), (1101, 2), (1105, 2), (1101, 3);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb452, qrtb453, qrtb458) VALUES
  (5001, 1101, 1, 0, 3, 8, 0), (5002, 1101, 2, 0, 2, 6, 5030905);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487, qrtb488, qrtb489) VALUES
  (1, 5001, 1, 3, 1, 1234, 0, 999, 0, 0), (2, 5001, 1, 4, 2, 1300, 0, 0, 0, 0), (3, 5001, 1, 5, 3, 1250, 0, 999, 0, 0),
  (4, 5002, 1, 4, 1, 1200, 0, 1, 700, 0), (5, 5002, 1, 5, 3, 1240, 0, 2, 500, 0);
`;

async function signInAsClassTeacher(page, server, password) {
  await page.goto(server.url('/'));
  await page.selectOption('#BanJi', '101');
  await page.fill('#PassWord', password);
  await Promise.all([page.waitForURL('**/ShowClass.html'), page.click('input[type=submit]')]);
}

test('a class teacher reads the listings and results and changes the password', async () => {
  const folder = await mkdtemp(join(tmpdir(), 'korva-meet-'));
  const meetSql = join(folder, 'meet.sql');
  await writeFile(meetSql, (await readFile(registrationSql, 'utf8')) + resultsSql);
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsClassTeacher(page, server, '1111');

    await page.goto(server.url('/ShowBaoMing.html'));
    let text = await page.locator('body').innerText();
    assert.match(text, /一年级01班：领队：王老师/);
    assert.match(text, /张三:100米.*\(未报满\)/);
    assert.match(text, /一年级02班：/);
    assert.doesNotMatch(text, /二年级/);
    await Promise.all([page.waitForURL('**/ShowBaoMing2.html'), page.click('text=按比赛顺序查看')]);
    text = await page.locator('body').innerText();
    assert.match(text, /1、一年级男子100米\(可报4人,已报3人\)/);
    assert.match(text, /一年级01班\s李四/);

    await Promise.all([page.waitForURL('**/SeeClassCJ.html'), page.click('text=查看成绩')]);
    text = await page.locator('body').innerText();
    assert.match(text, /当前班级总得分：7分/);
    assert.match(text, /张三\s+一年级 男子 100米 决赛\s+12秒\s+第1名\s+7分\s+5-3 9:05/);
    assert.match(text, /李四\s+一年级 男子 100米 预赛\s+13秒\s+未进决赛/);
    assert.doesNotMatch(text, /王五/);
    // The page counts down to its own reload.
    await page.waitForFunction(() => Number(document.getElementById('miao').innerText) < 60);
    // The class frame wears the staff frames' bars.
    const look = (selector) => page.$eval(selector, (e) => getComputedStyle(e).backgroundColor);
    assert.equal(await look('.top'), 'rgb(27, 94, 159)');
    assert.equal(await look('.nav'), 'rgb(232, 240, 248)');

    await Promise.all([page.waitForURL('**/ChangPass.html'), page.click('text=修改密码')]);
    // Each refusal is an alert, and nothing is sent.
    const change = async (oldword, newword, again) => {
      await page.fill('#oldpassword', oldword);
      await page.fill('#newpassword', newword);
      await page.fill('#newpassword2', again);
      dialogs.length = 0;
      await page.click('#changAn');
      await waitForDialog(dialogs);
      return dialogs.slice();
    };
    assert.deepEqual(await change('1111', 'abcd', 'abce'), ['两次输入的新密码不一致!']);
    assert.deepEqual(await change('1111', 'a b c', 'abc'), ['密码至少为4位！']);
    assert.deepEqual(await change('9999', 'abcd', 'abcd'), ['密码修改失败，请检查原密码是否填写正确！']);
    // What the sign-in refuses is refused here too.
    assert.deepEqual(await change('1111', 'ab(cd)', 'ab(cd)'), ['密码修改失败，请检查原密码是否填写正确！']);
    // A password and a leader are stored as typed, '#' and all.
    await change('1111', 'abcd#1234', 'abcd#1234');
    await page.waitForURL('**/ShowClass.html');
    assert.deepEqual(dialogs, ['密码修改成功！按确定返回班级首页！']);
    await page.click('#tjldan');
    await page.fill('#lingdui', '王#李');
    await page.click('#tjldan');
    await page.locator('#ldts', { hasText: '已更新' }).waitFor();

    await signInAsClassTeacher(page, server, 'abcd#1234');
    assert.equal(await page.inputValue('#lingdui'), '王#李');
  } finally {
    await browser.close();
    await server.stop();
    await rm(folder, { recursive: true, force: true });
  }
});

async function waitForDialog(dialogs) {
  for (let i = 0; i < 100 && dialogs.length === 0; ++i) await new Promise((done) => setTimeout(done, 50));
}

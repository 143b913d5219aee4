// The administrator adds a score-entry clerk on the staff accounts page,
// the clerk signs in from another browser, and deleting the clerk sends
// that browser back to signing in. Then the administrator changes its own
// password through the page's pop-up.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, signInAsAdministrator, startServer } from './support.mjs';

async function signIn(page, server, name, password) {
  await page.goto(server.url('/AdminIndex.html'));
  await page.fill('#UserName', name);
  await page.fill('#PassWord', password);
  await Promise.all([page.waitForURL('**/Admin.html'), page.click('input[type=submit]')]);
}

test('a deleted clerk is signed out at once', async () => {
  const server = await startServer();
  const admin = await launchBrowser();
  const clerk = await launchBrowser();
  try {
    const { page, dialogs } = admin;
    await signInAsAdministrator(page, server);
    await page.goto(server.url('/AdUserList.html'));

    // The safety options belong to a clerk only.
    assert.equal(await page.isDisabled('#gdip'), true);
    await page.selectOption('#userAuthorization', '1');
    assert.equal(await page.isDisabled('#gdip'), false);

    // Too short: refused by the page.
    await page.fill('#newname', 'ab c');
    await page.fill('#newpass', 'secret7');
    await page.click('#addadminbutton');
    assert.deepEqual(dialogs, ['请输入正确的帐号及密码！']);
    await page.fill('#newname', 'clerk7');
    await Promise.all([page.waitForEvent('load'), page.click('#addadminbutton')]);
    assert.equal(dialogs.at(-1), '添加成功！');
    const row = page.locator('tr[align=center]', { hasText: 'clerk7' });
    assert.match(await row.innerText(), /成绩录入员/);

    // A name the server refuses is reported, not stored.
    await page.fill('#newname', 'clerk#(8)');
    await page.fill('#newpass', 'secret8');
    await Promise.all([page.waitForEvent('load'), page.click('#addadminbutton')]);
    assert.equal(dialogs.at(-1), '添加失败，请检查用户名与密码是否符合要求！');
    assert.equal(await page.locator('tr[align=center]', { hasText: 'clerk#' }).count(), 0);

    await signIn(clerk.page, server, 'clerk7', 'secret7');
    await clerk.page.goto(server.url('/Table.html'));
    assert.match(await clerk.page.locator('.TopUser').innerText(), /clerk7/);

    await Promise.all([page.waitForEvent('load'), row.locator('input[value=删除帐号]').click()]);
    assert.deepEqual(dialogs.slice(-2), ['真的要删除“clerk7”吗？', '删除成功!']);
    assert.equal(await page.locator('tr[align=center]', { hasText: 'clerk7' }).count(), 0);

    await clerk.page.reload();
    assert.match(await clerk.page.locator('body').innerText(), /您的登陆已经超时/);
    await Promise.all([clerk.page.waitForURL('**/AdminIndex.html'), clerk.page.click('a[href="/AdminIndex.html"]')]);
    assert.equal(await clerk.page.isVisible('#UserName'), true);

    // The administrator's own password, through the pop-up.
    await page.click('input[value=修改密码]');
    await page.fill('#oldpass', server.password);
    await page.fill('#newpass1', 'newpass1');
    await page.fill('#newpass2', 'newpass2');
    await page.click('#popupcontent input[value=提交]');
    assert.equal(dialogs.at(-1), '两次新密码不一致，请检查！');
    await page.fill('#newpass2', 'newpass1');
    await Promise.all([page.waitForURL('**/AdminIndex.html'), page.click('#popupcontent input[value=提交]')]);
    assert.equal(dialogs.at(-1), '修改成功,请使用新密码重新登陆！');
    await signIn(page, server, 'admin', 'newpass1');
  } finally {
    await clerk.close();
    await admin.close();
    await server.stop();
  }
});

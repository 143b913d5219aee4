// The scripts of the staff accounts page: the safety options follow the
// role, a bad name is refused by the page and one the server refuses is
// reported, a deletion asks first; the administrator's own password is
// changed through the pop-up.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

test('accounts are added, refused and deleted, and the password changed, on the page', async () => {
  const server = await startServer();
  const admin = await launchBrowser();
  try {
    const { page, dialogs } = admin;
    await signInAsStaff(page, server);
    await page.goto(server.url('/AdUserList.html'));

    // The safety options belong to a clerk only.
    assert.equal(await page.isDisabled('#gdip'), true);
    await page.selectOption('#userAuthorization', '1');
    assert.equal(await page.isDisabled('#gdip'), false);

    await page.fill('#newname', 'ab c');
    await page.fill('#newpass', 'secret7');
    await page.click('#addadminbutton');
    assert.deepEqual(dialogs, ['请输入正确的帐号及密码！']);
    await page.fill('#newname', 'clerk#(8)');
    await Promise.all([page.waitForEvent('load'), page.click('#addadminbutton')]);
    assert.equal(dialogs.at(-1), '添加失败，请检查用户名与密码是否符合要求！');
    assert.equal(await page.locator('tr[align=center]', { hasText: 'clerk#' }).count(), 0);
    await page.fill('#newname', 'clerk7');
    await page.fill('#newpass', 'secret7');
    await Promise.all([page.waitForEvent('load'), page.click('#addadminbutton')]);
    const row = page.locator('tr[align=center]', { hasText: 'clerk7' });
    await Promise.all([page.waitForEvent('load'), row.locator('input[value=删除帐号]').click()]);
    assert.deepEqual(dialogs.slice(-2), ['真的要删除“clerk7”吗？', '删除成功!']);
    assert.equal(await row.count(), 0);

    await page.click('input[value=修改密码]');
    await page.fill('#oldpass', server.password);
    await page.fill('#newpass1', 'newpass1');
    await page.fill('#newpass2', 'newpass2');
    await page.click('#popupcontent input[value=提交]');
    assert.equal(dialogs.at(-1), '两次新密码不一致，请检查！');
    await page.fill('#newpass2', 'newpass1');
    await Promise.all([page.waitForURL('**/AdminIndex.html'), page.click('#popupcontent input[value=提交]')]);
    assert.equal(dialogs.at(-1), '修改成功,请使用新密码重新登陆！');
    await signInAsStaff(page, server, 'admin', 'newpass1');
  } finally {
    await admin.close();
    await server.stop();
  }
});

// From a fresh data folder the administrator signs in, creates a meet
// through the form and lands on its result page.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { launchBrowser, signInAsAdministrator, startServer } from './support.mjs';

test('the administrator creates the first meet in the browser', async () => {
  const server = await startServer();
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsAdministrator(page, server);

    await page.goto(server.url('/SetupMeet.html'));
    await page.waitForSelector('form[name=newydhform]');
    const grades = await page.locator('input[name=wnjsel]').count();
    assert.ok(grades > 0, 'the form lists the default grades');

    // An empty name is refused by the page itself.
    await page.click('#postydh');
    assert.deepEqual(dialogs, ['请输入运动会名称']);

    // Grade rows follow their boxes; the first row's settings go to all.
    await page.locator('input[name=wnjsel]').first().uncheck();
    assert.equal(await page.locator('select[name=wmzxb]').first().isDisabled(), true);
    assert.equal(await page.locator('input[name=wboysel]').first().isChecked(), false);
    await page.locator('input[name=wgirlsel]').first().check();
    assert.equal(await page.locator('input[name=wnjsel]').first().isChecked(), true);
    await page.locator('select[name=wmzxb]').first().selectOption('8');
    await page.click('#copy1toall');
    assert.equal(await page.locator('select[name=wmzxb]').last().inputValue(), '8');
    assert.equal(await page.locator('input[name=wboysel]').last().isChecked(), false);

    const name = '春季<田径>运动会';
    await page.fill('#wydhname', ` ${name} `);
    await Promise.all([page.waitForURL('**/JianLiYdh.html'), page.click('#postydh')]);

    const content = await page.locator('.MainTable').innerText();
    assert.match(content, /恭喜您成功建立“春季<田径>运动会”/);
    assert.equal(await page.locator('.TopTitle').innerText().then((t) => t.includes(name)), true);
    assert.equal(await page.locator('a[href="SetupMeet.html"]').first().isVisible(), true);

    // The meet now appears in the create-meet form's list, and the page
    // script refuses its name.
    await page.goto(server.url('/JianLiYdh.html'));
    await page.fill('#wydhname', name);
    dialogs.length = 0;
    await page.click('#postydh');
    assert.deepEqual(dialogs, ['运动会名称已存在，请修改运动会名称！']);
  } finally {
    await browser.close();
    await server.stop();
  }
});

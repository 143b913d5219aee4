// The administrator schedules every round of a small meet on the schedule
// page: track rounds into the first morning, field rounds into the first
// afternoon, with the page's buttons, until nothing is left to place and
// the home page shows the schedule step done.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsAdministrator, startServer } from './support.mjs';

const meetSql = fileURLToPath(new URL('../testing/schedule_meet.sql', import.meta.url));

// The texts of a list's options, a leading "*" for the selected ones.
async function options(page, list) {
  return page.locator(`#${list} option`).evaluateAll((all) =>
    all.map((o) => (o.selected ? '*' : '') + o.textContent));
}

// The state under the home page's third step, the schedule.
async function scheduleState(page) {
  return page.locator('#MeetStatus tr').nth(1).locator('td').nth(5).innerText();
}

async function values(page, list) {
  return page.locator(`#${list} option`).evaluateAll((all) => all.map((o) => o.value));
}

// Presses a button that posts the form; resolves once the redirect has
// brought the page back (its address may be the same as before).
async function press(page, label) {
  const back = page.waitForEvent('framenavigated',
    (frame) => frame === page.mainFrame() && /MatchPlan\.html\?DayID=/.test(frame.url()));
  await page.click(`input[value="${label}"]`);
  await back;
  await page.waitForLoadState('load');
}

test('every round of a small meet is scheduled through the page', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsAdministrator(page, server);
    assert.notEqual(await scheduleState(page), '已安排');
    await page.goto(server.url('/MatchPlan.html'));
    assert.match(await page.locator('.bstdd2').innerText(), /正在安排径赛\(还有7项比赛待安排\)/);

    // Nothing selected: the buttons refuse with the list's own sentence.
    await page.click('input[value="将下方选中的比赛安排到："]');
    await page.click('input[value="上移"]');
    assert.deepEqual(dialogs, ['您至少选择一项待安排的比赛项目！', '您至少选择一项已安排的比赛项目！']);

    // Every track round into the first morning, in the order of the list.
    await page.selectOption('#dablist', await values(page, 'dablist'));
    await press(page, '将下方选中的比赛安排到：');
    assert.equal(await page.locator('#dablist option').count(), 0);
    const placed = await options(page, 'yablist');
    assert.equal(placed.length, 7);
    assert.ok(placed.every((text) => text.startsWith('*')), placed.join());
    // The opening ceremony takes the first hour from 8:00.
    assert.equal(placed[0], '*一年级男子100米[预赛]1 9:00');
    assert.equal(placed[1], '*一年级男子100米[决赛]3 9:01');
    assert.match(await page.locator('#yapzf').innerText(), /径赛第1天上午已排比赛列表\[已排7项\]/);

    // The first round one down, then a minute longer; it stays selected.
    await page.selectOption('#yablist', ['1']);
    await press(page, '下移');
    let texts = await options(page, 'yablist');
    assert.equal(texts[0], '一年级男子100米[决赛]1 9:00');
    assert.equal(texts[1], '*一年级男子100米[预赛]3 9:01');
    await press(page, '增时');
    texts = await options(page, 'yablist');
    assert.equal(texts[1], '*一年级男子100米[预赛]3 9:01');
    assert.equal(texts[2], '一年级女子100米[决赛]5 9:03');
    // Out and back in again.
    await press(page, '取消安排');
    assert.deepEqual(await values(page, 'dablist'), ['1']);
    await page.selectOption('#dablist', ['1']);
    await press(page, '将下方选中的比赛安排到：');
    assert.match((await options(page, 'yablist')).at(-1), /^\*一年级男子100米\[预赛\]\d+ 9:1\d$/);

    // The field rounds go into the afternoon: the session select leads
    // there, the tab to the field rounds.
    await Promise.all([page.waitForURL(/DayID=2&MatchType=1/), page.selectOption('#riqi', '2')]);
    await Promise.all([page.waitForURL(/DayID=2&MatchType=2/), page.click('a:has-text("田赛")')]);
    assert.match(await page.locator('.bstdd2').innerText(), /正在安排田赛\(还有3项比赛待安排\)/);
    await page.selectOption('#dablist', await values(page, 'dablist'));
    await press(page, '将下方选中的比赛安排到：');
    // Each field venue starts at the afternoon slot, 12:00.
    assert.deepEqual(await options(page, 'yablist'), [
      '*一年级男子垒球掷远[三项全能]5 12:00',
      '*一年级男子跳高[决赛]1 12:00',
      '*一年级男子跳远[决赛]3 12:00',
    ]);
    assert.match(await page.locator('.bstdd2').innerText(), /已全部安排/);
    assert.match(await page.locator('.bstdt2').innerText(), /径赛\(已全部安排\)/);
    assert.match(await page.locator('body').innerText(), /所有比赛已经安排完毕/);

    // The tip box closes.
    await page.click('#wrap a');
    await page.locator('#wrap').waitFor({ state: 'hidden' });

    // The set-up road no longer stops at the schedule, and the home page
    // shows the step done.
    await page.goto(server.url('/SetupMeet.html'));
    assert.equal(await page.locator('#dablist').count(), 0);
    await page.goto(server.url('/Admin.html'));
    assert.equal(await scheduleState(page), '已安排');
  } finally {
    await browser.close();
    await server.stop();
  }
});

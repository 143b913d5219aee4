// The schedule page's buttons (the whole meet only places every round):
// nothing selected is refused by the page, placed rounds start after the
// opening ceremony, and a moved round stays selected.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

const meetSql = fileURLToPath(new URL('../testing/schedule_meet.sql', import.meta.url));

// The texts of a list's options, a leading "*" for the selected ones.
async function options(page, list) {
  return page.locator(`#${list} option`).evaluateAll((all) =>
    all.map((o) => (o.selected ? '*' : '') + o.textContent));
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

test('rounds are placed and moved through the schedule page', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsStaff(page, server);
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

    // The first round one down: it stays selected.
    await page.selectOption('#yablist', ['1']);
    await press(page, '下移');
    const texts = await options(page, 'yablist');
    assert.equal(texts[0], '一年级男子100米[决赛]1 9:00');
    assert.equal(texts[1], '*一年级男子100米[预赛]3 9:01');
  } finally {
    await browser.close();
    await server.stop();
  }
});

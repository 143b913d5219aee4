// A score-entry clerk and a print administrator on the score-entry page.
// The clerk types every result of the girls' 100米 preliminary with Enter,
// heat by heat, meets the error for a bad text, sees the round counted and
// its final seeded, then changes a result after the warning. The print
// administrator sees them read-only.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

const meetSql = ['../testing/scoring_meet.sql', '../testing/score_entry_staff.sql'].map((file) =>
  fileURLToPath(new URL(file, import.meta.url)),
);

const rowState = (page, i) => page.locator(`#RetDiv${i}`).innerText();

async function waitForRowState(page, i, text) {
  await page.waitForFunction(
    ([row, wanted]) => document.getElementById('RetDiv' + row).innerText === wanted,
    [i, text],
  );
}

// Types a result into the focused cell and presses Enter.
async function enter(page, text) {
  await page.keyboard.type(text);
  await page.keyboard.press('Enter');
}

const focused = (page) => page.evaluate(() => document.activeElement && document.activeElement.id);

const cellValues = (page) =>
  page.evaluate(() => {
    const values = [];
    for (let i = 1; document.getElementById('cjinput' + i); i++) values.push(document.getElementById('cjinput' + i).value);
    return values;
  });

test('a clerk enters a round heat by heat; the print administrator only looks', async () => {
  const server = await startServer({ meetSql });
  const first = await launchBrowser();
  const printer = await launchBrowser();
  try {
    const { page, dialogs } = first;
    await signInAsStaff(page, server, 'clerk1', 'clerk123');
    assert.equal(await page.locator('.TabDivHui').innerText(), '录入比赛成绩');
    await Promise.all([page.waitForURL('**MatchTabe=6'), page.selectOption('#ScoreID', '6')]);
    assert.equal(await page.locator('#MaxI').inputValue(), '5');
    assert.equal(await focused(page), 'cjinput1');

    // A bad text is refused and the cell keeps its old value.
    await enter(page, '13,x');
    await waitForRowState(page, 1, '操作取消');
    assert.match(dialogs.shift(), /错误的成绩数据/);
    assert.equal(await page.locator('#cjinput1').inputValue(), '');
    assert.equal(await focused(page), 'cjinput1');

    // Heat 1: each Enter saves and moves on; the last one sends the clerk
    // to the other heat.
    for (let i = 1; i <= 5; i++) {
      await page.locator(`#cjinput${i}`).fill('');
      await enter(page, `13.1${i}`);
      if (i < 5) {
        await waitForRowState(page, i, '已保存');
        assert.equal(await focused(page), `cjinput${i + 1}`);
      }
    }
    await page.waitForFunction(() => document.getElementById('BotRetDiv').innerText.includes('请及时输入该比赛其他组别的成绩'));
    assert.equal(await rowState(page, 5), '已保存');
    assert.equal(await focused(page), 'ZhuBei');
    assert.deepEqual(await cellValues(page), ['13.11', '13.12', '13.13', '13.14', '13.15']);

    // Heat 2: the last result counts the round and seeds its final.
    await Promise.all([page.waitForURL('**zhu=2'), page.selectOption('#ZhuBei', '2')]);
    for (let i = 1; i <= 4; i++) {
      await enter(page, `13.${15 + i}`);
      await waitForRowState(page, i, '已保存');
    }
    // Enter on an unchanged cell only moves on.
    await page.locator('#cjinput1').focus();
    await page.keyboard.press('Enter');
    assert.equal(await focused(page), 'cjinput2');
    await page.locator('#cjinput5').focus();
    const reloaded = page.waitForEvent('load');
    await enter(page, '13.20');
    await reloaded;
    assert.match(dialogs.shift(), /比赛完成，已生成决赛安排/);
    assert.equal(
      await page.locator('#BotRetDiv').innerText(),
      '提示：比赛完成，决赛安排已生成，请查看或打印决赛检录表。',
    );
    assert.equal(await page.locator('text=录取').count(), 3);
    assert.equal(await page.locator('#au2').isEnabled(), true);

    // A changed result of a preliminary whose final exists asks first; the
    // clerk saves it, and the final is drawn again.
    await page.locator('#cjinput1').fill('13.01');
    await page.keyboard.press('Enter');
    await page.waitForFunction(() => document.getElementById('popupl').style.display === 'block');
    assert.equal(await rowState(page, 1), '等待中');
    assert.match(await page.locator('#popupl').innerText(), /该预赛的决赛安排已经存在/);
    await page.click('#YJSan1');
    assert.match(dialogs.shift(), /请选择其中一项/);
    await page.check('#fgjsjl1');
    const redrawn = page.waitForEvent('load');
    await page.click('#YJSan1');
    await redrawn;
    assert.match(dialogs.shift(), /比赛完成，已生成决赛安排/);
    assert.equal(await page.locator('#cjinput1').inputValue(), '13.01');

    // The final of the afternoon session holds the eight qualifiers.
    await Promise.all([page.waitForURL('**BsDate=2**'), page.selectOption('#BsDate', '2')]);
    assert.equal(await page.locator('#ScoreID').inputValue(), '7');
    assert.equal(await page.locator('#MaxI').inputValue(), '8');

    // The print administrator sees them read-only: Enter uploads nothing.
    await signInAsStaff(printer.page, server, 'printer1', 'print123');
    await printer.page.goto(server.url('/InputScore.html?MatchTabe=6&zhu=1'));
    assert.equal(await printer.page.locator('.TabDivHui').innerText(), '查看比赛成绩');
    assert.deepEqual(await cellValues(printer.page), ['13.11', '13.12', '13.13', '13.14', '13.15']);
    assert.equal(await printer.page.locator('#cjinput2').getAttribute('readonly'), 'readonly');
    assert.equal(await printer.page.locator('#stfg2').isDisabled(), true);
    assert.equal((await printer.page.locator('#BotRetDiv').innerText()).trim(), '');
    let uploads = 0;
    printer.page.on('request', (request) => {
      if (request.url().includes('upcj.html')) uploads++;
    });
    await printer.page.locator('#cjinput2').focus();
    await printer.page.keyboard.type('9');
    await printer.page.keyboard.press('Enter');
    await printer.page.waitForTimeout(300);
    assert.equal(uploads, 0);
    assert.equal(await printer.page.locator('#cjinput2').inputValue(), '13.12');
  } finally {
    await printer.close();
    await first.close();
    await server.stop();
  }
});

// The administrator's long jump allows no ties: equal results at the top
// bring the tie form, on which the places are chosen by hand.
test('tied results of a final are placed on the tie form', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, dialogs } = browser;
    await signInAsStaff(page, server);
    await page.goto(server.url('/InputScore.html?MatchTabe=2'));
    assert.equal(await page.locator('#MaxI').inputValue(), '6');
    const results = ['5.10', '5.10', '4.80', '4.70', '4.60', '4.50'];
    for (let i = 1; i <= 6; i++) {
      await page.locator(`#cjinput${i}`).focus();
      await enter(page, results[i - 1]);
      if (i < 6) await waitForRowState(page, i, '已保存');
    }
    await page.waitForFunction(() => document.getElementById('popupl').style.display === 'block');
    assert.match(await page.locator('#popupl').innerText(), /本比赛项目不允许并列/);
    assert.equal(await page.locator('#BinLieMax').inputValue(), '2');
    // As shown, every row on 第1名: the server's reason, the form stays up.
    const alerted = page.waitForEvent('dialog');
    await page.click('#APPan1');
    await alerted;
    assert.deepEqual(dialogs.splice(0), ['名次不能重复，请为每位运动员指定不同的名次，或选择“强制允许并列”后再提交！']);
    assert.equal(await page.locator('#popupl').evaluate((div) => div.style.display), 'block');
    await page.selectOption('#APImc1', '2');
    await page.selectOption('#APImc2', '1');
    const reloaded = page.waitForEvent('load');
    await page.click('#APPan1');
    await reloaded;
    assert.equal(dialogs.shift(), '决赛已经完成，请查看或打印【成绩表】。');
    const places = await page.evaluate(() =>
      [1, 2, 3].map((i) => document.getElementById('cjinput' + i).closest('tr').cells[6].innerText),
    );
    assert.deepEqual(places, ['第2名', '第1名', '第3名']);
    assert.equal(await page.locator('#BotRetDiv').innerText(), '提示：比赛已完成，请查看或打印成绩表');
  } finally {
    await browser.close();
    await server.stop();
  }
});

// The print administrator's print centre in Chromium: a print button loads
// the sheet into the hidden frame and prints it once, an empty half-day
// says so, the search tab sends a name in the page's encoding, and the
// certificate preview moves a line that the account's style sheet keeps.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, pressPrint, recordPrints, signInAsStaff, startServer } from './support.mjs';

const meetSql = fileURLToPath(new URL('../testing/print_meet.sql', import.meta.url));

test('the print buttons print the sheet in the hidden frame once and the layout preview moves a line', async () => {
  const server = await startServer({ meetSql });
  const browser = await launchBrowser();
  try {
    const { page, context } = browser;
    await recordPrints(context);
    await signInAsStaff(page, server, 'printer', 'print123');
    await page.goto(server.url('/Print2.html'));
    assert.equal(await page.locator('#PrNm2').innerText(), '未打');
    assert.match(await pressPrint(page, 'input[onclick="cjan2(3,2);"]'), /ViewTable\.html\?str=3-2-0-1$/);
    assert.equal(await page.evaluate(() => window.korvaPrints.length), 1);
    assert.equal(await page.locator('#PrNm2').innerText(), '已打印');
    await page.reload();
    assert.equal(await page.locator('#PrNm2').innerText(), '已打印');

    // A half-day session with nothing of the kind: an alert, and the state
    // line is cleared.
    await page.goto(server.url('/Print1.html'));
    await page.click('input[onclick="sqprint(4,2);"]');
    await page.waitForFunction(() => document.getElementById('BotRetDiv').innerText === '');
    assert.equal(browser.dialogs.at(-1), '无数据可以打印');

    // The search tab sends a name in the page's own encoding.
    await page.goto(server.url('/Print4.html'));
    await page.fill('#namestr', '男2');
    await page.click('#findst');
    await page.waitForFunction(() => document.getElementById('ShowMessage').innerText.includes('男29'));
    assert.equal(await page.locator('#ShowMessage tr').count(), 1 + 11);

    // The layout preview: line 2 down once is 36 px, saved for this account.
    await page.goto(server.url('/Print5.html'));
    const preview = page.frameLocator('#JzYuLan');
    await preview.locator('#jzdiv2').waitFor();
    // A school that has not given its name sees a sample school's.
    assert.equal(await preview.locator('#jzdiv6').innerText(), '育才小学');
    const saved = page.waitForResponse((r) => r.url().includes('MUpJzDt.html?zjdt=2-1-36'));
    await preview.locator('input[onclick="MoveZjDiv(2,2);"]').click();
    assert.equal(await (await saved).text(), '0');
    const css = await (await page.request.get(server.url('/view.css'))).text();
    assert.match(css, /\.jzline2 \{[^}]*margin-top: 36px;/);
    await page.reload();
    const top = await page.frameLocator('#JzYuLan').locator('#jzdiv2')
      .evaluate((div) => getComputedStyle(div).marginTop);
    assert.equal(top, '36px');
  } finally {
    await browser.close();
    await server.stop();
  }
});

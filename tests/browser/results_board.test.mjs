// The results board's script (the whole meet watches its tables): when a
// clerk in another browser counts a round, the board's next poll puts the
// new table on top and plays the sound once; a poll with nothing new
// changes nothing.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { fileURLToPath } from 'node:url';
import { launchBrowser, signInAsStaff, startServer } from './support.mjs';

const meetSql = fileURLToPath(new URL('../testing/scoring_meet.sql', import.meta.url));

// Uploads one result as the score-entry page sends it; resolves to the
// reply's two-digit code.
async function upload(server, page, round, athlete, text) {
  const reply = await page.request.get(server.url(`/upcj.html?Dstr=${round}=${athlete}=0=-65535=-65535=-65535=1=${text}`));
  assert.equal(reply.status(), 200);
  return (await reply.text()).slice(0, 2);
}

test('a counted round appears on the board at its next poll, with the sound', async () => {
  const server = await startServer({ meetSql });
  const board = await launchBrowser();
  const clerk = await launchBrowser();
  try {
    const { page } = board;
    // Every start of the sound is counted.
    await page.addInitScript(() => {
      window.soundsPlayed = 0;
      document.addEventListener('playing', () => { window.soundsPlayed++; }, true);
    });
    await page.goto(server.url('/GongGao.html'));
    // The one who puts the board on the projector clicks it once, which lets
    // the browser play sounds.
    await page.click('h1');
    // The first poll, a second after loading, finds nothing counted and
    // fetches the points board: every class, ranks not shown yet.
    await page.waitForFunction(() => document.getElementById('PangDiv').innerText.includes('一年级03班'));
    assert.equal(await page.locator('#PangDiv span[style="display:none"]').count(), 3);
    assert.equal(await page.locator('#GMain > div').count(), 1);
    assert.equal(await page.evaluate(() => document.getElementById('NowID').value), '0');

    // The clerk counts the boys' 跳远 in a browser of his own.
    await signInAsStaff(clerk.page, server);
    const jumps = ['4.10', '4.20', '4.30', '4.40', '4.50', '4.60'];
    for (let boy = 1; boy <= 6; boy++) {
      const code = await upload(server, clerk.page, 2, boy, jumps[boy - 1]);
      assert.equal(code, boy < 6 ? '01' : '04');
    }

    // The board's next poll (asked for now rather than in a minute).
    await page.evaluate(() => GetGgDate());
    await page.waitForFunction(() => document.querySelectorAll('#GMain > div').length === 2);
    const newest = page.locator('#GMain > div').first();
    assert.match(await newest.innerText(), /一年级 男子\s+跳远 决赛/);
    assert.match(await newest.innerText(), /男6/);
    assert.equal(await page.evaluate(() => document.getElementById('NowID').value), '1');
    await page.waitForFunction(() => window.soundsPlayed === 1);
    await page.waitForFunction(() => document.getElementById('PangDiv').innerText.includes('9分'));
    assert.equal(await page.locator('#PangDiv span[style="display:none"]').count(), 0);
    assert.match(await page.locator('#PangDiv').innerText(), /一年级01班\s+9分\s+第1名/);

    // Nothing new: nothing changes and no sound.
    await page.evaluate(() => GetGgDate());
    await page.waitForTimeout(300);
    assert.equal(await page.locator('#GMain > div').count(), 2);

    // A second round goes on top of the first.
    for (let boy = 1; boy <= 10; boy++) await upload(server, clerk.page, 1, boy, `12.${boy < 10 ? boy : '9'}${boy < 10 ? '0' : '5'}`);
    await page.evaluate(() => GetGgDate());
    await page.waitForFunction(() => document.querySelectorAll('#GMain > div').length === 3);
    assert.match(await page.locator('#GMain > div').first().innerText(), /100米 决赛/);
    assert.match(await page.locator('#GMain > div').nth(1).innerText(), /跳远 决赛/);
    assert.equal(await page.evaluate(() => document.getElementById('NowID').value), '2');
    await page.waitForFunction(() => window.soundsPlayed === 2);

  } finally {
    await clerk.close();
    await board.close();
    await server.stop();
  }
});

// A whole sports day in Chromium, from a fresh data folder, the way a school
// walks it: the administrator signs in with the password the server printed,
// creates the meet, keeps the school's catalogue on its pages (classes and
// their numbers, a venue, a new relay, a scheme, school records), sets the
// meet up and schedules every round; three class teachers enter their
// classes at once; the administrator closes registration and makes the
// order book, which LibreOffice prints; two clerks, added on the accounts
// page, type every result at once; the print administrator prints check-in
// sheets, result sheets and certificates; the results board, open all along
// on a screen of its own, shows every counted round and the class points.
// The boys' 60米 is run twice, on its own and as a part of 三项全能: the
// record the standalone final sets stands through the part and its recount.
// Every place, point, total, bib and record on the pages and the paper is
// checked against meet_oracle.mjs, worked out from the typed results alone.
import { test } from 'node:test';
import assert from 'node:assert/strict';
import { execFileSync } from 'node:child_process';
import { mkdtemp, rm, writeFile } from 'node:fs/promises';
import { tmpdir } from 'node:os';
import { join } from 'node:path';
import {
  launchSharedBrowser, pressPrint, printToPdf, recordPrints, signInAsClassTeacher, signInAsStaff, startServer,
} from './support.mjs';
import {
  bibNumbers, chineseNumeral, denseRanks, placesOfFinal, pointsText, prelimMarks, qualify, rankFinal, resultText,
  scoreValue,
} from './meet_oracle.mjs';

// ---- The meet as the school plans it ----

const meetName = '春季田径运动会';
const grade = '一年级';
// The group settings: athletes per class and group, entrants per event and
// class, single events per athlete, events of an athlete in the combined
// event, places, and the record bonuses; the scheme the school adds on the
// catalogue pages.
const limits = { perClass: 4, perEvent: 3, perAthlete: 2, combined: 3, places: 6 };
const scheme = { name: '校运会计分', points: [8, 6, 5, 4, 3, 2, 1] };
const bonus = { equal: 1, broken: 3 };
// The standing school records the administrator types before the meet.
const records = [{ event: '50米', sex: 1, text: '8.10', unit: '秒' }, { event: '60米', sex: 1, text: '10.00', unit: '秒' }];

// The grade's classes as the school names them, with the boys' starting
// numbers (the girls' run on after the boys').
const classes = [
  { id: '1', name: '一(1)班', surname: '张', boysStart: '101' },
  { id: '2', name: '一(2)班', surname: '王', boysStart: '201' },
  { id: '3', name: '一(3)班', surname: '李', boysStart: '301' },
];
// The same entries in every class: given names and events.
const boys = [
  ['一', ['50米', '跳高', '4×100米接力', '8×50米迎面接力']],
  ['二', ['50米', '跳高', '4×100米接力', '8×50米迎面接力']],
  ['三', ['50米', '三项全能', '4×100米接力', '8×50米迎面接力']],
  // The form allows the combined event's limit once it is ticked.
  ['四', ['三项全能', '跳高', '60米', '4×100米接力', '8×50米迎面接力']],
];
// 4×50米接力 is the event the school adds on the catalogue pages.
const girls = [
  ['小一', ['50米', '跳远', '8×50米迎面接力', '4×50米接力']],
  ['小二', ['50米', '跳远', '8×50米迎面接力', '4×50米接力']],
  ['小三', ['跳远', '8×50米迎面接力', '4×50米接力']],
  ['小四', ['8×50米迎面接力', '4×50米接力']],
];
// In the order of the events' list.
const boysEvents = ['50米', '60米', '跳高', '4×100米接力', '8×50米迎面接力', '三项全能'];
const girlsEvents = ['50米', '跳远', '8×50米迎面接力', '4×50米接力'];

const athletes = classes.flatMap((c) => [
  ...boys.map(([given, events]) => ({ name: c.surname + given, cls: c, sex: 1, events })),
  ...girls.map(([given, events]) => ({ name: c.surname + given, cls: c, sex: 2, events })),
]);
const athlete = (name) => athletes.find((a) => a.name === name);
const bibs = bibNumbers({
  classes,
  perClass: limits.perClass,
  athletesOf: (c, sex) => athletes.filter((a) => a.cls === c && a.sex === sex).map((a) => a.name),
});

// Every round with the rules of its event and the results the clerks type
// (by athlete, or by class for a team). sex 0 is the mixed relay; team 2 a
// team of one sex, 3 a mixed team; part: the combined event of a part.
// The 50米 preliminary of the boys (nine entrants on eight lanes) seeds its
// final; the girls' six (and the boys' three in 60米) make their
// preliminary needless, so they run a direct final (dropped). 跳高 allows no ties: its tie for first is settled on the tie
// form. 跳远 shares places, also across the last place that scores. The
// record falls in the boys' 50米: equalled in the preliminary, broken in
// the final by the same boy, who keeps one bonus. The boys' 60米 record
// falls in its own final; the 三项全能 part of 60米, counted after it, is
// slower all through.
const [c1, c2, c3] = classes.map((c) => c.name);
const rounds = [
  { event: '50米', sex: 1, prelim: true, session: 1, type: 1, unit: '秒', better: 'smaller',
    results: { 张一: '8.21', 王一: '8.35', 李一: '8.10', 张二: '8.52', 王二: '8.44', 李二: '8.67',
      张三: '8.30', 王三: '8.48', 李三: '8.58' } },
  { event: '50米', sex: 1, afterPrelim: true, session: 1, type: 1, unit: '秒', better: 'smaller', ties: true,
    results: { 李一: '8.05', 张一: '8.12', 张三: '8.20', 王一: '8.20', 王二: '8.33', 王三: '8.40', 张二: '8.41',
      李三: '8.50' } },
  { event: '50米', sex: 2, dropped: true, session: 1, type: 1, unit: '秒', better: 'smaller', ties: true,
    results: { 张小一: '8.90', 张小二: '9.12', 王小一: '8.75', 王小二: '9.30', 李小一: '8.95', 李小二: '9.05' } },
  { event: '60米', sex: 1, dropped: true, session: 1, type: 1, unit: '秒', better: 'smaller', ties: true,
    results: { 张四: '9.90', 王四: '10.20', 李四: '10.40' } },
  { event: '60米', sex: 1, part: '三项全能', session: 1, type: 1, unit: '秒', better: 'smaller', ties: true,
    results: { 张三: '10.20', 张四: '10.45', 王三: '10.05', 王四: '10.60', 李三: '10.33', 李四: '10.90' } },
  { event: '4×100米接力', sex: 1, team: 2, session: 1, type: 1, unit: '秒', better: 'smaller', ties: true,
    multiplier: 2, results: { [c1]: '58.20', [c2]: '57.90', [c3]: '59.10' } },
  { event: '8×50米迎面接力', sex: 0, team: 3, session: 1, type: 1, unit: '分', better: 'smaller', ties: true,
    multiplier: 2, results: { [c1]: '1.25.40', [c2]: '1.26.10', [c3]: '1.24.80' } },
  { event: '4×50米接力', sex: 2, team: 2, session: 1, type: 1, unit: '秒', better: 'smaller', ties: true,
    multiplier: 2, results: { [c1]: '36.50', [c2]: '35.80', [c3]: '36.20' } },
  { event: '跳高', sex: 1, session: 2, type: 2, unit: '米', better: 'larger', ties: false,
    chosen: new Map([['王四', 1], ['张一', 2]]),
    results: { 张一: '1.15', 王四: '1.15', 李一: '1.10', 张二: '1.05', 王一: '1.00', 李四: '0.95', 张四: '0.90',
      王二: '0.85', 李二: '0.80' } },
  { event: '跳远', sex: 2, session: 2, type: 2, unit: '米', better: 'larger', ties: true,
    results: { 张小一: '3.10', 王小一: '3.05', 李小一: '2.98', 张小二: '2.90', 王小二: '2.85', 李小二: '2.85',
      张小三: '2.85', 王小三: '2.70', 李小三: '2.60' } },
  { event: '跳远', sex: 1, part: '三项全能', session: 2, type: 2, unit: '米', better: 'larger', ties: true,
    results: { 张三: '3.20', 张四: '3.45', 王三: '3.05', 王四: '3.60', 李三: '3.33', 李四: '2.90' } },
  { event: '垒球掷远', sex: 1, part: '三项全能', session: 2, type: 2, unit: '米', better: 'larger', ties: true,
    results: { 张三: '25.40', 张四: '22.10', 王三: '28.75', 王四: '20.05', 李三: '24.60', 李四: '26.30' } },
];
// Names of a round: on the schedule and score-entry pages, in the order
// book's timetable and on result sheets and certificates.
for (const r of rounds) {
  const sex = r.sex === 0 ? '' : r.sex === 1 ? '男子' : '女子';
  const team = r.team === 2 ? '团体' : r.team === 3 ? '混团' : '';
  r.label = `${grade}${sex}${team}${r.event}[${r.part || (r.prelim ? '预赛' : '决赛')}]`;
  r.title = `${grade}${sex && sex + '组'}${r.team === 2 ? '团队' : team}${r.event}${r.part ? `(${r.part})` : ''}`
    + (r.prelim ? '预赛' : '决赛');
  // Result sheets and the print centre's lists; certificates.
  r.sheetTitle = `${grade}${sex}${r.team === 2 ? '团队' : team}${r.event}${r.prelim ? '预赛' : '决赛'}`;
  r.award = `${grade}${sex}${r.event}`;
}

// ---- The oracle's view of the day ----

const entriesOf = (r) => Object.entries(r.results).map(([key, text]) => ({ key, text }));
// A part judges by the record of its event as it stood before the meet.
const recordOf = (r) => records.find((x) => x.event === r.event && x.sex === r.sex)?.text ?? null;
const prelim = rounds.find((r) => r.prelim);
const seeded = qualify({ entries: entriesOf(prelim), unit: prelim.unit, better: prelim.better, quota: 8, lanes: 8 });
// The preliminary's marks when it is counted, and after its final.
prelim.marks = prelimMarks({ entries: entriesOf(prelim), unit: prelim.unit, better: prelim.better,
  record: recordOf(prelim), bonus });
for (const r of rounds.filter((x) => !x.prelim)) {
  r.places = placesOfFinal({
    entrants: entriesOf(r).length, groupPlaces: limits.places, admitOneLess: true, afterPrelim: !!r.afterPrelim,
  });
  const common = { entries: entriesOf(r), unit: r.unit, better: r.better, ties: r.ties, places: r.places,
    scheme: scheme.points, multiplier: r.multiplier || 1, record: recordOf(r), bonus,
    prelim: r.afterPrelim ? prelim.marks : undefined };
  r.expected = rankFinal({ ...common, chosen: r.chosen });
  if (r.chosen) r.tieForm = rankFinal(common);
  if (r.afterPrelim) {
    prelim.marksAfterFinal = new Map(prelim.marks);
    for (const key of r.expected.prelimCleared) prelim.marksAfterFinal.set(key, { flag: 0, points: 0 });
  }
}
// What each result scored in the end: Map key -> points, per round.
for (const r of rounds) {
  r.scored = new Map(r.prelim ? [...r.marksAfterFinal].map(([k, m]) => [k, m.points])
    : [...r.expected].map(([k, e]) => [k, e.points]));
}
const classOf = (r, key) => (r.team ? key : athlete(key).cls.name);
// Class totals: every scoring result, a team once.
const classTotals = new Map(classes.map((c) => [c.name, 0]));
for (const r of rounds)
  for (const [key, points] of r.scored) classTotals.set(classOf(r, key), classTotals.get(classOf(r, key)) + points);
// Athletes' totals over the rounds of one athlete (no teams), for the
// board's list of the best.
const athleteTotals = new Map();
for (const r of rounds.filter((x) => !x.team))
  for (const [key, points] of r.scored) if (points) athleteTotals.set(key, (athleteTotals.get(key) || 0) + points);
// The records after the meet: the best mark of each standalone final.
const newRecords = records.map((x) => {
  const r = rounds.find((y) => y.event === x.event && y.sex === x.sex && y.expected && !y.part);
  const [key] = [...r.expected].find(([, e]) => e.flag === 2);
  return { ...x, key, text: r.results[key] };
});

// ---- Helpers ----

const whitespace = /\s+/g;
// A text for use inside a regular expression.
const literal = (text) => text.replace(/[()[\].]/g, '\\$&');

// Runs a command; resolves to its standard output.
const run = (program, args, options = {}) => execFileSync(program, args, { encoding: 'utf8', ...options });

// Clicks what leads to path and waits for it.
const clickTo = (page, path, target) => Promise.all([page.waitForURL(`**/${path}`), target.click()]);
// A link or button of the page by its text.
const link = (page, text) => page.locator(`a:text-is("${text}"), input[type=button][value="${text}"]`).first();

// Posts a set-up form and resolves to the result page's text.
async function submit(page, selector, path) {
  await Promise.all([page.waitForURL(`**/${path}`), page.click(selector)]);
  return page.locator('.MainTable').innerText();
}

// The check box of an event by its exact name, on an enrol form.
const eventBox = (page, name) => page.locator('#gndiv1 label').filter({ has: page.locator(`span:text-is("${name}")`) })
  .locator('input');

// The cell of a record on the records page: its input's id, value and
// title.
const recordCell = (page, record) => page.evaluate(({ event, sex }) => {
  const heading = [...document.querySelectorAll('strong')].find((s) => s.innerText === `【${event}】比赛项目最高纪录成绩`);
  const cell = heading.closest('tr').nextElementSibling.cells[sex - 1];
  const input = cell.querySelector('input[type=text]');
  return { id: input.id, value: input.value, title: cell.title || cell.querySelector('[title]')?.title };
}, record);

// ---- The road ----

async function setUpTheMeet(admin, server) {
  const { page, dialogs } = admin;
  await signInAsStaff(page, server, 'admin', server.password);

  // The meet: grade 一年级 only, boys and girls, with the group settings.
  await page.goto(server.url('/JianLiYdh.html'));
  const gradeBoxes = page.locator('input[name=wnjsel]');
  const count = await gradeBoxes.count();
  for (let i = 1; i < count; i++) await gradeBoxes.nth(i).uncheck();
  const row = page.locator('#njtable tr').nth(1);
  assert.equal(await row.locator('td').nth(1).innerText(), grade);
  await row.locator('select[name=wmzxb]').selectOption(String(limits.perClass));
  await row.locator('select[name=wmxxb]').selectOption(String(limits.perEvent));
  await row.locator('select[name=wmrxb]').selectOption(String(limits.perAthlete));
  await row.locator('select[name=wqnxb]').selectOption(String(limits.combined));
  await row.locator('select[name=wqmc]').selectOption(String(limits.places));
  await page.selectOption('select[name=wpjf1]', String(bonus.equal));
  await page.selectOption('select[name=wpjf2]', String(bonus.broken));
  await page.fill('#wydhname', '春季运动会');
  assert.match(await submit(page, '#postydh', 'JianLiYdh.html'), /恭喜您成功建立“春季运动会”/);

  // The school's catalogue, kept on its pages. It starts as a new data
  // folder has it: 一年级 to 六年级 of four classes each, the events (with
  // 4×100米接力, the mixed 8×50米迎面接力 and 三项全能 of 60米, 跳远 and
  // 垒球掷远), the venues and two schemes.
  // 一年级 has three classes this year, named by the school, the boys
  // numbered from the class's hundred. The catalogue is the menu's
  // "系统设置"; its pages are reached by their tabs and buttons.
  await clickTo(page, 'SetupSchool.html', link(page, '系统设置'));
  const firstGrade = page.locator('table.style1 tr').filter({ has: page.locator(':scope > td:text-is("一年级")') });
  await clickTo(page, 'SetupGrade.html?id=1', firstGrade.locator('input[value=修改]'));
  const fewer = page.waitForEvent('load');
  await page.click('input[value="减少一个班"]');
  await fewer;
  assert.deepEqual(dialogs.splice(0), ['确定要减少一个班级嘛？']);
  await Promise.all([page.waitForURL('**/EditClassName.html?GDID=1'), page.click('input[value="自定义班级名称和起始号码"]')]);
  for (const [i, c] of classes.entries()) {
    await page.locator('input[name=CSname]').nth(i).fill(c.name);
    await page.locator('input[name=MQsHao]').nth(i).fill(c.boysStart);
  }
  await Promise.all([page.waitForURL('**/SetupGrade.html?id=1'), page.click('input[value="提交修改"]')]);

  // A high-jump area of its own for 跳高.
  await clickTo(page, 'SetupSchool.html', link(page, '返回'));
  await clickTo(page, 'ShowYards.html', link(page, '比赛场地设置'));
  await clickTo(page, 'SetupYard.html', link(page, '添加新的场地'));
  await page.fill('#ChangDiName', '跳高垫');
  await page.selectOption('#CDGuiGe', '10');
  await page.fill('#ChangDiInfo', '跳高');
  assert.match(await submit(page, '#postcd', 'AddYard.html'), /成功修改比赛场地/);
  await clickTo(page, 'ShowYards.html', link(page, '点此继续设置比赛场地'));
  await clickTo(page, 'ShowMatch.html', link(page, '比赛项目设置'));
  const highJump = page.locator('table.style1 tr').filter({ has: page.locator(':scope > td:first-child:text-is("跳高")') });
  await Promise.all([page.waitForURL('**/SetupMatch.html?id=*'), highJump.locator('input[value=修改]').click()]);
  await page.selectOption('#ChangDi', { label: '跳高垫' });
  assert.match(await submit(page, '#postbs', 'AddMatch.html'), /\[跳高\]比赛项目已经成功保存！/);

  // The girls' relay, a new event: a team of four on the straight, double
  // points.
  await clickTo(page, 'ShowMatch.html', link(page, '点此继续设置比赛项目'));
  await clickTo(page, 'SetupMatch.html', link(page, '添加新的比赛项目'));
  await page.fill('#BiSaiName', '4×50米接力');
  await page.selectOption('#BiSaiType', '1');
  await page.selectOption('#DeFenJiSuan', '2');
  await page.selectOption('#TuanTiType', '2');
  await page.selectOption('#TuanTiRenShu', '4');
  await page.selectOption('#FZFDType', '1');
  await page.selectOption('#PaiXuType', '1');
  await page.selectOption('#BingLieType', '1');
  await page.selectOption('#UnitType', '秒');
  await page.selectOption('#ChangDi', { label: '直线跑道' });
  assert.match(await submit(page, '#postbs', 'AddMatch.html'), /\[4×50米接力\]比赛项目已经成功保存！/);
  await clickTo(page, 'ShowMatch.html', link(page, '点此继续设置比赛项目'));

  // The school's own scheme.
  await clickTo(page, 'ShowScore.html', link(page, '得分分制设置'));
  await clickTo(page, 'SetupScore.html', link(page, '添加新的分制'));
  await page.fill('#FZName', scheme.name);
  for (const [place, points] of scheme.points.entries())
    await page.locator('select[name=SDF]').nth(place).selectOption(String(points));
  await Promise.all([page.waitForURL('**/ShowScore.html'), page.click('input[value="提交数据"]')]);

  // The standing school records, typed on the records page.
  await clickTo(page, 'ShowTopScore.html', link(page, '最高纪录设置'));
  for (const record of records) {
    const { id } = await recordCell(page, record);
    await page.fill(`#${id}`, record.text);
    await page.press(`#${id}`, 'Enter');
    await page.locator(`#${id.replace('TopScore', 'TipText')}`).filter({ hasText: '已保存' }).waitFor();
  }

  // ① Its information: the name, one day from 24 April 2026, the opening
  // ceremony of half an hour, 减一录取 kept.
  await page.goto(server.url('/SetupMeetName.html'));
  await page.fill('#wydhname', meetName);
  await page.selectOption('#wyear', '2026');
  await page.selectOption('#wyue', '4');
  await page.selectOption('#wri', '24');
  await page.selectOption('#wshichang', '2');
  await page.selectOption('#KaiMuShi', '1');
  assert.equal(await page.isChecked('#jianyiluqu'), true);
  assert.match(await submit(page, '#postname', 'ChangYdhName.html'), new RegExp(`成功修改“${meetName}”!`));

  // ② The groups, as the create form made them, now with the school's
  // scheme.
  await page.goto(server.url('/SetupMeetGrade.html'));
  await page.locator('select[name=wfz]').first().selectOption({ label: scheme.name });
  assert.match(await submit(page, '#postgrade', 'ChangeGrade.html'), new RegExp(`成功修改“${meetName}!”`));

  // ③ The boys' and girls' events apart; the mixed relay ticked for the
  // boys is ticked for the girls too.
  await page.goto(server.url('/SetupGradeMatch.html'));
  await page.uncheck('#GirlByBoy');
  assert.deepEqual(dialogs.splice(0), ['取消该选项后，您必须分别设置各个年级的男子组与女子组的比赛！']);
  const box = (group, name) => page.locator('label').filter({ has: page.locator(`input[name=bsidz${group}]`) })
    .filter({ hasText: new RegExp(`^${name}$`) }).locator('input');
  for (const name of boysEvents) await box(1, name).check();
  // The girls' boxes come into view when their list is chosen.
  await page.click('#BsLb2');
  for (const name of girlsEvents.filter((n) => !n.includes('迎面'))) await box(2, name).check();
  assert.equal(await page.inputValue('#BsLb1'), boysEvents.join(';') + ';');
  assert.equal(await page.inputValue('#BsLb2'), girlsEvents.join(';') + ';');
  assert.match(await submit(page, '#button3', 'ChangGrdeMatch.html'), /网络报名已经打开/);

  // ④ Every round: track in the morning, field in the afternoon. The times
  // are kept for the order book's timetable.
  const times = new Map();
  await page.goto(server.url('/MatchPlan.html'));
  const press = async (label) => {
    const back = page.waitForEvent('framenavigated',
      (frame) => frame === page.mainFrame() && /MatchPlan\.html\?DayID=/.test(frame.url()));
    await page.click(`input[value="${label}"]`);
    await back;
    await page.waitForLoadState('load');
  };
  const scheduleAll = async () => {
    const all = await page.locator('#dablist option').evaluateAll((list) => list.map((o) => o.value));
    await page.selectOption('#dablist', all);
    await press('将下方选中的比赛安排到：');
    assert.equal(await page.locator('#dablist option').count(), 0);
    for (const text of await page.locator('#yablist option').allTextContents()) {
      const [, label, time] = /^(.*\])\d+ (\d+:\d+)$/.exec(text);
      times.set(label, time);
    }
  };
  await scheduleAll();
  await Promise.all([page.waitForURL(/DayID=2&MatchType=1/), page.selectOption('#riqi', '2')]);
  await Promise.all([page.waitForURL(/DayID=2&MatchType=2/), page.click('a:has-text("田赛")')]);
  await scheduleAll();
  assert.match(await page.locator('body').innerText(), /所有比赛已经安排完毕/);
  // A dropped preliminary is scheduled too; it turns out needless only at
  // the draw.
  assert.equal(times.size, rounds.length + rounds.filter((r) => r.dropped).length);
  return times;
}

// One class teacher enters the class: every boy, then every girl, each
// with his events, until both groups are full.
async function enterClass(teacher, server, cls) {
  const { page, dialogs } = teacher;
  await signInAsClassTeacher(page, server, cls.id, '9352');
  for (const sex of [1, 2]) {
    const list = athletes.filter((a) => a.cls === cls && a.sex === sex);
    for (const [at, a] of list.entries()) {
      await page.goto(server.url(sex === 1 ? '/BoyEnroll.html' : '/GirlEnroll.html'));
      if (sex === 1 && at === 3) {
        // Three classmates run the 50米 already: the box is struck, full.
        assert.equal(await eventBox(page, '50米').isDisabled(), true);
        assert.match(await page.locator('#DxBcName1 + span').innerText(), /满/);
      }
      await page.fill('#stname', a.name);
      for (const name of a.events) await eventBox(page, name).check();
      await page.click('#an3');
      await page.waitForFunction(() => !document.getElementById('stname'));
      const answer = await page.locator('#gndiv1').innerText();
      assert.match(answer, new RegExp(`姓名：${a.name},报名的比赛：`), answer);
      if (at === list.length - 1) assert.match(answer, sex === 1 ? /男子竞赛组已报满/ : /女子竞赛组已报满/);
    }
  }
  await page.goto(server.url('/ShowClass.html'));
  await page.click('input[value="添加男子运动员"]');
  assert.deepEqual(dialogs.splice(0), [`竞赛组限报${limits.perClass}人,不能再添加新的运动员.`]);
  const home = await page.locator('body').innerText();
  for (const a of athletes.filter((x) => x.cls === cls)) assert.ok(home.includes(a.name), a.name);
  if (cls !== classes[0]) return;

  // The first class's teacher names the team leader and changes the
  // password, both with a '#', signs out ("退出登陆" ends the session) and
  // signs in with the new one.
  await page.click('#tjldan');
  await page.fill('#lingdui', '王#李');
  await page.click('#tjldan');
  await page.locator('#ldts', { hasText: '已更新' }).waitFor();
  await clickTo(page, 'ChangPass.html', link(page, '修改密码'));
  await page.fill('#oldpassword', '9352');
  await page.fill('#newpassword', 'abcd#1234');
  await page.fill('#newpassword2', 'abcd#1234');
  await Promise.all([page.waitForURL('**/ShowClass.html'), page.click('#changAn')]);
  assert.deepEqual(dialogs.splice(0), ['密码修改成功！按确定返回班级首页！']);
  await Promise.all([page.waitForURL(server.url('/')), link(page, '退出登陆').click()]);
  await page.goto(server.url('/ShowClass.html'));
  assert.match(await page.locator('body').innerText(), /您的登陆已经超时/);
  await signInAsClassTeacher(page, server, cls.id, 'abcd#1234');
  assert.equal(await page.inputValue('#lingdui'), '王#李');
}

// Closes registration, makes the order book and prints it through
// LibreOffice; resolves to the PDF's text without blanks, page numbers and
// running heads, so that a table broken across pages reads as one.
async function makeTheOrderBook(admin, server, folder) {
  const { page, dialogs } = admin;
  await page.goto(server.url('/BookControl.html'));
  // Some girls entered fewer events than they may, so closing asks first.
  assert.equal(await page.locator('#BmAnNiu').innerText(), '强制关闭网络报名');
  await page.click('#BmAnNiu');
  await page.waitForFunction(() => document.getElementById('RetDiv2').innerText === '网络报名已关闭');
  assert.match(dialogs.shift(), /目前报名未完成/);
  // Every class has its teams: the book starts at once.
  const reloaded = page.waitForEvent('load');
  await page.click('#makexcan1');
  await page.waitForFunction(() => document.getElementById('processbar').style.width === '200px');
  await reloaded;
  assert.match(dialogs.shift(), /秩序册已成功生成/);
  const href = await page.locator('a', { hasText: '点击下载(请选择保存或另存为)' }).getAttribute('href');
  const book = await page.request.get(new URL(href, page.url()).href);
  await writeFile(join(folder, 'book.doc'), await book.body());
  run('soffice', ['--headless', `-env:UserInstallation=file://${folder}/office`, '--convert-to', 'pdf',
    '--outdir', folder, join(folder, 'book.doc')], { stdio: 'ignore' });
  return run('pdftotext', ['-raw', '-enc', 'UTF-8', join(folder, 'book.pdf'), '-'])
    .replace(/(\n\d+)?\n\f(QV[^\n]*\n)?/g, '\n').replace(whitespace, '');
}

// Adds a staff account on the accounts page: role 1 clerk, 2 print
// administrator.
async function addAccount(admin, server, name, password, role) {
  const { page, dialogs } = admin;
  await page.goto(server.url('/AdUserList.html'));
  await page.fill('#newname', name);
  await page.fill('#newpass', password);
  await page.selectOption('#userAuthorization', role);
  await Promise.all([page.waitForEvent('load'), page.click('#addadminbutton')]);
  assert.equal(dialogs.shift(), '添加成功！');
}

// The rows of the score-entry page: lane (or order), bib, name, class,
// result, place cell, record mark, points.
const entryRows = (page) => page.evaluate(() => {
  const rows = [];
  for (let i = 1; document.getElementById('cjinput' + i); i++) {
    const cells = document.getElementById('cjinput' + i).closest('tr').cells;
    rows.push({
      i, lane: Number(cells[0].innerText.trim()), bib: cells[1].innerText.trim(), name: cells[2].innerText.trim(),
      cls: cells[3].innerText.trim(), result: document.getElementById('cjinput' + i).value,
      place: cells[6].innerText.trim(), mark: cells[7].innerText.trim(), points: cells[8].innerText.trim(),
    });
  }
  return rows;
});

// A clerk changes one result of a counted round and, warned that the round
// is counted, has it counted again.
async function correctResult(clerk, server, r, key, text) {
  const { page, dialogs } = clerk;
  await openRound(page, server, r);
  const row = (await entryRows(page)).find((x) => x.name === key);
  await page.fill(`#cjinput${row.i}`, text);
  await page.press(`#cjinput${row.i}`, 'Enter');
  await page.waitForFunction(() => document.getElementById('popupl').style.display === 'block');
  await page.check('#fgjsjl1');
  await Promise.all([page.waitForEvent('load'), page.click('#YJSan1')]);
  assert.match(dialogs.shift(), /比赛已完成，请查看或打印成绩表/);
}

// The board's next poll a minute on, and the first poll of a page it
// reloads on, until its tables (without blanks) pass the test.
async function waitForBoard(page, test, what) {
  await page.clock.runFor(60000);
  for (let i = 0; i < 30; i++) {
    if (test((await page.locator('#GMain').innerText().catch(() => '')).replace(whitespace, ''))) return;
    await page.waitForTimeout(300);
    await page.clock.runFor(1000).catch(() => {});
  }
  assert.fail(`the board never showed ${what}`);
}

// Chooses a heat on the score-entry page.
const chooseHeat = (page, heat) =>
  Promise.all([page.waitForURL(new RegExp(`zhu=${heat}$`)), page.selectOption('#ZhuBei', String(heat))]);

// Opens a round on the score-entry page through its selects.
async function openRound(page, server, r, heat = 1) {
  await page.goto(server.url(`/InputScore.html?BsDate=${r.session}&bstype=${r.type}`));
  const option = await page.locator('#ScoreID option').evaluateAll(
    (all, label) => all.find((o) => o.textContent === label)?.value, r.label);
  assert.ok(option, `${r.label} offered`);
  if ((await page.inputValue('#ScoreID')) !== option)
    await Promise.all([page.waitForURL(new RegExp(`MatchTabe=${option}$`)), page.selectOption('#ScoreID', option)]);
  if (heat !== 1) await chooseHeat(page, heat);
  r.id = option;
}

// A clerk types every result of a round, heat by heat, pressing Enter in
// each row; the last one counts the round (or brings the tie form, where
// the clerk gives the places the plan chose). The start lists are kept in
// r.lanes.
async function enterRound(clerk, server, r) {
  const { page, dialogs } = clerk;
  await openRound(page, server, r);
  // The standing record the page judges by, and the mark each upload gets
  // against it.
  const standing = recordOf(r);
  const recordLine = await page.locator('span[title^="最高记录成绩："]').getAttribute('title');
  assert.equal(recordLine.trim(), standing ? `最高记录成绩：${resultText(standing, r.unit)}${r.unit}` : '最高记录成绩：无');
  const marks = prelimMarks({ entries: entriesOf(r), unit: r.unit, better: r.better, record: standing, bonus });
  const heats = await page.locator('#ZhuBei option').count();
  r.lanes = [];
  for (let heat = 1; heat <= heats; heat++) {
    if (heat > 1) await chooseHeat(page, heat);
    const rows = await entryRows(page);
    for (const row of rows) {
      const key = r.team ? row.cls : row.name;
      const text = r.results[key];
      assert.ok(text, `${r.label}: a result for ${key}`);
      r.lanes.push({ ...row, heat, key });
      const input = page.locator(`#cjinput${row.i}`);
      await input.fill(text);
      const lastOfHeat = row.i === rows.length;
      if (!lastOfHeat) {
        await input.press('Enter');
        await page.waitForFunction((i) => document.getElementById('RetDiv' + i).innerText === '已保存', row.i);
        const { flag, points } = marks.get(key);
        assert.deepEqual(
          [await page.locator(`#jltext${row.i}`).innerText(), await page.locator(`#dftext${row.i}`).innerText()],
          [['', '平记录', '破记录'][flag], points ? pointsText(points) : ''], `${r.label} ${key} uploaded`);
      } else if (heat < heats) {
        await input.press('Enter');
        await page.waitForFunction(() => document.getElementById('BotRetDiv').innerText.includes('请及时输入该比赛其他组别的成绩'));
      } else if (r.chosen) {
        await input.press('Enter');
        await page.waitForFunction(() => document.getElementById('popupl').style.display === 'block');
        await placeTies(clerk, r);
      } else {
        const reloaded = page.waitForEvent('load');
        await input.press('Enter');
        await reloaded;
        assert.match(dialogs.shift(), r.prelim ? /比赛完成，已生成决赛安排/ : /比赛已完成，请查看或打印成绩表/);
      }
    }
  }
  assert.deepEqual(dialogs, []);
}

// The tie form of a final without ties: the tied rows, each given the
// place the plan chose.
async function placeTies(clerk, r) {
  const { page, dialogs } = clerk;
  assert.match(await page.locator('#popupl').innerText(), /本比赛项目不允许并列/);
  assert.equal(Number(await page.inputValue('#BinLieMax')), r.tieForm.tied.length);
  // Sent as shown, every row on 第1名: the server's reason, the form stays.
  const alerted = page.waitForEvent('dialog');
  await page.click('#APPan1');
  await alerted;
  assert.deepEqual(dialogs.splice(0), ['名次不能重复，请为每位运动员指定不同的名次，或选择“强制允许并列”后再提交！']);
  assert.equal(await page.locator('#popupl').evaluate((div) => div.style.display), 'block');
  for (let n = 1; n <= r.tieForm.tied.length; n++) {
    const row = await page.locator(`#APImc${n}`).locator('xpath=ancestor::tr[1]').innerText();
    const name = r.tieForm.tied.find((key) => row.includes(key));
    assert.ok(name, `a planned tie in ${row}`);
    await page.selectOption(`#APImc${n}`, String(r.chosen.get(name)));
  }
  const reloaded = page.waitForEvent('load');
  await page.click('#APPan1');
  await reloaded;
  assert.equal(dialogs.shift(), '决赛已经完成，请查看或打印【成绩表】。');
}

// The counted round on the score-entry page: every row's place, record
// mark and points as the oracle has them.
async function checkCounted(clerk, server, r) {
  const { page } = clerk;
  for (const heat of [...new Set(r.lanes.map((l) => l.heat))]) {
    await openRound(page, server, r, heat);
    for (const row of await entryRows(page)) {
      const key = r.team ? row.cls : row.name;
      assert.equal(row.result, resultText(r.results[key], r.unit), `${r.label} ${key}`);
      const { place, points, flag } = r.prelim ? r.marks.get(key) : r.expected.get(key);
      const placeText = r.prelim ? (seeded.some((q) => q.key === key) ? '录取' : '') : place ? `第${place}名` : '';
      assert.deepEqual(
        { place: row.place, mark: row.mark, points: row.points },
        { place: placeText, mark: ['', '平记录', '破记录'][flag], points: points ? pointsText(points) : '' },
        `${r.label} ${key}`,
      );
    }
  }
  assert.match(await page.locator('#BotRetDiv').innerText(),
    r.prelim ? /比赛完成，决赛安排已生成/ : /比赛已完成，请查看或打印成绩表/);
}

// The class teacher's results page: the class total and the points of
// every scoring row, as the oracle has them.
async function checkClassResults(teacher, server, cls) {
  const { page } = teacher;
  await page.goto(server.url('/SeeClassCJ.html'));
  const text = await page.locator('body').innerText();
  assert.match(text, new RegExp(`当前班级总得分：${literal(pointsText(classTotals.get(cls.name)))}`));
  const shown = await page.locator('table tr').evaluateAll((rows) =>
    rows.map((tr) => tr.cells[5]?.innerText.trim()).filter((cell) => cell && cell !== '得分'));
  const expected = [];
  for (const r of rounds)
    for (const [key, points] of r.scored) if (points && classOf(r, key) === cls.name) expected.push(pointsText(points));
  assert.deepEqual(shown.sort(), expected.sort(), cls.name);
}

// The start lists the clerks saw, as the check-in sheets print them: for
// lanes one line each of bibs, names and classes by lane; for field events
// one row per athlete in start order.
function checkInText(r, heat) {
  const lanes = r.lanes.filter((l) => l.heat === heat).sort((a, b) => a.lane - b.lane);
  if (r.type === 1)
    return `号码${r.team ? '' : lanes.map((l) => l.bib).join('')}姓名${r.team ? '' : lanes.map((l) => l.name).join('')}`
      + `班级${lanes.map((l) => l.cls).join('')}`;
  return lanes.map((l, k) => `${k + 1}${l.bib}${l.name}${l.cls}`).join('');
}

// The order book's tables of one round's start list: per heat, tables of
// six columns, the first place of a table in the column of its lane (or
// start order), with bibs, names and classes.
function bookTables(r) {
  const tables = [];
  for (const heat of [...new Set(r.lanes.map((l) => l.heat))]) {
    const lanes = r.lanes.filter((l) => l.heat === heat).sort((a, b) => a.lane - b.lane);
    for (let at = 0; at < lanes.length;) {
      const room = 6 - ((lanes[at].lane - 1) % 6);
      const part = lanes.slice(at, at + room);
      const labels = part.map((l) => (r.type === 1 ? `${chineseNumeral(l.lane)}道` : `${l.lane}`)).join('');
      const [first, second, third] = at === 0 ? ['第', chineseNumeral(heat), '组'] : ['', '', ''];
      const bibsRow = r.team ? '' : part.map((l) => l.bib).join('');
      const namesRow = r.team ? '' : part.map((l) => l.name).join('');
      tables.push(`${r.type === 1 ? '组\\道' : '组\\序'}${labels}${first}${bibsRow}${second}${namesRow}${third}`
        + part.map((l) => l.cls).join(''));
      at += part.length;
    }
  }
  return tables;
}

// The class points board of the results board: the meet's classes
// highest total first, dense ranks; then, on the school's board, every
// other class of the school with nothing, ranked after them.
async function checkPointsBoard(page, rankWord, others) {
  const order = classes.map((c) => c.name).sort((a, b) => classTotals.get(b) - classTotals.get(a));
  const ranks = denseRanks(order.map((name) => classTotals.get(name)));
  const rows = await page.locator('#PangDiv table').first().locator('tr').evaluateAll((all) =>
    all.map((tr) => [...tr.cells].map((td) => td.innerText.trim())));
  assert.deepEqual(rows.slice(0, classes.length + 1), [['序号', '班级', '总分', rankWord],
    ...order.map((name, i) => [String(i + 1), name, pointsText(classTotals.get(name)), `第${ranks[i]}名`])]);
  assert.deepEqual(rows.slice(classes.length + 1).map(([, , points, rank]) => [points, rank]),
    Array(others).fill([pointsText(0), `第${Math.max(...ranks) + 1}名`]));
}

// The results board's newest block: every counted round's table, with the
// places, points and marks of the oracle (the preliminary's as they stood
// when it was counted).
function checkBoardTables(text, counted) {
  const shown = text.replace(whitespace, '');
  for (const r of counted) {
    assert.ok(shown.includes(`${r.sheetTitle}单位：${r.unit}`), `${r.label} on the board`);
    const lines = r.prelim
      ? seeded.map(({ key }) => [key, '录取', r.marks.get(key)])
      : [...r.expected].filter(([, e]) => e.place).map(([key, e]) => [key, `第${e.place}名`, e]);
    for (const [key, place, { points, flag }] of lines) {
      const who = r.team ? key : `${bibs.get(key)}${key}${athlete(key).cls.name}`;
      const line = `${who}${resultText(r.results[key], r.unit)}${r.unit}${place}${points ? pointsText(points) : ''}`
        + ['', '平记录', '破记录'][flag];
      assert.ok(shown.includes(line), `${r.label}: ${line} on the board`);
    }
  }
}

// Shows a report of the reports page once it holds end; resolves to its
// text without blanks.
async function report(page, server, name, end = 'END') {
  await page.goto(server.url('/Table.html'));
  await page.click(`text=${name}`);
  await page.waitForFunction((text) => document.getElementById('gndiv1').innerText.includes(text), end);
  return (await page.locator('#gndiv1').innerText()).replace(whitespace, '');
}

// ---- The meet's end, with a preliminary the draw dropped ----

// The girls' six made their 50米 preliminary needless. With every result
// in, the home page calls the scores done, 学生成绩表 lists the girls'
// places, and no class lists a round that is never run.
async function checkTheMeetsEnd(admin, teachers, server) {
  const { page } = admin;
  await page.goto(server.url('/Admin.html'));
  assert.match(await page.locator('body').innerText(), /可进行/);
  const list = await report(page, server, '学生成绩导入学籍表');
  const girls50 = rounds.find((r) => r.event === '50米' && r.sex === 2);
  for (const [key, { place }] of girls50.expected) {
    const row = `${grade}${athlete(key).cls.name}${bibs.get(key)}${key}50米${resultText(girls50.results[key], '秒')}秒第${place}名`;
    assert.equal(list.includes(row), place > 0, row);
  }
  for (const { page: own } of teachers) {
    await own.goto(server.url('/SeeClassCJ.html'));
    assert.doesNotMatch(await own.locator('body').innerText(), /还没有比赛/);
  }
}

test('a whole meet: set-up, registration, order book, results, paper', async () => {
  const server = await startServer();
  const chromium = await launchSharedBrowser();
  const folder = await mkdtemp(join(tmpdir(), 'korva-meet-'));
  try {
    const admin = await chromium.actor();
    const times = await setUpTheMeet(admin, server);

    // The results board goes up on its screen now and stays open. Its clock
    // is the test's: a minute passes on it when the test says so. Its first
    // poll, a second after loading, shows every class of the school, nothing
    // counted, no ranks yet.
    const board = await chromium.actor();
    // Paused, so that a slow machine's minutes never pass on the board.
    const start = Date.now();
    await board.context.clock.install({ time: start });
    await board.context.clock.pauseAt(start + 1000);
    await board.page.goto(server.url('/GongGao.html'));
    await board.page.clock.runFor(1000);
    await board.page.waitForFunction((name) => document.getElementById('PangDiv').innerText.includes(name),
      classes.at(-1).name);
    const schoolClasses = await board.page.locator('#PangDiv tr').count() - 1;
    assert.equal(await board.page.locator('#PangDiv span[style="display:none"]').count(), schoolClasses);

    // Three class teachers at once, each in a browser of his own.
    const teachers = await Promise.all(classes.map(() => chromium.actor()));
    await Promise.all(classes.map((cls, i) => enterClass(teachers[i], server, cls)));

    // The order book: a roster of every class with the bib numbers the
    // oracle gives, and the timetable as scheduled.
    const book = await makeTheOrderBook(admin, server, folder);
    for (const cls of classes) {
      for (const sex of [1, 2]) {
        const roster = athletes.filter((a) => a.cls === cls && a.sex === sex)
          .map((a) => bibs.get(a.name) + a.name).join('');
        assert.ok(book.includes(roster), `${roster} in the order book`);
      }
    }
    // Each round at its scheduled time, with the heats, entrants and places
    // the oracle gives: 减一录取 takes one place off a final that has no
    // more starters than places.
    const clock = (label) => times.get(label).padStart(5, '0');
    const timetable = [
      `[${clock(prelim.label)}]${prelim.title}2组9人取8人决`,
      ...rounds.filter((r) => r.dropped).map((r) => `[${clock(r.label.replace('决赛', '预赛'))}]${r.title.replace('决赛', '预赛')}人数不足,直接决赛!`),
      ...rounds.filter((r) => !r.prelim).map((r) => {
        const n = Object.keys(r.results).length;
        return `[${clock(r.label)}]${r.title}${r.afterPrelim ? '' : `${n}${r.team ? '队' : '人'}`}取${r.places}名`;
      }),
    ];
    for (const line of timetable) assert.ok(book.includes(line), `${line} in the order book`);
    // Registration is over for the teachers.
    await teachers[0].page.goto(server.url('/ShowClass.html'));
    assert.match(await teachers[0].page.locator('#bmts').innerText(), /运动员报名已经截止！/);

    // Two clerks and a print administrator get their accounts.
    await addAccount(admin, server, 'clerk1', 'clerk111', '1');
    await addAccount(admin, server, 'clerk2', 'clerk222', '1');
    await addAccount(admin, server, 'printer', 'print333', '2');
    const clerks = [await chromium.actor(), await chromium.actor()];
    await signInAsStaff(clerks[0].page, server, 'clerk1', 'clerk111');
    await signInAsStaff(clerks[1].page, server, 'clerk2', 'clerk222');

    // They type at once: the first the morning's track rounds, the second
    // the afternoon's field rounds.
    const enterAll = async (clerk, session) => {
      for (const r of rounds.filter((x) => x.session === session)) {
        await enterRound(clerk, server, r);
        await checkCounted(clerk, server, r);
      }
    };
    await Promise.all([enterAll(clerks[0], 1), enterAll(clerks[1], 2)]);

    // The final holds the eight qualifiers, the best in the middle lanes.
    const final = rounds.find((r) => r.afterPrelim);
    assert.deepEqual(
      final.lanes.map((l) => ({ key: l.key, heat: l.heat, lane: l.lane })).sort((a, b) => a.lane - b.lane),
      seeded.map((q) => ({ key: q.key, heat: q.heat, lane: q.lane })).sort((a, b) => a.lane - b.lane),
    );
    // The order book's start lists are the ones the clerks typed into
    // (the final after the preliminary was not drawn yet).
    for (const r of rounds.filter((x) => !x.afterPrelim))
      for (const table of bookTables(r)) assert.ok(book.includes(table), `${r.label}: ${table} in the order book`);

    // Each class teacher sees the class's points and total.
    await Promise.all(classes.map((cls, i) => checkClassResults(teachers[i], server, cls)));

    // A minute later the board's next poll brings every counted round in
    // one block on top, and the points board.
    const counted = rounds.filter((r) => r.prelim || r.expected);
    assert.equal(await board.page.locator('#GMain > div').count(), 1);
    await board.page.clock.runFor(60000);
    await board.page.waitForFunction(() => document.querySelectorAll('#GMain > div').length === 2);
    checkBoardTables(await board.page.locator('#GMain > div').first().innerText(), counted);
    await board.page.waitForFunction(() => !document.querySelector('#PangDiv span[style="display:none"]'));
    await checkPointsBoard(board.page, '全校排名', schoolClasses - classes.length);
    // The grade's board: the same tables, the grade's ranks, and its best
    // athletes.
    await Promise.all([board.page.waitForURL('**/GongGao.html?CjNo=0&ClassId=1'),
      board.page.selectOption('#CsList', { label: grade })]);
    await board.page.clock.runFor(1000);
    await board.page.waitForFunction(() => document.getElementById('PangDiv').innerText.includes('风'));
    checkBoardTables(await board.page.locator('#GMain > div').first().innerText(), counted);
    await checkPointsBoard(board.page, '年级排名', 0);
    const best = await board.page.locator('#PangDiv table').nth(1).locator('tr').evaluateAll((all) =>
      all.slice(1).map((tr) => [...tr.cells].map((td) => td.innerText.trim())));
    const totals = [...athleteTotals.values()].sort((a, b) => b - a).slice(0, 10);
    const ranks = denseRanks(totals);
    assert.deepEqual(best.map(([, , points, rank]) => [points, rank]),
      totals.map((t, i) => [pointsText(t), String(ranks[i])]));
    for (const [name, cls, points] of best) {
      assert.equal(athlete(name).cls.name, cls);
      assert.equal(pointsText(athleteTotals.get(name)), points, name);
    }

    await checkTheMeetsEnd(admin, teachers, server);

    // The points table and the records of the reports: each class's row
    // ends in its total.
    const pointsTable = await report(admin.page, server, '总分表');
    for (const [i, c] of classes.entries()) {
      const from = pointsTable.indexOf(`${i + 1}${grade}${c.name}`);
      const row = pointsTable.slice(from).split(new RegExp(`${i + 2}[一二三四五六]年级`))[0];
      assert.ok(from >= 0 && row.endsWith(pointsText(classTotals.get(c.name))), row);
    }
    const recordsReport = await report(admin.page, server, '最高记录成绩表', '最高记录成绩表');
    for (const x of newRecords)
      assert.ok(recordsReport.includes(`${grade}${athlete(x.key).cls.name}${x.key}${x.text}${x.unit}`), x.event);

    // The print administrator's paper. Each print button loads its sheet
    // into the print frame, which prints it; the same sheet goes to PDF.
    const printer = await chromium.actor();
    await recordPrints(printer.context);
    await signInAsStaff(printer.page, server, 'printer', 'print333');
    const { page } = printer;
    // Presses a print button; the printed sheet's text, as a PDF of A4.
    const print = async (selector) => printToPdf(printer.context, await pressPrint(page, selector), folder);

    // Check-in sheets of each half-day: the morning's track rounds drawn
    // with the order book, the final made by the preliminary, the
    // afternoon's field rounds; each lists the start lists the clerks saw.
    await page.goto(server.url('/Print1.html'));
    const sessionSheets = [
      { button: 'sqprint(1,1);', rounds: rounds.filter((r) => r.session === 1 && !r.afterPrelim) },
      { button: 'sqprint(1,3);', rounds: rounds.filter((r) => r.afterPrelim) },
      { button: 'sqprint(2,2);', rounds: rounds.filter((r) => r.session === 2) },
    ];
    for (const sheet of sessionSheets) {
      const text = await print(`input[onclick="${sheet.button}"]`);
      for (const r of sheet.rounds) {
        const heats = new Set(r.lanes.map((l) => l.heat));
        for (const heat of heats) {
          const head = `${r.sheetTitle.replace(/(预赛|决赛)$/, '')}${r.prelim ? '预赛' : '决赛'}第${chineseNumeral(heat)}组(共${chineseNumeral(heats.size)}组)`;
          assert.ok(text.includes(head), `${head} in ${sheet.button}`);
          assert.ok(text.includes(checkInText(r, heat)), `${r.label} heat ${heat} in ${sheet.button}: ${checkInText(r, heat)}`);
        }
      }
    }

    // Result sheets: every counted round is listed; each sheet holds the
    // qualifiers, or the placed results with their points and marks.
    await page.goto(server.url('/Print2.html'));
    const listed = await page.locator('input[value="打印【成绩表】"]').evaluateAll((all) =>
      all.map((b) => b.closest('tr').cells[1].innerText.replace(/\s/g, '')));
    assert.deepEqual(listed.sort(), counted.map((r) => r.sheetTitle).sort());
    for (const r of counted) {
      const text = await print(`input[onclick="cjan2(3,${r.id});"]`);
      assert.ok(text.includes(`${r.sheetTitle}单位：${r.unit}`), `${r.label} sheet head`);
      if (r.prelim) {
        for (const q of seeded) {
          const { flag, points } = r.marksAfterFinal.get(q.key);
          const line = `${bibs.get(q.key)}${q.key}${athlete(q.key).cls.name}${resultText(r.results[q.key], r.unit)}录取`
            + `${points ? pointsText(points) : ''}${['', '平记录', '破记录'][flag]}`;
          assert.ok(text.includes(line), line);
        }
        continue;
      }
      for (const [key, { place, points, flag }] of r.expected) {
        const who = r.team ? key : `${bibs.get(key)}${key}${athlete(key).cls.name}`;
        const line = `${who}${resultText(r.results[key], r.unit)}第${place}名${pointsText(points)}${['', '平记录', '破记录'][flag]}`;
        assert.equal(text.includes(line), place > 0, `${r.label}: ${line}`);
      }
    }
    await page.reload();
    assert.equal(await page.locator('text=未打').count(), 0);

    // Certificates: every placed result of every final, with its place in
    // words.
    await page.goto(server.url('/Print3.html'));
    assert.equal(await page.locator('input[value="打印【奖状】"]').count(), counted.length - 1);
    for (const r of counted.filter((x) => !x.prelim)) {
      const text = await print(`input[onclick="cjan2(4,${r.id});"]`);
      for (const [key, { place }] of r.expected) {
        const to = r.team ? `${key}：` : `${athlete(key).cls.name}${key}同学：`;
        const certificate = `${to}在QV网络${meetName}中荣获${r.award}比赛第${chineseNumeral(place)}名特发此证，并表祝贺！`;
        assert.equal(text.includes(certificate), place > 0, `${r.label}: ${certificate}`);
      }
    }

    // The search tab: each class's placed results.
    await page.goto(server.url('/Print4.html'));
    for (const c of classes) {
      await page.selectOption('#banji', { label: c.name });
      await page.click('#findCS');
      await page.waitForFunction((name) => document.getElementById('ShowMessage').innerText.includes(`${name}获奖列表`),
        c.name);
      const listed = await page.locator('#ShowMessage tr').evaluateAll((all) =>
        all.slice(1).map((tr) => [...tr.cells].slice(2, 6).map((td) => td.innerText.trim())));
      const placed = rounds.flatMap((r) => [...(r.expected || [])]
        .filter(([key, e]) => e.place && classOf(r, key) === c.name).map(([key, e]) => ({ r, key, place: e.place })));
      assert.equal(listed.length, placed.length, c.name);
      for (const { r, key, place } of placed) {
        const row = listed.find(([name, event, result]) => event.endsWith(` ${r.event}`)
          && result === resultText(r.results[key], r.unit) + r.unit && (r.team || name === key));
        assert.ok(row, `${c.name}: ${r.label} ${key}`);
        assert.equal(row[3], `第${place}名`, `${c.name}: ${r.label} ${key}`);
      }
    }

    // The board stays open through a correction and a restart of the
    // server. A clerk corrects 王三's 60米 in 三项全能: the board's next
    // poll shows the part counted again. The server restarts (every session
    // ends); the clerk signs in again and puts the result back, and the
    // board, never reloaded by hand, shows it at its next polls.
    const sixty = rounds.find((r) => r.event === '60米' && r.part);
    const row = (text) => `${bibs.get('王三')}王三${c2}${text}秒`;
    await correctResult(clerks[0], server, sixty, '王三', '10.08');
    await waitForBoard(board.page, (text) => text.includes(row('10.08')), '10.08');
    await server.restart();
    await signInAsStaff(clerks[0].page, server, 'clerk1', 'clerk111');
    await correctResult(clerks[0], server, sixty, '王三', '10.05');
    await waitForBoard(board.page, (text) => text.includes(row('10.05')) && !text.includes(row('10.08')), '10.05');

    // Each record stands as its standalone final set it, on the records
    // page and in the base file, where records outlive the meet (beside
    // the rows of the records typed before it).
    await signInAsStaff(admin.page, server);
    await clickTo(admin.page, 'SetupSchool.html', link(admin.page, '系统设置'));
    await clickTo(admin.page, 'ShowTopScore.html', link(admin.page, '最高纪录设置'));
    const stored = run('sqlite3', [join(server.data, 'PBD.DAT'),
      "SELECT qrtb193, qrtb196, qrtb199, qrtb202, qrtb209 FROM qrtb188 WHERE qrtb209 <> '' ORDER BY qrtb193"]).trim().split('\n');
    for (const [i, x] of newRecords.entries()) {
      const cell = await recordCell(admin.page, x);
      assert.equal(cell.value, x.text);
      assert.match(cell.title, new RegExp(`在${meetName}中由${literal(athlete(x.key).cls.name)}${x.key}创造！`));
      assert.equal(stored[i], [x.event, scoreValue(x.text, x.unit), x.key, athlete(x.key).cls.name, meetName].join('|'));
    }
  } finally {
    await chromium.close();
    await rm(folder, { recursive: true, force: true });
    await server.stop();
  }
});

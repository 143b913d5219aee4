// What the whole-meet test expects, worked out from the results it types
// and the rules of the sports day, without the server's code: how a typed
// result compares, who qualifies from a preliminary and where the final
// puts them, places and points of a final (shared ties, places chosen by
// hand, double points, record marks and bonuses), bib numbers, class totals
// and the texts the pages print for them.

// A typed result as a number that compares like the result: hundredths of
// a second, millimetres. The test types results in their normal
// form only (8.05, 1.25.40, 3.10, 25).
export function scoreValue(text, unit) {
  const [a, b = 0, c = 0] = text.split('.').map(Number);
  switch (unit) {
    case '秒': return a * 100 + b;
    case '分': return (a * 60 + b) * 100 + c;
    case '米': return (a * 100 + b) * 10;
    default: throw new Error(`no rule for the unit ${unit}`);
  }
}

// A result as the pages show it: 8.05 s, 1.25.40 min, 3.10 m, but 1 for
// 1.00 m.
export function resultText(text, unit) {
  const v = scoreValue(text, unit);
  const two = (n) => String(n).padStart(2, '0');
  switch (unit) {
    case '秒': return v % 100 ? `${Math.floor(v / 100)}.${two(v % 100)}` : `${v / 100}`;
    case '分': {
      const [m, sec, hh] = [Math.floor(v / 6000), Math.floor((v % 6000) / 100), v % 100];
      return hh ? `${m}.${sec}.${hh}` : sec ? `${m}.${sec}` : `${m}`;
    }
    case '米': {
      const [m, cm] = [Math.floor(v / 1000), Math.floor((v % 1000) / 10)];
      return cm ? `${m}.${two(cm)}` : `${m}`;
    }
    default: return String(v);
  }
}

// Points as the pages write them: 9分, 5.5分, 3.33分.
export function pointsText(hundredths) {
  if (hundredths % 100 === 0) return `${hundredths / 100}分`;
  return `${(hundredths / 100).toFixed(hundredths % 10 === 0 ? 1 : 2)}分`;
}

const numerals = ['零', '一', '二', '三', '四', '五', '六', '七', '八', '九', '十'];
export const chineseNumeral = (n) => (n >= 0 && n <= 10 ? numerals[n] : String(n));

// Lanes of a venue of size L from the centre out: 4 5 3 6 2 7 1 8 for 8.
export function centreOut(L) {
  const c = Math.ceil(L / 2);
  const order = [c];
  for (let d = 1; order.length < L; d++) {
    if (c + d <= L) order.push(c + d);
    if (order.length < L && c - d >= 1) order.push(c - d);
  }
  return order;
}

// Places a final gives: its group's places, one fewer when the rule
// "减一录取" holds and no more athletes (or teams) than places start. A
// final after a preliminary keeps the group's places.
export function placesOfFinal({ entrants, groupPlaces, admitOneLess, afterPrelim }) {
  if (afterPrelim || !admitOneLess || entrants > groupPlaces) return groupPlaces;
  return entrants === 1 ? 1 : entrants - 1;
}

// entries: [{ key, text }] in the order the start list holds them; better:
// 'smaller' or 'larger'. Sorted best first; equal results keep their order.
function ranked(entries, unit, better) {
  const withValues = entries.map((e, at) => ({ ...e, value: scoreValue(e.text, unit), at }));
  const sign = better === 'smaller' ? 1 : -1;
  return withValues.sort((x, y) => sign * (x.value - y.value) || x.at - y.at);
}

// Record flag of one result against the standing record: 2 broken, 1
// equalled, 0 neither or no record.
function recordFlag(value, record, better) {
  if (record === undefined || record === null) return 0;
  if (value === record) return 1;
  return (better === 'smaller' ? value < record : value > record) ? 2 : 0;
}

// The preliminary: the quota best qualify, and every athlete equal to the
// last of them. Returns the qualifiers best first, each with the heat and
// lane the final gives it.
export function qualify({ entries, unit, better, quota, lanes }) {
  const list = ranked(entries, unit, better);
  const taken = [];
  for (const e of list) {
    if (taken.length < quota || e.value === taken.at(-1).value) taken.push(e);
    else break;
  }
  const heats = Math.ceil(taken.length / lanes);
  const order = centreOut(lanes);
  return taken.map((e, i) => ({ key: e.key, heat: (i % heats) + 1, lane: order[Math.floor(i / heats)] }));
}

// The record marks a preliminary keeps: each result against the standing
// record, with the group's bonus. Map key -> { flag, points }.
export function prelimMarks({ entries, unit, better, record, bonus }) {
  const recordValue = record ? scoreValue(record, unit) : null;
  const out = new Map();
  for (const e of entries) {
    const flag = recordFlag(scoreValue(e.text, unit), recordValue, better);
    out.set(e.key, { flag, points: (flag === 2 ? bonus.broken : flag === 1 ? bonus.equal : 0) * 100 });
  }
  return out;
}

// Places, points (hundredths) and record flags of a final. scheme: points
// of places 1 to 20; multiplier 1 or 2; record: the standing record's value
// (typed text) or none, with the group's bonuses { equal, broken } in whole
// points. ties: whether equal results share places. chosen: Map key ->
// place, the places the clerk chose on the tie form (then every place is
// given by hand). prelim: the marks of the preliminary before this final
// (prelimMarks), for one bonus per athlete and record: a final's mark gives
// way to a better one in the preliminary, and takes the place of one no
// better (listed in the answer's prelimCleared). Returns { tie: true } when
// ties are not allowed and equal results stand within the places and
// nothing was chosen; else a Map key -> { place, points, flag } for every
// entry (place 0 beyond the places).
export function rankFinal({ entries, unit, better, ties, places, scheme, multiplier, record, bonus, chosen, prelim }) {
  const list = ranked(entries, unit, better);
  const recordValue = record ? scoreValue(record, unit) : null;
  const schemePoints = (place) => (place >= 1 && place <= 20 ? scheme[place - 1] || 0 : 0);
  const bonusOf = (flag) => (flag === 2 ? bonus.broken : flag === 1 ? bonus.equal : 0);
  const out = new Map();
  out.prelimCleared = [];
  // One bonus per athlete and record; resolves to the bonus left to the
  // final's mark.
  const oneBonus = (key, flag, bonusPoints) => {
    const before = prelim?.get(key)?.flag || 0;
    if (!flag || !before) return [flag, bonusPoints];
    if (before > flag) return [0, 0];
    out.prelimCleared.push(key);
    return [flag, bonusPoints];
  };
  // Without a place a result keeps what its upload gave it: its own mark
  // against the record and that bonus.
  for (const e of list) {
    const flag = recordFlag(e.value, recordValue, better);
    out.set(e.key, { place: 0, points: bonusOf(flag) * 100, flag });
  }
  const runs = [];
  for (const e of list) {
    if (runs.length && runs.at(-1)[0].value === e.value) runs.at(-1).push(e);
    else runs.push([e]);
  }

  if (chosen) {
    // Each named result: its place's points, and the bonus of its own mark.
    for (const run of runs) {
      for (const e of run) {
        const start = list.indexOf(e) + 1;
        const place = run.length > 1 ? chosen.get(e.key) : start;
        if (place === undefined || start > places) continue;
        const flag = recordFlag(e.value, recordValue, better);
        out.set(e.key, { place, points: (schemePoints(place) * multiplier + bonusOf(flag)) * 100, flag });
      }
    }
    return out;
  }

  if (!ties) {
    let p = 0;
    for (const run of runs) {
      if (p >= places) break;
      if (run.length > 1) return { tie: true, tied: run.map((e) => e.key) };
      p += run.length;
    }
  }

  let p = 0;
  let checking = recordValue !== null;
  for (const run of runs) {
    if (p >= places) break;
    let flag = 0;
    if (checking) {
      flag = recordFlag(run[0].value, recordValue, better);
      if (flag === 0) checking = false;
    }
    const bonusPoints = checking ? bonusOf(flag) : 0;
    if (ties) {
      let sum = 0;
      for (let k = 1; k <= run.length; k++) sum += schemePoints(p + k);
      for (const e of run) {
        const [kept, extra] = oneBonus(e.key, flag, bonusPoints);
        out.set(e.key, { place: p + 1, points: multiplier * Math.floor((sum * 100) / run.length) + extra * 100, flag: kept });
      }
    } else {
      const e = run[0];
      const [kept, extra] = oneBonus(e.key, flag, bonusPoints);
      out.set(e.key, { place: p + 1, points: (multiplier * schemePoints(p + 1) + extra) * 100, flag: kept });
    }
    p += run.length;
  }
  return out;
}

// Bib numbers: classes in order, boys then girls, in the order the
// athletes were entered; a block starts at the class's own starting number
// (as wide as it is written) or runs on, three digits wide, from the one
// before, which takes as many numbers as the group's per-class limit.
export function bibNumbers({ classes, perClass, athletesOf }) {
  const bibs = new Map();
  let counter = 1;
  for (const c of classes) {
    for (const sex of [1, 2]) {
      const start = sex === 1 ? c.boysStart : c.girlsStart;
      let width = 3;
      if (start) [counter, width] = [Number(start), start.length];
      const block = athletesOf(c, sex);
      block.forEach((name, k) => bibs.set(name, String(counter + k).padStart(width === 3 ? 3 : 4, '0')));
      counter += Math.max(perClass, block.length);
    }
  }
  return bibs;
}

// Ranks of a points board: highest first, equal totals share a rank and
// the next total takes the next rank (1, 1, 2).
export function denseRanks(totals) {
  const sorted = [...new Set(totals)].sort((a, b) => b - a);
  return totals.map((t) => sorted.indexOf(t) + 1);
}

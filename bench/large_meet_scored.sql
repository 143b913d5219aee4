-- The large meet of bench/large_meet.h scored (run on it, for the results
-- board's load script): each preliminary's entrants in heats of eight with
-- a result, the best eight qualified (999), and its final with those eight
-- placed and scored 9 7 6 5 4 3 2 1, every round stamped as counted; only
-- the final of contest 1 (round 2) waits for its eight results.
DELETE FROM qrtb479;
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487, qrtb488, qrtb489)
SELECT ROW_NUMBER() OVER (ORDER BY contest, n), contest * 2 - 1, (n - 1) / 8 + 1, (n - 1) % 8 + 1, athlete,
       result, 0, CASE WHEN best <= 8 THEN 999 ELSE 0 END, 0, 0
FROM (SELECT qrtb399 AS contest, qrtb400 AS athlete, 1000 + qrtb400 * 7919 % 500 AS result,
             ROW_NUMBER() OVER (PARTITION BY qrtb399 ORDER BY qrtb400) AS n,
             ROW_NUMBER() OVER (PARTITION BY qrtb399 ORDER BY 1000 + qrtb400 * 7919 % 500, qrtb400) AS best
      FROM qrtb397);
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487, qrtb488, qrtb489)
SELECT 100000 + ROW_NUMBER() OVER (ORDER BY qrtb481, qrtb485, qrtb484), qrtb481 + 1, 1,
       ROW_NUMBER() OVER (PARTITION BY qrtb481 ORDER BY qrtb485, qrtb484), qrtb484, qrtb485, 0,
       ROW_NUMBER() OVER (PARTITION BY qrtb481 ORDER BY qrtb485, qrtb484), 0, 0
FROM qrtb479 WHERE qrtb487 = 999;
UPDATE qrtb479 SET qrtb488 = 100 * (CASE qrtb487 WHEN 1 THEN 9 WHEN 2 THEN 7 WHEN 3 THEN 6 WHEN 4 THEN 5
                                                 WHEN 5 THEN 4 WHEN 6 THEN 3 WHEN 7 THEN 2 ELSE 1 END)
  WHERE qrtb480 > 100000;
UPDATE qrtb444 SET qrtb452 = (SELECT COUNT(*) FROM qrtb479 WHERE qrtb481 = qrtb445),
                   qrtb458 = CASE WHEN EXISTS (SELECT 1 FROM qrtb479 WHERE qrtb481 = qrtb445)
                             THEN ((5 * 100 + 20) * 100 + 8 + qrtb445 / 60) * 100 + qrtb445 % 60 ELSE 0 END;
UPDATE qrtb409 SET qrtb412 = qrtb411;
UPDATE qrtb479 SET qrtb485 = NULL, qrtb487 = 0, qrtb488 = 0 WHERE qrtb481 = 2;
UPDATE qrtb444 SET qrtb458 = 0 WHERE qrtb445 = 2;

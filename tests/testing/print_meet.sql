-- The printing tests' meet (unit, HTTP and browser tests): drawn and
-- scored. One grade (一年级) of three classes 101-103, a boys' group 11 and
-- a girls' group 12; venue 1 田径场 uses lanes 2-9 (place 1 is lane 二),
-- venue 4 沙坑 holds 30; a print administrator "printer" (account 50,
-- password "print123") and a second one "printer2" (51).
--   event 901 100米 (lanes sheet), 902 跳远 (field sheet, larger first),
--   903 跳高 (height sheet), 904 1500米 (order sheet, in groups),
--   905 4x100米接力 (team of 4, lanes sheet), 906 400米 (lanes sheet on a
--   13-lane field venue, to make two tables of one heat);
--   boys 1-30 (class 101 + id % 3, bib = id), boys 2001-2012 the relay
--   teams of classes 101-103 (four each); girls 101-340 (class 101 + id % 3);
--   round 1 100米 boys preliminary (session 1, order 1): boys 1-10 in two
--     heats of five, counted 5-20 9:05, boys 1-6 qualified into round 2;
--   round 2 its final (session 2, order 1): boys 1-6, places 1-6, counted
--     5-20 14:30, boy 1 broke the record;
--   round 3 跳远 boys direct final (session 1, order 2): boys 1-8, places
--     1-8 (boys 4 and 5 tied fourth), counted 5-20 10:15;
--   round 4 跳高 girls direct final (session 1, order 3): girls 101-115 in
--     one group, not counted yet;
--   round 5 1500米 boys direct final (session 1, order 4): boys 1-12 in one
--     group, boys 1-8 placed, counted 5-20 11:40;
--   round 6 4x100米接力 boys direct final (session 2, order 2): the three
--     teams on places 1-3, counted 5-20 15:00;
--   round 7 1500米 girls direct final (session 3, order 1): girls 101-220,
--     120 in one group, counted 5-21 9:00;
--   round 8 跳远 girls direct final (session 3, order 2): girls 221-330,
--     110 in one group, counted 5-21 10:00;
--   round 9 400米 girls direct final (session 4, order 1): girls 331-340 in
--     one heat of lanes 1-10 on the 13-lane venue, not counted.
DELETE FROM qrtb219; DELETE FROM qrtb234; DELETE FROM qrtb7; DELETE FROM qrtb306; DELETE FROM qrtb249;
DELETE FROM qrtb260; DELETE FROM qrtb292;
INSERT INTO base.qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21) VALUES
  (50, 'printer', 'print123', 6, 0, 0), (51, 'printer2', 'print123', 6, 0, 0);
INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225) VALUES (1, '一年级', '一年级', '班', 1);
INSERT INTO qrtb234 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240) VALUES
  (101, 1, 1, '一年级01班', '', ''), (102, 1, 2, '一年级02班', '', ''), (103, 1, 3, '一年级03班', '', '');
INSERT INTO qrtb7 (qrtb8, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) VALUES
  (1, '1111', '', '', 1, 1, 101), (2, '2222', '', '', 1, 1, 102), (3, '3333', '', '', 1, 1, 103);
INSERT INTO qrtb260 VALUES (1, '八名制', 8, 900, 700, 600, 500, 400, 300, 200, 100, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0,
  0, 0);
INSERT INTO qrtb292 (qrtb124, qrtb125, qrtb126, qrtb127, qrtb128, qrtb133) VALUES
  (1, 8, '田径场', '道', '', '2 3 4 5 6 7 8 9 '), (4, 30, '沙坑', '人', '', ''), (5, 13, '训练场', '道', '', '');
INSERT INTO qrtb306 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314, qrtb315,
                     qrtb316, qrtb317, qrtb318, qrtb319, qrtb320, qrtb321, qrtb322) VALUES
  (901, '100米', 1, 1, 1, 1, 1, 1, 1, 1, 1, '秒', 1, 2, '', ''),
  (902, '跳远', 2, 1, 1, 0, 2, 3, 2, 1, 4, '米', 1, 2, '', ''),
  (903, '跳高', 2, 1, 1, 0, 2, 4, 2, 1, 4, '米', 1, 2, '', ''),
  (904, '1500米', 1, 1, 1, 0, 2, 2, 1, 1, 1, '分', 1, 2, '', ''),
  (905, '4x100米接力', 1, 2, 4, 0, 1, 1, 1, 1, 1, '秒', 1, 2, '', ''),
  (906, '400米', 1, 1, 1, 0, 1, 1, 1, 1, 5, '秒', 1, 2, '', '');
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382,
                     qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388) VALUES
  (11, 1, 1, 200, 100, 5, 3, 8, 1, 2, 0, 0, 3, 0, 0),
  (12, 1, 2, 200, 100, 5, 3, 8, 1, 2, 0, 0, 3, 0, 0);
INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES
  (11, 901), (11, 902), (11, 904), (11, 905), (12, 902), (12, 903), (12, 904), (12, 906);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436) VALUES
  (1101, 11, 901, 1, 6, 6, 1, 0), (1102, 11, 902, 0, 0, 8, 1, 0), (1104, 11, 904, 0, 0, 8, 1, 0),
  (1105, 11, 905, 0, 0, 8, 1, 0), (1202, 12, 902, 0, 0, 110, 1, 0), (1203, 12, 903, 0, 0, 8, 1, 0),
  (1204, 12, 904, 0, 0, 120, 1, 0), (1206, 12, 906, 0, 0, 8, 1, 0);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453, qrtb454,
                     qrtb455, qrtb456, qrtb457, qrtb458) VALUES
  (1, 1101, 1, 0, 1, 1, 10, 10, 6, 0, 0, 0, 0, 5200905), (2, 1101, 2, 0, 2, 1, 10, 6, 6, 0, 0, 0, 0, 5201430),
  (3, 1102, 3, 0, 1, 2, 10, 8, 8, 0, 0, 0, 0, 5201015), (4, 1203, 3, 0, 1, 3, 10, 15, 8, 0, 0, 0, 0, 0),
  (5, 1104, 3, 0, 1, 4, 10, 12, 8, 0, 0, 0, 0, 5201140), (6, 1105, 3, 0, 2, 2, 10, 3, 8, 0, 0, 0, 0, 5201500),
  (7, 1204, 3, 0, 3, 1, 10, 120, 120, 0, 0, 0, 0, 5210900), (8, 1202, 3, 0, 3, 2, 10, 110, 110, 0, 0, 0, 0, 5211000),
  (9, 1206, 3, 0, 4, 1, 10, 10, 8, 0, 0, 0, 0, 0);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 30)
  SELECT i, '男' || i, i, 1, 101 + i % 3, 1, 0 FROM n;
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)
  WITH RECURSIVE n(i) AS (SELECT 2001 UNION ALL SELECT i + 1 FROM n WHERE i < 2012)
  SELECT i, '接力' || i, i - 1900, 1, 101 + (i - 2001) / 4, 1, 0 FROM n;
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)
  WITH RECURSIVE n(i) AS (SELECT 101 UNION ALL SELECT i + 1 FROM n WHERE i < 340)
  SELECT i, '女' || i, i + 200, 1, 101 + i % 3, 2, 0 FROM n;
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb485, qrtb486, qrtb487, qrtb488, qrtb489)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 240)
  -- round 1: results 12.01 .. 12.10, the six best qualified
  SELECT 100 + i, 1, (i - 1) / 5 + 1, (i - 1) % 5 + 1, i, 1200 + i, 0, CASE WHEN i <= 6 THEN 999 ELSE 0 END, 0, 0
    FROM n WHERE i <= 10
  -- round 2: places in order of the lanes
  UNION ALL SELECT 200 + i, 2, 1, i, i, 1190 + i, 0, i, (10 - i) * 100, CASE WHEN i = 1 THEN 2 ELSE 0 END
    FROM n WHERE i <= 6
  -- round 3: larger first; boys 4 and 5 share fourth place
  UNION ALL SELECT 300 + i, 3, 1, i, i, 5000 - i * 100 + CASE WHEN i = 5 THEN 100 ELSE 0 END, 0,
    CASE WHEN i = 5 THEN 4 ELSE i END, (9 - i) * 100, 0 FROM n WHERE i <= 8
  UNION ALL SELECT 400 + i, 4, 1, i, 100 + i, NULL, 0, 0, 0, 0 FROM n WHERE i <= 15
  UNION ALL SELECT 500 + i, 5, 1, i, i, 30000 + i * 100, 0, CASE WHEN i <= 8 THEN i ELSE 0 END, 0, 0
    FROM n WHERE i <= 12
  UNION ALL SELECT 600 + i, 6, 1, (i - 1) / 4 + 1, 2000 + i, 5000 + (i - 1) / 4 * 10, 0, (i - 1) / 4 + 1, 0, 0
    FROM n WHERE i <= 12
  UNION ALL SELECT 700 + i, 7, 1, i, 100 + i, 40000 + i * 10, 0, i, 0, 0 FROM n WHERE i <= 120
  UNION ALL SELECT 1000 + i, 8, 1, i, 220 + i, 5000 - i * 10, 0, i, 0, 0 FROM n WHERE i <= 110
  UNION ALL SELECT 2000 + i, 9, 1, i, 330 + i, NULL, 0, 0, 0, 0 FROM n WHERE i <= 10;

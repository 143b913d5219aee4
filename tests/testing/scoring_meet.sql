-- The scoring tests' meet (engine unit tests, HTTP tests and the upload
-- benchmark). It replaces the copied catalogue with one grade (一年级) of
-- three classes 101-103, a boys' group 11 and a girls' group 12 (8 places,
-- scheme 1, bonus 2 for equalling a record and 3 for breaking it), and:
--   scheme 1 八名制: 9 7 6 5 4 3 2 1; scheme 2 二十名制: 20 19 ... 1;
--   venue 1 田径场 (8 lanes), venue 4 沙坑 (30 places);
--   events 901 100米 (ties shared), 902 跳远 (larger first, no ties),
--   903 200米 (no ties, double points), 904 五项全能 (combined),
--   905 4x100米接力 (team of 4);
--   boys 1-12 (class 101 + id % 3), boys 13-24 the relay teams of classes
--   101, 102, 103 (four each), girls 101-140 (class 101 + id % 3);
--   round 1 100米 boys, direct final, 6 places: boys 1-8 in heat 1, 9-10 in
--     heat 2;
--   round 2 跳远 boys, direct final, 3 places: boys 1-6;
--   round 3 200米 boys, direct final, 6 places: boys 1-8;
--   round 4 五项全能 boys: boys 1-2;
--   round 5 4x100米接力 boys, 6 places: teams on lanes 1-3;
--   round 6 100米 girls preliminary, 8 qualifiers: girls 101-110, two heats
--     of five; round 7 its final (6 places, no lanes yet);
--   round 8 跳远 girls, direct final, 20 places with scheme 2: girls
--     101-121 in one group.
DELETE FROM qrtb219; DELETE FROM qrtb234; DELETE FROM qrtb7; DELETE FROM qrtb306; DELETE FROM qrtb249;
DELETE FROM qrtb260; DELETE FROM qrtb292;
INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225) VALUES (1, '一年级', '一年级', '班', 1);
INSERT INTO qrtb234 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240) VALUES
  (101, 1, 1, '一年级01班', '', ''), (102, 1, 2, '一年级02班', '', ''), (103, 1, 3, '一年级03班', '', '');
INSERT INTO qrtb7 (qrtb8, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) VALUES
  (1, '1111', '', '', 1, 1, 101), (2, '2222', '', '', 1, 1, 102), (3, '3333', '', '', 1, 1, 103);
INSERT INTO qrtb260 VALUES (1, '八名制', 8, 9, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
  (2, '二十名制', 20, 20, 19, 18, 17, 16, 15, 14, 13, 12, 11, 10, 9, 8, 7, 6, 5, 4, 3, 2, 1);
INSERT INTO qrtb292 (qrtb124, qrtb125, qrtb126, qrtb127, qrtb128, qrtb133) VALUES
  (1, 8, '田径场', '道', '', ''), (4, 30, '沙坑', '人', '', '');
INSERT INTO qrtb306 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314, qrtb315,
                     qrtb316, qrtb317, qrtb318, qrtb319, qrtb320, qrtb321, qrtb322) VALUES
  (901, '100米', 1, 1, 1, 0, 1, 1, 1, 1, 1, '秒', 1, 2, '', ''),
  (902, '跳远', 2, 1, 1, 0, 2, 3, 2, 2, 4, '米', 1, 2, '', ''),
  (903, '200米', 1, 1, 1, 0, 1, 1, 1, 2, 1, '秒', 2, 2, '', ''),
  (904, '五项全能', 3, 1, 1, 0, 1, 1, 2, 1, 1, '个', 1, 0, '', ''),
  (905, '4x100米接力', 1, 2, 4, 0, 1, 1, 1, 1, 1, '秒', 1, 2, '', '');
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382,
                     qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388) VALUES
  (11, 1, 1, 20, 10, 3, 3, 8, 1, 2, 0, 0, 3, 0, 0),
  (12, 1, 2, 20, 10, 3, 3, 8, 1, 2, 0, 0, 3, 0, 0);
INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES
  (11, 901), (11, 902), (11, 903), (11, 904), (11, 905), (12, 901), (12, 902);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436) VALUES
  (1101, 11, 901, 0, 0, 6, 1, 0), (1102, 11, 902, 0, 0, 3, 1, 0), (1103, 11, 903, 0, 0, 6, 1, 0),
  (1104, 11, 904, 0, 0, 6, 1, 0), (1105, 11, 905, 0, 0, 6, 1, 0),
  (1201, 12, 901, 1, 8, 6, 1, 0), (1202, 12, 902, 0, 0, 20, 1, 2);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453, qrtb454,
                     qrtb455, qrtb456, qrtb457, qrtb458) VALUES
  (1, 1101, 3, 0, 1, 1, 10, 10, 6, 0, 0, 0, 0, 0), (2, 1102, 3, 0, 1, 2, 10, 6, 3, 0, 0, 0, 0, 0),
  (3, 1103, 3, 0, 1, 3, 10, 8, 6, 0, 0, 0, 0, 0), (4, 1104, 3, 0, 1, 4, 10, 2, 6, 0, 0, 0, 0, 0),
  (5, 1105, 3, 0, 1, 5, 10, 3, 6, 0, 0, 0, 0, 0), (6, 1201, 1, 0, 1, 6, 10, 10, 8, 0, 0, 0, 0, 0),
  (7, 1201, 2, 0, 2, 1, 10, 0, 6, 0, 0, 0, 0, 0), (8, 1202, 3, 0, 2, 2, 10, 21, 20, 0, 0, 0, 0, 0);
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 24)
  SELECT i, '男' || i, i, 1, CASE WHEN i <= 12 THEN 101 + i % 3 ELSE 101 + (i - 13) / 4 END, 1, 0 FROM n;
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)
  WITH RECURSIVE n(i) AS (SELECT 101 UNION ALL SELECT i + 1 FROM n WHERE i < 140)
  SELECT i, '女' || i, i, 1, 101 + i % 3, 2, 0 FROM n;
INSERT INTO qrtb479 (qrtb480, qrtb481, qrtb482, qrtb483, qrtb484, qrtb486, qrtb487, qrtb488, qrtb489)
  WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 24)
  SELECT 100 + i, 1, (i - 1) / 8 + 1, (i - 1) % 8 + 1, i, 0, 0, 0, 0 FROM n WHERE i <= 10
  UNION ALL SELECT 200 + i, 2, 1, i, i, 0, 0, 0, 0 FROM n WHERE i <= 6
  UNION ALL SELECT 300 + i, 3, 1, i, i, 0, 0, 0, 0 FROM n WHERE i <= 8
  UNION ALL SELECT 400 + i, 4, 1, i, i, 0, 0, 0, 0 FROM n WHERE i <= 2
  UNION ALL SELECT 500 + i, 5, 1, (i - 13) / 4 + 1, i, 0, 0, 0, 0 FROM n WHERE i >= 13
  UNION ALL SELECT 600 + i, 6, (i - 1) / 5 + 1, (i - 1) % 5 + 1, 100 + i, 0, 0, 0, 0 FROM n WHERE i <= 10
  UNION ALL SELECT 800 + i, 8, 1, i, 100 + i, 0, 0, 0, 0 FROM n WHERE i <= 21;

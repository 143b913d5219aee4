-- The registration tests' meet (C++ unit and HTTP tests, and the class
-- teacher's browser test). It replaces the copied catalogue with:
--   grade 1 (一年级): classes 101 (一年级01班, password "1111", teacher 王老师)
--     and 102 (一年级02班, "2222"); a boys' group 11 and a girls' group 12,
--     each with 3 athletes per class, 2 entrants per event, 2 single events
--     per athlete, 2 events with a combined event;
--   grade 2 (二年级): class 201 (二年级01班, "3333") with only a girls' group
--     22 (events 901 and 906);
--   events 901 100米, 902 跳远, 903 铅球 (individual), 904 五项全能
--     (combined), 905 4x100米接力 (team of 4), 906 男女混合接力 (mixed team
--     of 4);
--   contests group * 100 + (event - 900): 1101..1106, 1201..1206, 2201, 2206.
DELETE FROM qrtb219; DELETE FROM qrtb234; DELETE FROM qrtb7; DELETE FROM qrtb306; DELETE FROM qrtb249;
INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225) VALUES
  (1, '一年级', '一年级', '班', 1), (2, '二年级', '二年级', '班', 1);
INSERT INTO qrtb234 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240) VALUES
  (101, 1, 1, '一年级01班', '', ''), (102, 1, 2, '一年级02班', '', ''), (201, 2, 1, '二年级01班', '', '');
INSERT INTO qrtb7 (qrtb8, qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16) VALUES
  (1, '1111', '', '王老师', 1, 1, 101), (2, '2222', '', '李老师', 1, 1, 102), (3, '3333', '', '', 1, 2, 201);
INSERT INTO qrtb306 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314, qrtb315,
                     qrtb316, qrtb317, qrtb318, qrtb319, qrtb320, qrtb321, qrtb322) VALUES
  (901, '100米', 1, 1, 1, 0, 1, 1, 1, 1, 1, '秒', 1, 2, '', ''),
  (902, '跳远', 2, 1, 1, 0, 2, 3, 2, 1, 4, '米', 1, 2, '', ''),
  (903, '铅球', 2, 1, 1, 0, 2, 3, 2, 1, 4, '米', 1, 2, '', ''),
  (904, '五项全能', 3, 1, 1, 0, 1, 1, 2, 1, 1, '个', 1, 0, '', ''),
  (905, '4x100米接力', 1, 2, 4, 0, 1, 1, 1, 1, 2, '秒', 1, 2, '', ''),
  (906, '男女混合接力', 1, 3, 4, 0, 1, 1, 1, 1, 2, '秒', 1, 2, '', '');
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382,
                     qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388) VALUES
  (11, 1, 1, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0),
  (12, 1, 2, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0),
  (22, 2, 2, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES
  (11, 901), (11, 902), (11, 903), (11, 904), (11, 905), (11, 906),
  (12, 901), (12, 902), (12, 903), (12, 904), (12, 905), (12, 906),
  (22, 901), (22, 906);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436) VALUES
  (1101, 11, 901, 0, 0, 6, 1, 0), (1102, 11, 902, 0, 0, 6, 1, 0), (1103, 11, 903, 0, 0, 6, 1, 0),
  (1104, 11, 904, 0, 0, 6, 1, 0), (1105, 11, 905, 0, 0, 6, 1, 0), (1106, 11, 906, 0, 0, 6, 1, 0),
  (1201, 12, 901, 0, 0, 6, 1, 0), (1202, 12, 902, 0, 0, 6, 1, 0), (1203, 12, 903, 0, 0, 6, 1, 0),
  (1204, 12, 904, 0, 0, 6, 1, 0), (1205, 12, 905, 0, 0, 6, 1, 0), (1206, 12, 906, 0, 0, 6, 1, 0),
  (2201, 22, 901, 0, 0, 6, 1, 0), (2206, 22, 906, 0, 0, 6, 1, 0);

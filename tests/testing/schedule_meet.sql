-- The schedule tests' meet (C++ unit and HTTP tests, and the schedule's
-- browser test), on the copied catalogue: grade 1 (一年级) has 4 classes,
-- venues 1 to 3 are tracks (8, 8 and 6 lanes), 4 跳远沙坑, 5 跳高场地 and
-- 6 投掷场地 field venues. Grade 1 has a boys' group 1 and a girls' group 2,
-- each with 2 entrants per event from a class and 6 places. No round is
-- scheduled yet; the estimate of each (minutes) follows its name:
--   track: 1 男子100米 preliminary (1) and 2 its final (1), 3 女子100米 (1),
--          4 男子200米 on the round track (2), 7 男子60米 part of 三项全能 (1),
--          9 男子团体4×100米接力 (3), 10 混团8×50米迎面接力 (3);
--   field: 5 男子跳远 at venue 4 (8), 6 男子跳高 at venue 5 (16),
--          8 男子垒球掷远 part of 三项全能 at venue 6 (8).
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381, qrtb382,
                     qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388) VALUES
  (1, 1, 1, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0),
  (2, 1, 2, 3, 2, 2, 2, 6, 1, 0, 0, 0, 0, 0, 0);
INSERT INTO qrtb467 (qrtb469, qrtb470) VALUES
  (1, 3), (1, 4), (1, 8), (1, 9), (1, 14), (1, 16), (2, 3), (2, 15);
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436) VALUES
  (10, 1, 3, 1, 8, 6, 1, 0), (11, 2, 3, 0, 0, 6, 1, 0), (12, 1, 4, 0, 0, 6, 1, 0), (13, 1, 9, 0, 0, 6, 1, 0),
  (14, 1, 8, 0, 0, 6, 1, 0), (15, 1, 16, 0, 0, 6, 1, 0), (16, 1, 14, 0, 0, 6, 1, 0), (17, 2, 15, 0, 0, 6, 1, 0);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453, qrtb454,
                     qrtb455, qrtb456, qrtb457, qrtb458) VALUES
  (1, 10, 1, 0, 0, 0, 0, 0, 8, 0, 0, 0, 0, 0),
  (2, 10, 2, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0),
  (3, 11, 3, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0),
  (4, 12, 3, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0),
  (5, 13, 3, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0),
  (6, 14, 3, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0),
  (7, 15, 3, 0, 0, 0, 0, 0, 6, 2, 0, 0, 0, 0),
  (8, 15, 3, 0, 0, 0, 0, 0, 6, 11, 0, 0, 0, 0),
  (9, 16, 3, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0),
  (10, 17, 3, 0, 0, 0, 0, 0, 6, 0, 0, 0, 0, 0);

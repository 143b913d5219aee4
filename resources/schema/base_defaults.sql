-- The default catalogue of a new base file: what a primary school starts
-- from. Every new meet copies it; the configuration pages keep it up to date.
-- The built-in administrator is added by the program with a random password.

-- Grades 一年级 to 六年级; the short name builds the class names ("101班").
INSERT INTO qrtb26 (qrtb27, qrtb29, qrtb222, qrtb223) VALUES
    (1, '一年级', '1', '班'),
    (2, '二年级', '2', '班'),
    (3, '三年级', '3', '班'),
    (4, '四年级', '4', '班'),
    (5, '五年级', '5', '班'),
    (6, '六年级', '6', '班');

-- Four classes per grade, named "%s%02d%s" from the short name and the class
-- number; starting numbers unset (numbered automatically).
INSERT INTO qrtb40 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240) VALUES
    (1, 1, 1, '101班', '', ''), (2, 1, 2, '102班', '', ''), (3, 1, 3, '103班', '', ''), (4, 1, 4, '104班', '', ''),
    (5, 2, 1, '201班', '', ''), (6, 2, 2, '202班', '', ''), (7, 2, 3, '203班', '', ''), (8, 2, 4, '204班', '', ''),
    (9, 3, 1, '301班', '', ''), (10, 3, 2, '302班', '', ''), (11, 3, 3, '303班', '', ''), (12, 3, 4, '304班', '', ''),
    (13, 4, 1, '401班', '', ''), (14, 4, 2, '402班', '', ''), (15, 4, 3, '403班', '', ''), (16, 4, 4, '404班', '', ''),
    (17, 5, 1, '501班', '', ''), (18, 5, 2, '502班', '', ''), (19, 5, 3, '503班', '', ''), (20, 5, 4, '504班', '', ''),
    (21, 6, 1, '601班', '', ''), (22, 6, 2, '602班', '', ''), (23, 6, 3, '603班', '', ''), (24, 6, 4, '604班', '', '');

-- Venues. Ids 1 to 3 are the built-in tracks; the others are field sites
-- whose size is the number of athletes per group.
INSERT INTO qrtb123 (qrtb124, qrtb125, qrtb126, qrtb127, qrtb128, qrtb133) VALUES
    (1, 8, '直线跑道', '道', '直线跑道，短跑场地，常用于60米、100米比赛。点击“使用”或“不用”即可改变跑道的使用状态，选择您实际使用的道次即可。', '1 2 3 4 5 6 7 8 '),
    (2, 8, '环形跑道', '道', '环形跑道，中长跑场地，常用于200米、400米、800米、1500米、3000米等中长跑比赛。点击“使用”或“不用”即可改变跑道的使用状态，选择您实际使用的道次即可。', '1 2 3 4 5 6 7 8 '),
    (3, 6, '跨栏道', '道', '跨栏道，常用于跨栏比赛或迎面接力比赛。点击“使用”或“不用”即可改变跑道的使用状态，选择您实际使用的道次即可。', '1 2 3 4 5 6 '),
    (4, 13, '跳远沙坑', '人', '跳远、立定跳远', ''),
    (5, 13, '跳高场地', '人', '跳高', ''),
    (6, 13, '投掷场地', '人', '垒球掷远、实心球', ''),
    (7, 20, '跳绳场地', '人', '一分钟跳绳', '');

-- Events, in display order. Columns: id, name, type (1 track, 2 field,
-- 3 combined), team type (1 individual, 2 team, 3 mixed team), team size,
-- preliminaries, lanes (1) or groups (2), record sheet, smaller (1) or larger
-- (2) first, ties allowed (1) or placed by hand (2), venue, unit, points
-- multiplier, minutes per heat or athlete, formulas.
INSERT INTO qrtb55 (qrtb307, qrtb308, qrtb309, qrtb310, qrtb311, qrtb312, qrtb313, qrtb314,
                    qrtb315, qrtb316, qrtb317, qrtb318, qrtb319, qrtb320, qrtb321, qrtb322) VALUES
    (1,  '50米',           1, 1, 1, 1, 1, 1, 1, 1, 1, '秒',   1, 1, '', ''),
    (2,  '60米',           1, 1, 1, 1, 1, 1, 1, 1, 1, '秒',   1, 1, '', ''),
    (3,  '100米',          1, 1, 1, 1, 1, 1, 1, 1, 1, '秒',   1, 1, '', ''),
    (4,  '200米',          1, 1, 1, 0, 1, 1, 1, 1, 2, '秒',   1, 2, '', ''),
    (5,  '400米',          1, 1, 1, 0, 1, 1, 1, 1, 2, '秒',   1, 2, '', ''),
    (6,  '800米',          1, 1, 1, 0, 2, 2, 1, 1, 2, '分',   1, 4, '', ''),
    (7,  '50米跨栏',       1, 1, 1, 0, 1, 1, 1, 1, 3, '秒',   1, 1, '', ''),
    (8,  '跳高',           2, 1, 1, 0, 2, 4, 2, 2, 5, '米',   1, 2, '', ''),
    (9,  '跳远',           2, 1, 1, 0, 2, 3, 2, 1, 4, '米',   1, 1, '', ''),
    (10, '立定跳远',       2, 1, 1, 0, 2, 3, 2, 1, 4, '厘米', 1, 1, '', ''),
    (11, '垒球掷远',       2, 1, 1, 0, 2, 3, 2, 1, 6, '米',   1, 1, '', ''),
    (12, '实心球',         2, 1, 1, 0, 2, 3, 2, 1, 6, '米',   1, 1, '', ''),
    (13, '一分钟跳绳',     2, 1, 1, 0, 2, 3, 2, 1, 7, '个',   1, 1, '', ''),
    (14, '4×100米接力',    1, 2, 4, 0, 1, 1, 1, 1, 2, '秒',   2, 3, '', ''),
    (15, '8×50米迎面接力', 1, 3, 8, 0, 1, 1, 1, 1, 3, '分',   2, 3, '', ''),
    (16, '三项全能',       3, 1, 1, 0, 2, 3, 2, 2, 1, '分',   1, 0, '', '');

-- Parts of the combined event: 60米, 跳远, 垒球掷远.
INSERT INTO qrtb112 (qrtb250, qrtb251) VALUES (16, 2), (16, 9), (16, 11);

-- Scoring schemes: points for places 1 to 20.
INSERT INTO qrtb80 (qrtb81, qrtb82, qrtb83, qrtb84, qrtb85, qrtb86, qrtb87, qrtb88, qrtb89, qrtb90,
                    qrtb91, qrtb92, qrtb93, qrtb94, qrtb95, qrtb96, qrtb97, qrtb98, qrtb99,
                    qrtb100, qrtb101, qrtb102, qrtb103) VALUES
    (1, '前八名计分', 8, 9, 7, 6, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0),
    (2, '前六名计分', 6, 7, 5, 4, 3, 2, 1, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0, 0);

-- The order book's test meet, run after registration_meet.sql (C++ HTTP
-- tests and the order-book browser test). Every athlete is entered and every
-- round scheduled; nothing is drawn and nobody has a bib number yet:
--   one-year boys' 100米 (contest 1101) with a preliminary (session 1, order
--     1) and its final (session 2, order 1); boys' 跳远 1102 (session 1,
--     order 2); girls' 100米 1201 (session 1, order 3); grade 2 girls'
--     100米 2201 (session 2, order 2); boys' 4x100米接力 1105 (session 2,
--     order 3), one team per class;
--   athlete 1 is named "<xmp>&" so that every page and the document must
--     escape it.
UPDATE qrtb425 SET qrtb429 = 1, qrtb430 = 4 WHERE qrtb426 = 1101;
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416) VALUES
  (1, '<xmp>&', 0, 1, 101, 1, 0), (2, '张一', 0, 1, 101, 1, 0), (3, '张二', 0, 1, 101, 1, 0),
  (4, '张三', 0, 1, 101, 1, 0), (5, '李一', 0, 1, 102, 1, 0), (6, '李二', 0, 1, 102, 1, 0),
  (7, '李三', 0, 1, 102, 1, 0), (8, '李四', 0, 1, 102, 1, 0), (9, '王芳', 0, 1, 101, 2, 0),
  (10, '王丽', 0, 1, 102, 2, 0), (11, '赵敏', 0, 2, 201, 2, 0), (12, '赵静', 0, 2, 201, 2, 0);
INSERT INTO qrtb397 (qrtb399, qrtb400) VALUES
  (1101, 1), (1101, 2), (1101, 3), (1101, 5), (1101, 6), (1101, 7),
  (1102, 1), (1102, 4), (1102, 5), (1102, 8),
  (1105, 1), (1105, 2), (1105, 3), (1105, 4), (1105, 5), (1105, 6), (1105, 7), (1105, 8),
  (1201, 9), (1201, 10), (2201, 11), (2201, 12);
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452, qrtb453,
                     qrtb454, qrtb455, qrtb456, qrtb457, qrtb458) VALUES
  (1, 1101, 1, 0, 1, 1, 10, 0, 4, 0, 0, 0, 0, 0),
  (2, 1101, 2, 0, 2, 1, 5, 0, 6, 0, 0, 0, 0, 0),
  (3, 1102, 3, 0, 1, 2, 20, 0, 6, 0, 0, 0, 0, 0),
  (4, 1201, 3, 0, 1, 3, 5, 0, 6, 0, 0, 0, 0, 0),
  (5, 2201, 3, 0, 2, 2, 5, 0, 6, 0, 0, 0, 0, 0),
  (6, 1105, 3, 0, 2, 3, 5, 0, 6, 0, 0, 0, 0, 0);

#pragma once
// The large meet of the benchmarks: 60 classes in 6 grades, 12 groups,
// 3,000 athletes entered in 3 contests of their group each, 200 contests of
// the 15 catalogue events with a preliminary and a final each (400 rounds,
// placed in 8 half-day sessions), nothing drawn and nobody numbered.

namespace korva {

inline constexpr const char* kLargeMeetSql = R"sql(
DELETE FROM qrtb219;
DELETE FROM qrtb234;
DELETE FROM qrtb7;
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 6)
INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225)
    SELECT i, printf('%d年级', i), i, '班', 1 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 59)
INSERT INTO qrtb234 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240)
    SELECT i + 1, i / 10 + 1, i % 10 + 1, printf('%d%02d班', i / 10 + 1, i % 10 + 1),
           CASE WHEN i % 10 = 0 THEN printf('%d01', i / 10 + 1) ELSE '' END, '' FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 11)
INSERT INTO qrtb373 (qrtb374, qrtb375, qrtb376, qrtb377, qrtb378, qrtb379, qrtb380, qrtb381,
                     qrtb382, qrtb383, qrtb384, qrtb385, qrtb386, qrtb387, qrtb388)
    SELECT i + 1, i / 2 + 1, i % 2 + 1, 25, 2, 3, 3, 8, 1, 1, 0, 0, 2, 0, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 199)
INSERT INTO qrtb425 (qrtb426, qrtb427, qrtb428, qrtb429, qrtb430, qrtb431, qrtb434, qrtb436)
    SELECT i + 1, i % 12 + 1, i / 12 % 15 + 1, 1, 8, 8, 1, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 399)
INSERT INTO qrtb444 (qrtb445, qrtb446, qrtb447, qrtb448, qrtb449, qrtb450, qrtb451, qrtb452,
                     qrtb453, qrtb454, qrtb455, qrtb456, qrtb457, qrtb458)
    SELECT i + 1, i / 2 + 1, i % 2 + 1, 0, i % 8 + 1, i / 8 + 1, 10, 0, 8, 0, 0, 0, 0, 0 FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 2999)
INSERT INTO qrtb409 (qrtb411, qrtb410, qrtb412, qrtb413, qrtb414, qrtb415, qrtb416)
    SELECT i + 1, printf('运动员%04d', i), NULL, (i % 60) / 10 + 1, i % 60 + 1, i / 60 % 2 + 1, 0
    FROM n;
WITH RECURSIVE n(i) AS (SELECT 0 UNION ALL SELECT i + 1 FROM n WHERE i < 8999)
INSERT INTO qrtb397 (qrtb399, qrtb400)
    SELECT ((i / 3 % 60) / 10) * 2 + (i / 3 / 60 % 2 + 1) + 12 * ((i / 3 + 5 * (i % 3)) % 16),
           i / 3 + 1
    FROM n;
)sql";

// Puts the file back as the SQL above left it.
inline constexpr const char* kUndrawSql = R"sql(
DELETE FROM qrtb479;
UPDATE qrtb444 SET qrtb447 = CASE WHEN qrtb445 % 2 = 1 THEN 1 ELSE 2 END, qrtb448 = 0,
                   qrtb452 = 0, qrtb453 = 8;
UPDATE qrtb409 SET qrtb412 = NULL;
)sql";

}  // namespace korva

-- Copy the default catalogue of the base file into a new, empty meet file.
-- Run on the meet connection with the base file attached as "base".
INSERT INTO qrtb219 (qrtb220, qrtb221, qrtb222, qrtb223, qrtb225)
    SELECT qrtb27, qrtb29, qrtb222, qrtb223, 0 FROM base.qrtb26;
INSERT INTO qrtb234 (qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240)
    SELECT qrtb235, qrtb236, qrtb237, qrtb238, qrtb239, qrtb240 FROM base.qrtb40;
INSERT INTO qrtb306 SELECT * FROM base.qrtb55;
INSERT INTO qrtb249 (qrtb250, qrtb251) SELECT qrtb250, qrtb251 FROM base.qrtb112;
INSERT INTO qrtb260 SELECT * FROM base.qrtb80;
INSERT INTO qrtb292 SELECT * FROM base.qrtb123;
-- One class-teacher account per class, with the default class password.
INSERT INTO qrtb7 (qrtb10, qrtb11, qrtb12, qrtb14, qrtb15, qrtb16)
    SELECT '9352', '', '', 1, qrtb236, qrtb235 FROM qrtb234 ORDER BY qrtb236, qrtb237;

-- Staff of the score-entry tests, in the base file: two score-entry clerks
-- and a print administrator, bound to no address and no meet period.
INSERT INTO base.qrtb7 (qrtb8, qrtb9, qrtb10, qrtb14, qrtb20, qrtb21, qrtb25) VALUES
  (2, 'clerk1', 'clerk123', 7, 0, 0, ''),
  (3, 'clerk2', 'clerk456', 7, 0, 0, ''),
  (4, 'printer1', 'print123', 6, 0, 0, '');

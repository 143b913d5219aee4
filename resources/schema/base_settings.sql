-- Service settings of the base file, one row (id 1). Run at every start,
-- so a base file made before the table existed gains it.
CREATE TABLE IF NOT EXISTS qrtb530 (
    qrtb531 INTEGER PRIMARY KEY, -- 1
    qrtb532 TEXT                 -- the organiser's name, shown in every page frame and on printed output (up to 100 bytes); empty = not set
);

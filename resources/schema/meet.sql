-- Meet file: one per meet, created as a copy of the blank template.
-- Texts are stored as UTF-8; the sizes noted are GBK byte limits that
-- the program enforces itself.

-- Class-teacher accounts, one per class (same shape as the staff accounts
-- of the base file).
CREATE TABLE qrtb7 (
    qrtb8   INTEGER PRIMARY KEY, -- account id
    qrtb9   TEXT,                -- login name (staff accounts only)
    qrtb10  TEXT,                -- class password in plain text, "9352" for a new meet (up to 100 bytes)
    qrtb11  TEXT,                -- coach (up to 100 bytes)
    qrtb12  TEXT,                -- class teacher, shown as team leader (up to 100 bytes)
    qrtb14  INTEGER,             -- role: 1 class teacher
    qrtb15  INTEGER,             -- grade id (qrtb219.qrtb220)
    qrtb16  INTEGER,             -- class id (qrtb234.qrtb235)
    qrtb20  INTEGER,             -- fixed-address flag (staff accounts only)
    qrtb21  INTEGER,             -- meet-days-only flag (staff accounts only)
    qrtb25  TEXT                 -- last login address (staff accounts only)
);
CREATE INDEX qrtb7_class ON qrtb7 (qrtb15, qrtb16);

-- Grades.
CREATE TABLE qrtb219 (
    qrtb220 INTEGER PRIMARY KEY, -- grade id
    qrtb221 TEXT,                -- grade name, unique among grades (up to 50 bytes)
    qrtb222 TEXT,                -- grade short name, used to build class names (up to 50 bytes)
    qrtb223 TEXT,                -- suffix of the class names, normally "班"
    qrtb225 INTEGER              -- 1 = grade chosen when the meet was created, else 0
);

-- Classes.
CREATE TABLE qrtb234 (
    qrtb235 INTEGER PRIMARY KEY, -- class id, unique over all grades
    qrtb236 INTEGER,             -- grade id (qrtb219.qrtb220)
    qrtb237 INTEGER,             -- class number within the grade, 1..60
    qrtb238 TEXT,                -- class name, unique over all classes (up to 50 bytes)
    qrtb239 TEXT,                -- first bib number of the boys, digits or empty = numbered on (up to 50 bytes)
    qrtb240 TEXT                 -- first bib number of the girls, digits or empty = after the boys (up to 50 bytes)
);
CREATE INDEX qrtb234_grade ON qrtb234 (qrtb236, qrtb237);

-- Parts of the combined events.
CREATE TABLE qrtb249 (
    qrtb250 INTEGER,             -- combined event id (qrtb306.qrtb307)
    qrtb251 INTEGER              -- part event id (qrtb306.qrtb307), read in ascending order
);
CREATE INDEX qrtb249_event ON qrtb249 (qrtb250);

-- Scoring schemes: points per place.
CREATE TABLE qrtb260 (
    qrtb81  INTEGER PRIMARY KEY, -- scheme id
    qrtb82  TEXT,                -- scheme name, unique (up to 100 bytes)
    qrtb83  INTEGER,             -- places that score: position of the last non-zero point value, 1..20
    qrtb84  INTEGER,             -- points for place 1
    qrtb85  INTEGER,             -- points for place 2
    qrtb86  INTEGER,             -- points for place 3
    qrtb87  INTEGER,             -- points for place 4
    qrtb88  INTEGER,             -- points for place 5
    qrtb89  INTEGER,             -- points for place 6
    qrtb90  INTEGER,             -- points for place 7
    qrtb91  INTEGER,             -- points for place 8
    qrtb92  INTEGER,             -- points for place 9
    qrtb93  INTEGER,             -- points for place 10
    qrtb94  INTEGER,             -- points for place 11
    qrtb95  INTEGER,             -- points for place 12
    qrtb96  INTEGER,             -- points for place 13
    qrtb97  INTEGER,             -- points for place 14
    qrtb98  INTEGER,             -- points for place 15
    qrtb99  INTEGER,             -- points for place 16
    qrtb100 INTEGER,             -- points for place 17
    qrtb101 INTEGER,             -- points for place 18
    qrtb102 INTEGER,             -- points for place 19
    qrtb103 INTEGER              -- points for place 20
);

-- Venues; ids 1 to 3 are the built-in tracks.
CREATE TABLE qrtb292 (
    qrtb124 INTEGER PRIMARY KEY, -- venue id; 1 straight, 2 oval, 3 hurdles track
    qrtb125 INTEGER,             -- size: lanes of a track (tracks 1-3: lanes in use), athletes per group of a field site
    qrtb126 TEXT,                -- venue name, unique (up to 100 bytes)
    qrtb127 TEXT,                -- unit of the size: "道" or "人" (up to 50 bytes)
    qrtb128 TEXT,                -- description (up to 200 bytes)
    qrtb133 TEXT                 -- tracks 1-3: lanes in use, ascending, each as "%d " (e.g. "2 3 4 5 6 7 ")
);

-- Events.
CREATE TABLE qrtb306 (
    qrtb307 INTEGER PRIMARY KEY, -- event id; also the display order
    qrtb308 TEXT,                -- event name, unique (up to 100 bytes)
    qrtb309 INTEGER,             -- 1 track, 2 field, 3 combined event
    qrtb310 INTEGER,             -- 1 individual, 2 team of one sex, 3 mixed team of boys and girls
    qrtb311 INTEGER,             -- team size 1..30 (a mixed team takes half of it from each sex)
    qrtb312 INTEGER,             -- 0 direct final, 1 preliminary then final
    qrtb313 INTEGER,             -- 1 run in lanes, 2 run in groups (start order)
    qrtb314 INTEGER,             -- record sheet: 1 track lanes, 2 track groups, 3 field 3 rounds, 4 field several rounds
    qrtb315 INTEGER,             -- 1 smaller value ranks first, 2 larger value ranks first
    qrtb316 INTEGER,             -- 1 ties share a place, 2 ties are broken by hand
    qrtb317 INTEGER,             -- venue id (qrtb292.qrtb124)
    qrtb318 TEXT,                -- result unit: 秒 分 时 厘米 米 个 千克
    qrtb319 INTEGER,             -- points multiplier: 1 normal, 2 double
    qrtb320 INTEGER,             -- minutes per heat (track) or per athlete (field), 1..10; 0 for a combined event
    qrtb321 TEXT,                -- boys' combined-event formula (up to 100 bytes)
    qrtb322 TEXT                 -- girls' combined-event formula (up to 100 bytes)
);

-- Meet settings: exactly one row.
CREATE TABLE qrtb331 (
    qrtb332 INTEGER PRIMARY KEY, -- meet id (qrtb137.qrtb138 of the base file)
    qrtb333 INTEGER,             -- number of half-day sessions, two per day
    qrtb334 INTEGER,             -- morning start slot 1..10 (slot n starts at 6:00 + (n - 1) x 30 min)
    qrtb335 INTEGER,             -- reserved, written as 0
    qrtb336 INTEGER,             -- afternoon start slot 11..20
    qrtb337 INTEGER,             -- highest results-board number given out (0 in a new meet)
    qrtb338 INTEGER,             -- opening ceremony: 1..6 half hours, 7 = the whole first half-day
    qrtb339 INTEGER,             -- meet stage, 1 from creation on
    qrtb340 INTEGER,             -- reserved, written as 1
    qrtb341 INTEGER,             -- 0 registration open, 1 closed
    qrtb342 INTEGER,             -- 1 = a final with no more entrants than places ranks one place fewer
    qrtb343 INTEGER,             -- digits of a bib number: 3, else 4
    qrtb344 TEXT,                -- meet name (up to 100 bytes)
    qrtb345 TEXT                 -- first day of the meet, "Y-M-D" without leading zeros
);

-- Competition groups: one grade's boys or girls, with entry limits,
-- places, scoring scheme and record bonuses.
CREATE TABLE qrtb373 (
    qrtb374 INTEGER PRIMARY KEY, -- group id
    qrtb375 INTEGER,             -- grade id (qrtb219.qrtb220)
    qrtb376 INTEGER,             -- sex: 1 boys, 2 girls
    qrtb377 INTEGER,             -- athletes per class in the group (also the bib block per class)
    qrtb378 INTEGER,             -- entrants per individual event from one class
    qrtb379 INTEGER,             -- individual events per athlete
    qrtb380 INTEGER,             -- events per athlete who enters a combined event, the combined event included
    qrtb381 INTEGER,             -- places ranked
    qrtb382 INTEGER,             -- scoring scheme id (qrtb260.qrtb81)
    qrtb383 INTEGER,             -- bonus points for equalling a record
    qrtb384 INTEGER,             -- third bonus value, unused (0)
    qrtb385 INTEGER,             -- fifth bonus value, unused (0)
    qrtb386 INTEGER,             -- bonus points for breaking a record
    qrtb387 INTEGER,             -- fourth bonus value, unused (0)
    qrtb388 INTEGER              -- sixth bonus value, unused (0)
);

-- Entries: the contests each athlete is entered in.
CREATE TABLE qrtb397 (
    qrtb399 INTEGER,             -- contest id (qrtb425.qrtb426)
    qrtb400 INTEGER              -- athlete id (qrtb409.qrtb411)
);
CREATE INDEX qrtb397_athlete ON qrtb397 (qrtb400);

-- Athletes.
CREATE TABLE qrtb409 (
    qrtb410 TEXT,                -- name, unique within class and sex (up to 52 bytes, 10 from the forms)
    qrtb411 INTEGER PRIMARY KEY, -- athlete id
    qrtb412 INTEGER,             -- bib number, NULL or 0 = none yet
    qrtb413 INTEGER,             -- grade id (qrtb219.qrtb220)
    qrtb414 INTEGER,             -- class id (qrtb234.qrtb235)
    qrtb415 INTEGER,             -- sex: 1 boys, 2 girls
    qrtb416 INTEGER              -- reserved, written as 0
);
CREATE INDEX qrtb409_class ON qrtb409 (qrtb413, qrtb414, qrtb415);

-- Contests: one event held for one competition group.
CREATE TABLE qrtb425 (
    qrtb426 INTEGER PRIMARY KEY, -- contest id
    qrtb427 INTEGER,             -- group id (qrtb373.qrtb374)
    qrtb428 INTEGER,             -- event id (qrtb306.qrtb307)
    qrtb429 INTEGER,             -- 1 = starts with a preliminary round, 0 = direct final
    qrtb430 INTEGER,             -- qualifiers from the preliminary into the final
    qrtb431 INTEGER,             -- places ranked in the final
    qrtb434 INTEGER,             -- copy of the group's scoring scheme, written on group saves
    qrtb436 INTEGER              -- own scoring scheme id, 0 = the group's scheme
);
CREATE INDEX qrtb425_group ON qrtb425 (qrtb427);

-- Rounds of the contests, with their place in the schedule.
CREATE TABLE qrtb444 (
    qrtb445 INTEGER PRIMARY KEY, -- round id
    qrtb446 INTEGER,             -- contest id (qrtb425.qrtb426)
    qrtb447 INTEGER,             -- 1 preliminary, 2 final after a preliminary, 3 direct final or combined-event part
    qrtb448 INTEGER,             -- 1 = preliminary dropped by the draw and not held, else 0
    qrtb449 INTEGER,             -- half-day session (odd = morning, even = afternoon), 0 = not scheduled
    qrtb450 INTEGER,             -- order within the half-day session, 0 = none
    qrtb451 INTEGER,             -- duration in minutes, 0 = not set
    qrtb452 INTEGER,             -- entrants (teams for team events)
    qrtb453 INTEGER,             -- qualifiers of a preliminary, places of a final
    qrtb454 INTEGER,             -- part event id of a combined-event part, 0 = the contest's own event
    qrtb455 INTEGER,             -- times the certificates were printed
    qrtb456 INTEGER,             -- times the check-in sheet was printed
    qrtb457 INTEGER,             -- times the result sheet was printed
    qrtb458 INTEGER              -- completion stamp MMDDhhmm of the counting, 0 = not counted
);
CREATE INDEX qrtb444_contest ON qrtb444 (qrtb446);
CREATE INDEX qrtb444_session ON qrtb444 (qrtb449, qrtb450);

-- Group events: the events each competition group holds.
CREATE TABLE qrtb467 (
    qrtb469 INTEGER,             -- group id (qrtb373.qrtb374)
    qrtb470 INTEGER              -- event id (qrtb306.qrtb307), read in ascending order
);
CREATE INDEX qrtb467_group ON qrtb467 (qrtb469);

-- Lanes and results: one row per athlete (or team member) in a round.
CREATE TABLE qrtb479 (
    qrtb480 INTEGER PRIMARY KEY, -- lane row id
    qrtb481 INTEGER,             -- round id (qrtb444.qrtb445)
    qrtb482 INTEGER,             -- heat, from 1
    qrtb483 INTEGER,             -- lane or start order, from 1 (tracks 1-3: position among the lanes in use)
    qrtb484 INTEGER,             -- athlete id (qrtb409.qrtb411); members of a class team share heat and lane
    qrtb485 INTEGER,             -- result in the unit's storage scale, NULL = no result
    qrtb486 INTEGER,             -- 0 normal, above 0 no valid result (1 = foul)
    qrtb487 INTEGER,             -- place: 0 or NULL none, 999 = qualified from a preliminary
    qrtb488 INTEGER,             -- points in hundredths of a point
    qrtb489 INTEGER              -- record mark: 0 none, 1 equalled, 2 broken
);
CREATE INDEX qrtb479_round ON qrtb479 (qrtb481, qrtb482, qrtb483);
CREATE INDEX qrtb479_athlete ON qrtb479 (qrtb484);

-- Auxiliary athlete rows: loaded and deleted together with their athlete.
CREATE TABLE qrtb498 (
    qrtb500 INTEGER              -- athlete id (qrtb409.qrtb411)
);

-- Generated documents (the order book).
CREATE TABLE qrtb518 (
    qrtb519 INTEGER PRIMARY KEY, -- document id; listed newest first
    qrtb520 INTEGER,             -- kind: 1 order book (2 check-in sheets, 3 result sheets, other statistics)
    qrtb521 INTEGER,             -- download count
    qrtb522 TEXT,                -- time written, "M月D日H时m分" (up to 100 bytes)
    qrtb523 TEXT                 -- file name relative to the data folder (up to 260 bytes)
);

-- Base file: staff accounts, meets registry, certificate layout,
-- school records, and the default catalogue that every new meet copies.
-- The service settings are in base_settings.sql.
-- Texts are stored as UTF-8; the sizes noted are GBK byte limits that
-- the program enforces itself.

-- Staff accounts. The meet file holds class-teacher accounts in a table
-- of the same shape and number.
CREATE TABLE qrtb7 (
    qrtb8   INTEGER PRIMARY KEY, -- account id; 1 = built-in administrator; new id = highest + 1
    qrtb9   TEXT,                -- login name, unique, at least 4 bytes (up to 100 bytes)
    qrtb10  TEXT,                -- password in plain text, at least 6 bytes for staff (up to 100 bytes)
    qrtb11  TEXT,                -- coach (class accounts only, up to 100 bytes)
    qrtb12  TEXT,                -- class teacher, shown as team leader (class accounts only, up to 100 bytes)
    qrtb14  INTEGER,             -- role: 1 class teacher, 6 print administrator, 7 score-entry clerk, 8 administrator
    qrtb15  INTEGER,             -- grade id (class accounts only)
    qrtb16  INTEGER,             -- class id (class accounts only)
    qrtb20  INTEGER,             -- non-zero: a score-entry clerk may log in only from the address in qrtb25
    qrtb21  INTEGER,             -- non-zero: a score-entry clerk may log in only on the days of the meet
    qrtb25  TEXT                 -- client address of the last staff login, empty = never (up to 50 bytes)
);

-- Default grades (copied into qrtb219 of a new meet under the same ids).
CREATE TABLE qrtb26 (
    qrtb27  INTEGER PRIMARY KEY, -- grade id
    qrtb29  TEXT,                -- grade name (up to 50 bytes)
    qrtb222 TEXT,                -- grade short name (up to 50 bytes)
    qrtb223 TEXT                 -- suffix of the class names, normally "班"
);

-- Default classes (copied into qrtb234 of a new meet under the same ids).
CREATE TABLE qrtb40 (
    qrtb235 INTEGER PRIMARY KEY, -- class id, unique over all grades
    qrtb236 INTEGER,             -- grade id
    qrtb237 INTEGER,             -- class number within the grade, 1..60
    qrtb238 TEXT,                -- class name, unique over all classes (up to 50 bytes)
    qrtb239 TEXT,                -- first bib number of the boys, digits or empty (up to 50 bytes)
    qrtb240 TEXT                 -- first bib number of the girls, digits or empty (up to 50 bytes)
);

-- Default events (copied into qrtb306 of a new meet under the same ids).
CREATE TABLE qrtb55 (
    qrtb307 INTEGER PRIMARY KEY, -- event id
    qrtb308 TEXT,                -- event name, unique (up to 100 bytes)
    qrtb309 INTEGER,             -- 1 track, 2 field, 3 combined event
    qrtb310 INTEGER,             -- 1 individual, 2 team of one sex, 3 mixed team of boys and girls
    qrtb311 INTEGER,             -- team size 1..30
    qrtb312 INTEGER,             -- 0 direct final, 1 preliminary then final
    qrtb313 INTEGER,             -- 1 run in lanes, 2 run in groups (start order)
    qrtb314 INTEGER,             -- record sheet: 1 track lanes, 2 track groups, 3 field 3 rounds, 4 field several rounds
    qrtb315 INTEGER,             -- 1 smaller value ranks first, 2 larger value ranks first
    qrtb316 INTEGER,             -- 1 ties share a place, 2 ties are broken by hand
    qrtb317 INTEGER,             -- venue id
    qrtb318 TEXT,                -- result unit: 秒 分 时 厘米 米 个 千克
    qrtb319 INTEGER,             -- points multiplier: 1 normal, 2 double
    qrtb320 INTEGER,             -- minutes per heat (track) or per athlete (field)
    qrtb321 TEXT,                -- boys' combined-event formula (up to 100 bytes)
    qrtb322 TEXT                 -- girls' combined-event formula (up to 100 bytes)
);

-- Default scoring schemes (copied into qrtb260 of a new meet under the same ids).
CREATE TABLE qrtb80 (
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

-- Default parts of the combined events (copied into qrtb249 of a new meet).
CREATE TABLE qrtb112 (
    qrtb250 INTEGER,             -- combined event id
    qrtb251 INTEGER              -- part event id
);
CREATE INDEX qrtb112_event ON qrtb112 (qrtb250);

-- Default venues (copied into qrtb292 of a new meet under the same ids);
-- ids 1 to 3 are the built-in tracks.
CREATE TABLE qrtb123 (
    qrtb124 INTEGER PRIMARY KEY, -- venue id; 1 straight, 2 oval, 3 hurdles track
    qrtb125 INTEGER,             -- size: lanes of a track, athletes per group of a field site
    qrtb126 TEXT,                -- venue name, unique (up to 100 bytes)
    qrtb127 TEXT,                -- unit of the size: "道" or "人" (up to 50 bytes)
    qrtb128 TEXT,                -- description (up to 200 bytes)
    qrtb133 TEXT                 -- tracks 1-3: lanes in use, ascending, each as "%d " (e.g. "1 2 3 4 5 6 7 8 ")
);

-- Meets registry: one row per meet ever created.
CREATE TABLE qrtb137 (
    qrtb138 INTEGER PRIMARY KEY, -- meet id, also stored in qrtb331.qrtb332 of the meet file
    qrtb139 INTEGER,             -- 1 on the current meet, 0 on every other
    qrtb140 TEXT,                -- meet file name inside the data folder, "ydh....dat"
    qrtb141 TEXT,                -- meet name, unique (up to 100 bytes)
    qrtb142 TEXT                 -- first day of the meet, "Y-M-D" without leading zeros
);

-- Certificate layout: per staff account and certificate line, the font size
-- and margins that override the print style sheet.
CREATE TABLE qrtb170 (
    qrtb171 INTEGER PRIMARY KEY, -- row id; rows 1 and 2 are reserved, layout rows are numbered from 3
    qrtb172 INTEGER,             -- font size in px, 0 = style-sheet default
    qrtb173 INTEGER,             -- top margin in px, 0 = style-sheet default
    qrtb174 INTEGER,             -- left margin in px, 0 = style-sheet default
    qrtb178 INTEGER,             -- certificate line index 0..9 (line number - 1)
    qrtb179 INTEGER              -- owner: staff account id (qrtb7.qrtb8)
);
CREATE INDEX qrtb170_owner ON qrtb170 (qrtb179, qrtb178);
-- Rows 1 and 2 are reserved, so certificate-line rows are numbered from 3.
INSERT INTO qrtb170 (qrtb171, qrtb172, qrtb173, qrtb174, qrtb178, qrtb179) VALUES (1, 0, 0, 0, 0, 0);
INSERT INTO qrtb170 (qrtb171, qrtb172, qrtb173, qrtb174, qrtb178, qrtb179) VALUES (2, 0, 0, 0, 0, 0);

-- School records, kept across meets and matched by event name, grade name and sex.
CREATE TABLE qrtb188 (
    qrtb189 INTEGER PRIMARY KEY, -- record id; the newest id is found first
    qrtb190 INTEGER,             -- 1 written by counting a round, 0 typed on the records page
    qrtb191 TEXT,                -- group name, i.e. grade name (up to 100 bytes)
    qrtb192 INTEGER,             -- sex: 1 boys, 2 girls
    qrtb193 TEXT,                -- event name (up to 100 bytes)
    qrtb194 INTEGER,             -- event type: 1 track, 2 field, 3 combined
    qrtb195 INTEGER,             -- team type: 1 individual, 2 team, 3 mixed team
    qrtb196 INTEGER,             -- record result in the unit's storage scale, NULL = none
    qrtb197 INTEGER,             -- second record value carried from the score page, NULL = none
    qrtb198 INTEGER,             -- third record value carried from the score page, NULL = none
    qrtb199 TEXT,                -- holder's name (up to 100 bytes)
    qrtb202 TEXT,                -- holder's class name (up to 100 bytes)
    qrtb205 TEXT,                -- date set, "Y年M月D日" (up to 100 bytes)
    qrtb208 TEXT,                -- result unit (up to 100 bytes)
    qrtb209 TEXT,                -- name of the meet where it was set, empty for typed records (up to 100 bytes)
    qrtb210 INTEGER              -- round kind that set it: 1 preliminary, 2 final (3 direct final)
);

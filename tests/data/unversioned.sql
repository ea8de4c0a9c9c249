-- The oldest form: MST without dbver, 利用者 without the later columns, numeric provider numbers.
BEGIN;
CREATE TABLE MST (
    ID INTEGER PRIMARY KEY, masterID VARCHAR(50), password VARCHAR(32), 作成日 DATETIME, 更新日 DATETIME,
    削除日 DATETIME
);
INSERT INTO MST (ID, masterID, password, 作成日, 更新日) VALUES (1, 'master', 'old-pass', '2003-01-01 09:00:00', '2003-02-03 04:05:06');
CREATE TABLE 作成者 (
    ID INTEGER PRIMARY KEY AUTOINCREMENT, 名前 VARCHAR(50), ふりがな VARCHAR(50), 郵便番号 VARCHAR(8),
    住所 VARCHAR(125), 電話 VARCHAR(20), 携帯電話 VARCHAR(20), fax VARCHAR(20), password VARCHAR(32),
    作成日 DATETIME, 更新日 DATETIME, 削除日 DATETIME
);
INSERT INTO 作成者 (名前, ふりがな, password, 作成日, 更新日) VALUES ('山田花子', 'ヤマダハナコ', 'pw', '2005-04-01 09:00:00', '2005-04-01 09:00:00');
CREATE TABLE Setting (
    ID INTEGER PRIMARY KEY, Filter INTEGER, Sort INTEGER, Find INTEGER, Set1 INTEGER, Set2 INTEGER,
    Set3 INTEGER, Set4 INTEGER, Set5 INTEGER, Cset1 VARCHAR(50), Cset2 VARCHAR(50), Cset3 VARCHAR(50),
    作成日 DATETIME, 更新日 DATETIME, 削除日 DATETIME
);
WITH RECURSIVE n(i) AS (SELECT 1 UNION ALL SELECT i + 1 FROM n WHERE i < 16)
INSERT INTO Setting (ID, Filter, Sort, Find, Set1, Set2, Set3, Set4, Set5) SELECT i, 0, 0, 0, 0, 0, 0, 0, 0 FROM n;
CREATE TABLE temp (ID INTEGER);

CREATE TABLE 利用者 (
    ID INTEGER PRIMARY KEY AUTOINCREMENT, 作成者ID INTEGER, 名前 VARCHAR(50), フリガナ VARCHAR(50),
    被保険者番号 VARCHAR(10), 保険者番号 VARCHAR(6),
    作成日 DATETIME, 更新日 DATETIME, 削除日 DATETIME
);
INSERT INTO 利用者 (作成者ID, 名前, フリガナ, 被保険者番号, 保険者番号) VALUES
    (1, '青木一郎', 'アオキイチロウ', '123', '1234'),
    (1, '井上二郎', 'イノウエジロウ', '  45 ', '12345678'),
    (1, '上田三郎', 'ウエダサブロウ', '', NULL),
    (1, '江藤四郎', 'エトウシロウ', NULL, ''),
    (1, '大野五郎', 'オオノゴロウ', '123456789012', '7'),
    (1, '加藤六郎', 'カトウロクロウ', 98765, 42);
CREATE TABLE 事業者 (
    ID INTEGER PRIMARY KEY AUTOINCREMENT, 作成者ID INTEGER, 名前 VARCHAR(100), 事業者番号 INTEGER,
    作成日 DATETIME, 更新日 DATETIME, 削除日 DATETIME
);
INSERT INTO 事業者 (作成者ID, 名前, 事業者番号) VALUES
    (1, 'ゼロ介護', 0),
    (1, 'さくら訪問介護', 12345),
    (1, '番号なし', NULL),
    (1, '長番号ケア', 12345678901234),
    (1, 'ひまわり', 987);
CREATE TABLE 計画書 (
    ID INTEGER PRIMARY KEY AUTOINCREMENT, 作成者ID INTEGER, 利用者ID INTEGER, 意向 TEXT,
    作成日 DATETIME, 更新日 DATETIME, 削除日 DATETIME
);
INSERT INTO 計画書 (作成者ID, 利用者ID, 意向) VALUES (1, 1, '自宅で暮らし続けたい');
COMMIT;

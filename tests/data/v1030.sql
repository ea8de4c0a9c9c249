-- Schema 1030: MST without compellation and ruling.
BEGIN;
CREATE TABLE MST (
    ID INTEGER PRIMARY KEY, masterID VARCHAR(50), password VARCHAR(32), 作成日 DATETIME, 更新日 DATETIME,
    削除日 DATETIME, dbver Integer, stamp Integer, stampcont Memo
);
INSERT INTO MST (ID, masterID, password, 作成日, 更新日, dbver, stamp, stampcont) VALUES (1, 'master', 'old-pass', '2003-01-01 09:00:00', '2003-02-03 04:05:06', 1030, 1, '独自の説明文');
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
    郵便番号保険証 VARCHAR(8),
    住所保険証 VARCHAR(255),
    名前請求先 VARCHAR(100),
    フリガナ請求先 VARCHAR(100),
    郵便番号請求先 VARCHAR(8),
    住所請求先 VARCHAR(255),
    電話請求先 VARCHAR(20),
    携帯電話請求先 VARCHAR(20),
    fax請求先 VARCHAR(20),
    保険者名 VARCHAR(50),
    届出日 Datetime,
    開始日 Datetime,
    中止日 Datetime,
    中止理由 Text,
    給付率 Double,
    利用上限額 Integer,
    自己負担上限額 Integer,
    email VARCHAR(255),
    健康保険保険者番号 VARCHAR(20),
    健康保険保険証記号 VARCHAR(20),
    健康保険保険証番号 VARCHAR(20),
    健康保険負担割合 Double,
    健康保険本人支払額 VARCHAR(20),
    老人保険市町村番号 VARCHAR(20),
    老人保険受給者番号 VARCHAR(20),
    生活保護負担者番号 VARCHAR(20),
    生活保護受給者番号 VARCHAR(20),
    生活保護本人支払額 VARCHAR(20),
    公費負担名称1 VARCHAR(20),
    負担者番号1 VARCHAR(20),
    受給者番号1 VARCHAR(20),
    本人支払額1 VARCHAR(20),
    公費負担名称2 VARCHAR(20),
    負担者番号2 VARCHAR(20),
    受給者番号2 VARCHAR(20),
    本人支払額2 VARCHAR(20),
    公費負担名称3 VARCHAR(20),
    負担者番号3 VARCHAR(20),
    受給者番号3 VARCHAR(20),
    本人支払額3 VARCHAR(20),
    公費負担名称4 VARCHAR(20),
    負担者番号4 VARCHAR(20),
    受給者番号4 VARCHAR(20),
    本人支払額4 VARCHAR(20),
    備考 Text,
    作成日 DATETIME, 更新日 DATETIME, 削除日 DATETIME
);
INSERT INTO 利用者 (作成者ID, 名前, フリガナ, 被保険者番号, 保険者番号) VALUES
    (1, '青木一郎', 'アオキイチロウ', '123', '1234'),
    (1, '井上二郎', 'イノウエジロウ', '0000000045', NULL);
CREATE TABLE 事業者 (
    ID INTEGER PRIMARY KEY AUTOINCREMENT, 作成者ID INTEGER, 名前 VARCHAR(100), 事業者番号 VARCHAR(10),
    作成日 DATETIME, 更新日 DATETIME, 削除日 DATETIME
);
INSERT INTO 事業者 (作成者ID, 名前, 事業者番号) VALUES
    (1, 'さくら訪問介護', '0000012345'),
    (1, '番号なし', NULL);
CREATE TABLE 計画書 (
    ID INTEGER PRIMARY KEY AUTOINCREMENT, 作成者ID INTEGER, 利用者ID INTEGER, 意向 TEXT, 名前印 VARCHAR(100),
    作成日 DATETIME, 更新日 DATETIME, 削除日 DATETIME
);
INSERT INTO 計画書 (作成者ID, 利用者ID, 意向) VALUES (1, 1, '自宅で暮らし続けたい');
COMMIT;

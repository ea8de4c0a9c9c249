-- The database the installation places beside the program: schema version 1050, the master row and the
-- sixteen list settings, no creators. Dates are local time text "YYYY-MM-DD HH:MM:SS".
PRAGMA encoding = 'UTF-8';
BEGIN;

-- The master row: the master account and the settings the plan workbook reads.
CREATE TABLE MST (
    ID           INTEGER PRIMARY KEY,
    masterID     VARCHAR(50),
    password     VARCHAR(32),
    作成日       DATETIME,
    更新日       DATETIME,
    削除日       DATETIME,
    dbver        INTEGER,
    stamp        INTEGER,
    stampcont    TEXT,
    compellation INTEGER,
    ruling       INTEGER
);

-- Creators (care managers). ID is assigned by the database and never given out twice.
CREATE TABLE 作成者 (
    ID       INTEGER PRIMARY KEY AUTOINCREMENT,
    名前     VARCHAR(50),
    ふりがな VARCHAR(50),
    郵便番号 VARCHAR(8),
    住所     VARCHAR(125),
    電話     VARCHAR(20),
    携帯電話 VARCHAR(20),
    fax      VARCHAR(20),
    password VARCHAR(32),
    作成日   DATETIME,
    更新日   DATETIME,
    削除日   DATETIME
);

-- Filter, sort and period input of the workbook's sixteen lookup lists.
CREATE TABLE Setting (
    ID     INTEGER PRIMARY KEY,
    Filter INTEGER DEFAULT 0,
    Sort   INTEGER DEFAULT 0,
    Find   INTEGER DEFAULT 0,
    Set1   INTEGER DEFAULT 0,
    Set2   INTEGER DEFAULT 0,
    Set3   INTEGER DEFAULT 0,
    Set4   INTEGER DEFAULT 0,
    Set5   INTEGER DEFAULT 0,
    Cset1  VARCHAR(50),
    Cset2  VARCHAR(50),
    Cset3  VARCHAR(50),
    作成日 DATETIME,
    更新日 DATETIME,
    削除日 DATETIME
);

-- The creator handed to the workbook at sign-in.
CREATE TABLE temp (
    ID INTEGER
);

-- Care recipients (workbook data).
CREATE TABLE 利用者 (
    ID                 INTEGER PRIMARY KEY AUTOINCREMENT,
    作成者ID           INTEGER,
    名前               VARCHAR(50),
    フリガナ           VARCHAR(50),
    性別               VARCHAR(2),
    生年月日           DATETIME,
    郵便番号           VARCHAR(8),
    住所               VARCHAR(255),
    電話               VARCHAR(20),
    携帯電話           VARCHAR(20),
    fax                VARCHAR(20),
    被保険者番号       VARCHAR(10),
    保険者番号         VARCHAR(6),
    要介護度           VARCHAR(20),
    認定日             DATETIME,
    認定有効期間開始   DATETIME,
    認定有効期間終了   DATETIME,
    郵便番号保険証     VARCHAR(8),
    住所保険証         VARCHAR(255),
    名前請求先         VARCHAR(100),
    フリガナ請求先     VARCHAR(100),
    郵便番号請求先     VARCHAR(8),
    住所請求先         VARCHAR(255),
    電話請求先         VARCHAR(20),
    携帯電話請求先     VARCHAR(20),
    fax請求先          VARCHAR(20),
    保険者名           VARCHAR(50),
    届出日             DATETIME,
    開始日             DATETIME,
    中止日             DATETIME,
    中止理由           TEXT,
    給付率             DOUBLE,
    利用上限額         INTEGER,
    自己負担上限額     INTEGER,
    email              VARCHAR(255),
    健康保険保険者番号 VARCHAR(20),
    健康保険保険証記号 VARCHAR(20),
    健康保険保険証番号 VARCHAR(20),
    健康保険負担割合   DOUBLE,
    健康保険本人支払額 VARCHAR(20),
    老人保険市町村番号 VARCHAR(20),
    老人保険受給者番号 VARCHAR(20),
    生活保護負担者番号 VARCHAR(20),
    生活保護受給者番号 VARCHAR(20),
    生活保護本人支払額 VARCHAR(20),
    公費負担名称1      VARCHAR(20),
    負担者番号1        VARCHAR(20),
    受給者番号1        VARCHAR(20),
    本人支払額1        VARCHAR(20),
    公費負担名称2      VARCHAR(20),
    負担者番号2        VARCHAR(20),
    受給者番号2        VARCHAR(20),
    本人支払額2        VARCHAR(20),
    公費負担名称3      VARCHAR(20),
    負担者番号3        VARCHAR(20),
    受給者番号3        VARCHAR(20),
    本人支払額3        VARCHAR(20),
    公費負担名称4      VARCHAR(20),
    負担者番号4        VARCHAR(20),
    受給者番号4        VARCHAR(20),
    本人支払額4        VARCHAR(20),
    備考               TEXT,
    使用頻度           INTEGER DEFAULT 0,
    作成日             DATETIME,
    更新日             DATETIME,
    削除日             DATETIME
);

-- Service providers (workbook data).
CREATE TABLE 事業者 (
    ID         INTEGER PRIMARY KEY AUTOINCREMENT,
    作成者ID   INTEGER,
    事業者番号 VARCHAR(10),
    名前       VARCHAR(100),
    フリガナ   VARCHAR(100),
    サービス種類 VARCHAR(50),
    郵便番号   VARCHAR(8),
    住所       VARCHAR(255),
    電話       VARCHAR(20),
    fax        VARCHAR(20),
    使用頻度   INTEGER DEFAULT 0,
    作成日     DATETIME,
    更新日     DATETIME,
    削除日     DATETIME
);

-- Care service plans (workbook data).
CREATE TABLE 計画書 (
    ID         INTEGER PRIMARY KEY AUTOINCREMENT,
    作成者ID   INTEGER,
    利用者ID   INTEGER,
    名前       VARCHAR(50),
    作成年月日 DATETIME,
    計画区分   VARCHAR(20),
    意向       TEXT,
    方針       TEXT,
    名前印     VARCHAR(100),
    使用頻度   INTEGER DEFAULT 0,
    作成日     DATETIME,
    更新日     DATETIME,
    削除日     DATETIME
);

INSERT INTO MST (ID, masterID, password, 作成日, 更新日, dbver, stamp, stampcont, compellation, ruling)
VALUES (1, 'master', 'hanacare', '2026-12-01 09:00:00', '2026-12-01 09:00:00', 1050, 0,
        '説明を受け、同意し、交付を受けました。', 0, 0);

-- Filter: 0 all, 1 the creator's own. Sort: 0 none, 1 frequency, 2 updated, 3 created, 4 name, 5 reading.
-- Set1: 0 ascending, 1 descending. Set2 (rows 8, 9, 12): 0 period and range.
INSERT INTO Setting (ID, Filter, Sort, Find, Set1, Set2, 作成日, 更新日) VALUES
    (1,  0, 5, 0, 0, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 作成者: by reading
    (2,  0, 5, 0, 0, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 利用者: by reading
    (3,  0, 5, 0, 0, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 事業者: by reading
    (4,  1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 意向: own, most used first
    (5,  1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 種類
    (6,  1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 方針
    (7,  1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 課題
    (8,  1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 長期目標
    (9,  1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 短期目標
    (10, 1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 期間
    (11, 1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 内容
    (12, 1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 種別
    (13, 0, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 提供事業所: all, most used first
    (14, 1, 1, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 頻度
    (15, 0, 2, 0, 1, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00'),  -- 計画書: latest first
    (16, 0, 0, 0, 0, 0, '2026-12-01 09:00:00', '2026-12-01 09:00:00');  -- 所属

COMMIT;

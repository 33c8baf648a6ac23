-- Store database: master tables. Portable SQL for SQLite and PostgreSQL;
-- names are unquoted so that both compare them without regard to case.

CREATE TABLE tbHostInfo (
    f_Key   VARCHAR(40) NOT NULL PRIMARY KEY,
    f_Value VARCHAR(255) NOT NULL
);

CREATE TABLE tbSysmsg (
    f_Csmc VARCHAR(40) NOT NULL PRIMARY KEY,
    f_Csz  VARCHAR(255),
    f_Bz   VARCHAR(100)
);

-- Departments; counter groups are lowest-level departments (f_Mj = 1).
CREATE TABLE tbBmda (
    f_Bmbm   VARCHAR(20) NOT NULL PRIMARY KEY,
    f_Bmmc   VARCHAR(60) NOT NULL,
    f_Mj     INTEGER NOT NULL DEFAULT 0,
    f_Pszxbm VARCHAR(20) NOT NULL DEFAULT ''
);

CREATE TABLE tbSpjyztda (
    f_Jyztbm VARCHAR(10) NOT NULL PRIMARY KEY,
    f_Jyztmc VARCHAR(40) NOT NULL,
    f_Yxxs   INTEGER NOT NULL DEFAULT 1
);

CREATE TABLE tbSpda (
    f_Spbm VARCHAR(15) NOT NULL PRIMARY KEY,
    f_Sphh VARCHAR(30) NOT NULL DEFAULT '',
    f_Spmc VARCHAR(60) NOT NULL,
    f_Sptm VARCHAR(30) NOT NULL DEFAULT '',
    f_Spcd VARCHAR(40) NOT NULL DEFAULT '',
    f_Ggxh VARCHAR(60) NOT NULL DEFAULT '',
    f_Jldw VARCHAR(20) NOT NULL DEFAULT '',
    f_Dwbl DOUBLE PRECISION NOT NULL DEFAULT 1,
    f_Zhjj DOUBLE PRECISION NOT NULL DEFAULT 0,
    f_Xsdj DOUBLE PRECISION NOT NULL DEFAULT 0,
    f_Zdsj DOUBLE PRECISION NOT NULL DEFAULT 0,
    f_Xskz INTEGER NOT NULL DEFAULT 0,
    f_Xxsl DOUBLE PRECISION NOT NULL DEFAULT 17,
    f_Yxjj INTEGER NOT NULL DEFAULT 0,
    f_Flsp INTEGER NOT NULL DEFAULT 0,
    f_Flbl DOUBLE PRECISION NOT NULL DEFAULT 0
);
CREATE INDEX tbSpda_Sphh ON tbSpda (f_Sphh);
CREATE INDEX tbSpda_Sptm ON tbSpda (f_Sptm);

-- Trade status of each product.
CREATE TABLE tbLsdkz (
    f_Spbm   VARCHAR(15) NOT NULL PRIMARY KEY REFERENCES tbSpda (f_Spbm),
    f_Jyztbm VARCHAR(10) NOT NULL REFERENCES tbSpjyztda (f_Jyztbm)
);

-- Which products a department may sell: by product-code prefix.
CREATE TABLE tbBmspdz (
    f_Bmbm VARCHAR(20) NOT NULL REFERENCES tbBmda (f_Bmbm),
    f_Spbm VARCHAR(15) NOT NULL,
    PRIMARY KEY (f_Bmbm, f_Spbm)
);

-- Employees: f_Zylx "1" cashier, "2" supervisor, "3" salesperson;
-- f_Zt 1 = active. f_Mmhx is an Argon2id hash string, never the password.
CREATE TABLE tbZyda (
    f_Zybm VARCHAR(20) NOT NULL PRIMARY KEY,
    f_Zymc VARCHAR(40) NOT NULL,
    f_Zylx VARCHAR(2) NOT NULL DEFAULT '1',
    f_Zt   INTEGER NOT NULL DEFAULT 1,
    f_Bmbm VARCHAR(20) NOT NULL DEFAULT '',
    f_Mmhx VARCHAR(255) NOT NULL DEFAULT ''
);

CREATE TABLE tbZyqx (
    f_Zybm VARCHAR(20) NOT NULL REFERENCES tbZyda (f_Zybm),
    f_Qxbm VARCHAR(10) NOT NULL,
    PRIMARY KEY (f_Zybm, f_Qxbm)
);

CREATE TABLE tbMdkhda (
    f_Khbm VARCHAR(20) NOT NULL PRIMARY KEY,
    f_Khmc VARCHAR(60) NOT NULL,
    f_Lxdh VARCHAR(30) NOT NULL DEFAULT '',
    f_Dz   VARCHAR(100) NOT NULL DEFAULT ''
);

-- Stock per counter group.
CREATE TABLE tbGzkc (
    f_Gzbm VARCHAR(20) NOT NULL,
    f_Spbm VARCHAR(15) NOT NULL,
    f_Kcsl DOUBLE PRECISION NOT NULL DEFAULT 0,
    PRIMARY KEY (f_Gzbm, f_Spbm)
);

-- Limited offers: price f_Xlj for f_Xlsl units between f_Ksrq and f_Jsrq
-- (YYYYMMDD) in departments whose code begins with f_Bmbm.
CREATE TABLE tbXsxl (
    f_Xlbh VARCHAR(20) NOT NULL PRIMARY KEY,
    f_Spbm VARCHAR(15) NOT NULL REFERENCES tbSpda (f_Spbm),
    f_Bmbm VARCHAR(20) NOT NULL DEFAULT '',
    f_Ksrq VARCHAR(8) NOT NULL,
    f_Jsrq VARCHAR(8) NOT NULL,
    f_Xlj  DOUBLE PRECISION NOT NULL,
    f_Xlsl DOUBLE PRECISION NOT NULL,
    f_Tgj  DOUBLE PRECISION NOT NULL DEFAULT 0
);

-- Limited-offer reservations per document line; f_Zt 1 once the document
-- is recorded.
CREATE TABLE tbXsxlqK (
    f_Ny   VARCHAR(6) NOT NULL,
    f_Djh  VARCHAR(20) NOT NULL,
    f_Dnxh INTEGER NOT NULL,
    f_Spbm VARCHAR(15) NOT NULL,
    f_Xlbh VARCHAR(20) NOT NULL,
    f_Sl   DOUBLE PRECISION NOT NULL,
    f_Rq   VARCHAR(8) NOT NULL,
    f_Zt   INTEGER NOT NULL DEFAULT 0,
    PRIMARY KEY (f_Ny, f_Djh, f_Dnxh)
);

-- Report templates of the report engine, by category.
CREATE TABLE tbReport (
    f_Category   VARCHAR(40) NOT NULL,
    f_Reportname VARCHAR(40) NOT NULL,
    f_Reportinfo TEXT NOT NULL,
    PRIMARY KEY (f_Category, f_Reportname)
);

-- Document-number counters: f_Lx kind, f_Jz key (year-month for pre-sales).
CREATE TABLE tbHostCounter (
    f_Lx VARCHAR(10) NOT NULL,
    f_Jz VARCHAR(10) NOT NULL,
    f_Xh INTEGER NOT NULL,
    PRIMARY KEY (f_Lx, f_Jz)
);

-- Numbers handed out, with the till that asked.
CREATE TABLE tbHostDjhLog (
    f_Djh  VARCHAR(20) NOT NULL PRIMARY KEY,
    f_Lx   VARCHAR(10) NOT NULL,
    f_Syybm VARCHAR(20) NOT NULL,
    f_Gzbm VARCHAR(20) NOT NULL,
    f_Sj   VARCHAR(19) NOT NULL
);

-- Card consumption serials (bank card "2", welfare certificate "3").
CREATE TABLE tbKxfls (
    f_Lsh  VARCHAR(20) NOT NULL PRIMARY KEY,
    f_Klx  VARCHAR(1) NOT NULL,
    f_Bmbm VARCHAR(20) NOT NULL DEFAULT '',
    f_Djh  VARCHAR(20) NOT NULL DEFAULT '',
    f_Jydm VARCHAR(20) NOT NULL DEFAULT '',
    f_Khxx VARCHAR(40) NOT NULL DEFAULT '',
    f_Jyje VARCHAR(20) NOT NULL DEFAULT '',
    f_Jysk VARCHAR(10) NOT NULL DEFAULT '',
    f_Jyrq VARCHAR(10) NOT NULL DEFAULT '',
    f_Qt   TEXT NOT NULL DEFAULT '',
    f_Sj   VARCHAR(19) NOT NULL
);

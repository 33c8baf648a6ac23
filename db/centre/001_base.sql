-- Distribution centre database. Portable SQL for SQLite and PostgreSQL.

CREATE TABLE tbHostInfo (
    f_Key   VARCHAR(40) NOT NULL PRIMARY KEY,
    f_Value VARCHAR(255) NOT NULL
);

CREATE TABLE tbCkda (
    f_Ckbm VARCHAR(20) NOT NULL PRIMARY KEY,
    f_Ckmc VARCHAR(60) NOT NULL
);

-- Stock per warehouse.
CREATE TABLE tbCkkc (
    f_Ckbm VARCHAR(20) NOT NULL REFERENCES tbCkda (f_Ckbm),
    f_Spbm VARCHAR(15) NOT NULL,
    f_Kcsl DOUBLE PRECISION NOT NULL DEFAULT 0,
    PRIMARY KEY (f_Ckbm, f_Spbm)
);

-- Limited-offer reservations of documents delivered from the centre.
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

-- Delivery orders from the stores' central-delivery sales.
CREATE TABLE tbPsckd (
    f_Djh  VARCHAR(20) NOT NULL PRIMARY KEY,
    f_Dybm VARCHAR(20) NOT NULL,
    f_Ckbm VARCHAR(20) NOT NULL,
    f_Zdrq VARCHAR(8) NOT NULL,
    f_Zt   INTEGER NOT NULL DEFAULT 0
);

CREATE TABLE tbPsckmx (
    f_Djh  VARCHAR(20) NOT NULL REFERENCES tbPsckd (f_Djh),
    f_Dnxh INTEGER NOT NULL,
    f_Spbm VARCHAR(15) NOT NULL,
    f_Sl   DOUBLE PRECISION NOT NULL,
    PRIMARY KEY (f_Djh, f_Dnxh)
);

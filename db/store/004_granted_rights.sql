-- Rights granted during a document by an employee other than its cashier
-- (a supervisor's authorization of a discount), kept for the day report.
CREATE TABLE tbHostGrant (
    f_Djh   VARCHAR(20) NOT NULL,
    f_Syybm VARCHAR(20) NOT NULL,
    f_Sqr   VARCHAR(20) NOT NULL,
    f_Qxbm  VARCHAR(10) NOT NULL,
    f_Sj    VARCHAR(19) NOT NULL
);
CREATE INDEX tbHostGrant_Djh ON tbHostGrant (f_Djh);

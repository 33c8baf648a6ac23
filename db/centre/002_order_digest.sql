-- The digest of the store document a delivery order was made from: a
-- retry keeps the order of the same document and replaces another's.
ALTER TABLE tbPsckd ADD COLUMN f_Nrzy VARCHAR(64) NOT NULL DEFAULT '';

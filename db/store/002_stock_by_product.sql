-- Stock is read per product (all counter groups, or those inside a
-- department); the primary key leads with the counter group.
CREATE INDEX tbGzkc_Spbm ON tbGzkc (f_Spbm);

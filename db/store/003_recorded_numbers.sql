-- Where the document of each number was recorded: the year-month of its
-- tables and a digest of its content (both empty until it is recorded). A
-- retry is recognised by the number in any month, and only when it is the
-- same document.
ALTER TABLE tbHostDjhLog ADD COLUMN f_Ny VARCHAR(6) NOT NULL DEFAULT '';
ALTER TABLE tbHostDjhLog ADD COLUMN f_Nrzy VARCHAR(64) NOT NULL DEFAULT '';

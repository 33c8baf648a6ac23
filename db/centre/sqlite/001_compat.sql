-- SQL Server catalogue table, as the module queries it.
CREATE VIEW Sysobjects AS
    SELECT name COLLATE NOCASE AS name, type AS xtype FROM sqlite_master;

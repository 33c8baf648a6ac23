-- SQL Server compatibility for statements that the rewriting layer leaves
-- as they are.

-- Object names compare without regard to case, as on SQL Server.
CREATE COLLATION qt_nocase (provider = icu, locale = 'und-u-ks-level2', deterministic = false);

CREATE VIEW sysobjects AS
    SELECT c.relname::text COLLATE qt_nocase AS name, c.relkind::text AS xtype
    FROM pg_class c JOIN pg_namespace n ON n.oid = c.relnamespace
    WHERE n.nspname = current_schema();

-- '+' between texts concatenates, as on SQL Server.
CREATE FUNCTION qt_textcat(a text, b text) RETURNS text LANGUAGE sql IMMUTABLE AS 'SELECT a || b';
CREATE OPERATOR + (LEFTARG = text, RIGHTARG = text, FUNCTION = qt_textcat);

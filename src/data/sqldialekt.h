#pragma once

#include <QString>

// The program's statements are written as SQLite takes them, with the
// bracketed names and iif of the books' original queries. PostgreSQL gets
// them rewritten here, once per statement text, so that the statements keep
// one spelling and SQLite, the engine of every single user, runs them
// untouched.
namespace sqldialekt {

// [name] → name (PostgreSQL folds it like every unquoted name), iif(a, b, c)
// → (CASE WHEN a THEN b ELSE c END). Literals, quoted names and comments
// are left alone.
QString fuerPostgres(const QString& text);

// A CREATE TABLE / CREATE INDEX / ALTER TABLE of the template for
// PostgreSQL: comments dropped, integers 64 bits wide (currency is
// ten-thousandths), a tax rate a decimal (4,9 %). Empty for an index that
// only SQLite needs: one looking for values of the wrong storage type,
// which PostgreSQL's typed columns never hold.
QString ddlFuerPostgres(const QString& ddl);

// The column type of the template's type for PostgreSQL.
QString spaltentypFuerPostgres(const QString& spalte, const QString& typ);

} // namespace sqldialekt

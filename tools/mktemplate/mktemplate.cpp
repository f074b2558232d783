// Builds the template database from schema.sql: mktemplate SCHEMA OUTPUT.
// Writes to a temporary name first so that a failed run leaves no template.
#include <QCoreApplication>
#include <QFile>
#include <QSqlDatabase>
#include <QSqlError>
#include <QSqlQuery>
#include <QStringList>
#include <QTextStream>
#include <cstdio>

namespace {

QStringList statements(const QString& script) {
    QString withoutComments;
    for (const QString& line : script.split('\n')) {
        const qsizetype comment = line.indexOf(QLatin1String("--"));
        withoutComments += (comment >= 0 ? line.left(comment) : line) + '\n';
    }
    QStringList result;
    for (const QString& part : withoutComments.split(';')) {
        if (!part.trimmed().isEmpty())
            result << part.trimmed();
    }
    return result;
}

int fail(const QString& text) {
    std::fprintf(stderr, "mktemplate: %s\n", qPrintable(text));
    return 1;
}

} // namespace

int main(int argc, char** argv) {
    QCoreApplication app(argc, argv);
    if (argc != 3)
        return fail("usage: mktemplate SCHEMA OUTPUT");
    const QString schemaPath = QString::fromLocal8Bit(argv[1]);
    const QString outputPath = QString::fromLocal8Bit(argv[2]);
    const QString tempPath = outputPath + ".tmp";

    QFile schema(schemaPath);
    if (!schema.open(QIODevice::ReadOnly | QIODevice::Text))
        return fail("cannot read " + schemaPath);
    const QString script = QString::fromUtf8(schema.readAll());

    QFile::remove(tempPath);
    {
        QSqlDatabase db = QSqlDatabase::addDatabase("QSQLITE", "mktemplate");
        db.setDatabaseName(tempPath);
        if (!db.open())
            return fail(db.lastError().text());
        QSqlQuery q(db);
        if (!q.exec("PRAGMA journal_mode=DELETE"))
            return fail(q.lastError().text());
        if (!db.transaction())
            return fail(db.lastError().text());
        for (const QString& statement : statements(script)) {
            if (!q.exec(statement))
                return fail(q.lastError().text() + "\n" + statement);
        }
        if (!db.commit())
            return fail(db.lastError().text());
        db.close();
    }
    QSqlDatabase::removeDatabase("mktemplate");

    QFile::remove(outputPath);
    if (!QFile::rename(tempPath, outputPath))
        return fail("cannot rename to " + outputPath);
    return 0;
}

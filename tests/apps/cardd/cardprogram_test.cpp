// qiantai-cardd's command line: what it does not take is refused with the
// usage and status 2 before anything is opened.
#include <QProcess>
#include <QTemporaryDir>

#include <gtest/gtest.h>

namespace {

QString Program()
{
    return qEnvironmentVariable("QIANTAI_BUILD_DIR") + QStringLiteral("/bin/qiantai-cardd");
}

} // namespace

TEST(CardServerProgram, WhatItDoesNotTakeIsRefusedWithTheUsage)
{
    QTemporaryDir dir;
    ASSERT_TRUE(dir.isValid());
    const QString db = dir.filePath(QStringLiteral("cards.sqlite"));
    const struct {
        QStringList args;
        int status;
        const char* said;
    } cases[] = {
        {{QStringLiteral("--bogus")}, 2, "--max-body-bytes"},
        {{QStringLiteral("extra")}, 2, "unexpected argument extra"},
        {{QStringLiteral("--max-connections"), QStringLiteral("0")}, 2, "--max-connections wants"},
        {{QStringLiteral("--till-keys"), QStringLiteral("k"), QStringLiteral("--tls-client-ca"),
          QStringLiteral("c")},
         2,
         "not both"},
        {{QStringLiteral("--help")}, 0, "Default: 65536"},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.args.join(QLatin1Char(' ')).toStdString());
        QProcess p;
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(Program(), QStringList{QStringLiteral("--db"), db} + c.args);
        ASSERT_TRUE(p.waitForFinished(30000));
        const QString output = QString::fromLocal8Bit(p.readAll());
        EXPECT_EQ(p.exitCode(), c.status) << output.toStdString();
        EXPECT_TRUE(output.contains(QLatin1String(c.said))) << output.toStdString();
    }
    // Nothing was created on the way.
    EXPECT_FALSE(QFile::exists(db));
}

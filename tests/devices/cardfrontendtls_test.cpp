// Tills known by their TLS client certificates: the store's own authority
// signs the server's certificate and the tills', made here with the
// openssl tool; the client pays through the real server on loopback.
#include "devices/cardfrontend.h"

#include "cardserverkit.h"

#include <QFile>
#include <QProcess>

#include <gtest/gtest.h>

using namespace qiantai;
using namespace qiantai::cardd;

namespace {

// Certificates of a store: its authority "ca", the server "server" (for
// 127.0.0.1), the tills "till-03" and "till-04"; and "stranger", a till
// certificate signed by another authority "other-ca".
class StoreCertificates {
public:
    StoreCertificates()
    {
        ok = dir.isValid() && authority("ca") && authority("other-ca") &&
             signedBy("ca", "server", "127.0.0.1",
                      "subjectAltName=IP:127.0.0.1\nextendedKeyUsage=serverAuth\n", 2) &&
             signedBy("ca", "till-03", "till-03", "extendedKeyUsage=clientAuth\n", 3) &&
             signedBy("ca", "till-04", "till-04", "extendedKeyUsage=clientAuth\n", 4) &&
             signedBy("other-ca", "stranger", "till-03", "extendedKeyUsage=clientAuth\n", 5);
    }
    QString pem(const char* name) const { return dir.filePath(QLatin1String(name) + QStringLiteral(".pem")); }
    QString key(const char* name) const { return dir.filePath(QLatin1String(name) + QStringLiteral(".key")); }

    QTemporaryDir dir;
    bool ok = false;
    QString error;

private:
    bool openssl(const QStringList& arguments)
    {
        QProcess p;
        p.setWorkingDirectory(dir.path());
        p.setProcessChannelMode(QProcess::MergedChannels);
        p.start(QStringLiteral("openssl"), arguments);
        if (!p.waitForFinished(30000) || p.exitStatus() != QProcess::NormalExit || p.exitCode() != 0) {
            error = QStringLiteral("openssl %1: %2")
                        .arg(arguments.join(QLatin1Char(' ')), QString::fromLocal8Bit(p.readAll()));
            return false;
        }
        return true;
    }
    bool authority(const char* name)
    {
        return openssl({"req", "-x509", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                        "-keyout", key(name), "-out", pem(name), "-days", "2", "-subj",
                        QStringLiteral("/CN=%1").arg(QLatin1String(name)), "-addext",
                        "basicConstraints=critical,CA:TRUE", "-addext",
                        "keyUsage=critical,keyCertSign,cRLSign"});
    }
    bool signedBy(const char* ca, const char* name, const char* commonName, const char* extensions,
                  int serial)
    {
        const QString csr = dir.filePath(QLatin1String(name) + QStringLiteral(".csr"));
        const QString ext = dir.filePath(QLatin1String(name) + QStringLiteral(".ext"));
        QFile f(ext);
        if (!f.open(QIODevice::WriteOnly) || f.write(extensions) < 0)
            return false;
        f.close();
        return openssl({"req", "-new", "-newkey", "ec", "-pkeyopt", "ec_paramgen_curve:P-256", "-nodes",
                        "-keyout", key(name), "-out", csr, "-subj",
                        QStringLiteral("/CN=%1").arg(QLatin1String(commonName))}) &&
               openssl({"x509", "-req", "-in", csr, "-CA", pem(ca), "-CAkey", key(ca), "-set_serial",
                        QString::number(serial), "-days", "2", "-extfile", ext, "-out", pem(name)});
    }
};

class FrontEndClientCertificates : public ::testing::Test {
protected:
    void SetUp() override
    {
        ASSERT_TRUE(certificates_.ok) << certificates_.error.toStdString();
        ASSERT_TRUE(cards_.ok) << cards_.error.toStdString();
        service_ = std::make_unique<CardService>(*cards_.store);
        const ServerTls tls{certificates_.pem("server").toStdString(),
                            certificates_.key("server").toStdString(), certificates_.pem("ca").toStdString()};
        server_ = std::make_unique<qiantai::test::RunningCardServer>(CardMethods(*service_), TillKeys(),
                                                                     ServerLimits(), tls);
        ASSERT_TRUE(server_->ok) << server_->error;
    }

    // A till with the store's authority and the certificate `till` (null:
    // none).
    CardFrontEndClient client(const char* till, bool trustStore = true)
    {
        CardFrontEndSettings s;
        s.host = QStringLiteral("127.0.0.1");
        s.port = server_->port();
        s.connectTimeoutSeconds = 5;
        s.readTimeoutSeconds = 10;
        s.tls = true;
        if (trustStore)
            s.caFile = certificates_.pem("ca");
        if (till) {
            s.certFile = certificates_.pem(till);
            s.keyFile = certificates_.key(till);
        }
        return CardFrontEndClient(s);
    }
    static QVariantList Query()
    {
        return {
            QStringLiteral("0"), QStringLiteral("8800000001"), QStringLiteral("123456"), QStringLiteral("1"),
            QString(),           QStringLiteral("0101")};
    }
    static QVariantList Payment(const QString& document)
    {
        return {QStringLiteral("0"),
                document,
                QStringLiteral("0101"),
                QStringLiteral("8800000001"),
                QStringLiteral("M00000001"),
                10.0,
                QString(),
                QStringLiteral("0012"),
                QStringLiteral("n"),
                QString()};
    }

    StoreCertificates certificates_;
    qiantai::test::DemoCardStore cards_;
    std::unique_ptr<CardService> service_;
    std::unique_ptr<qiantai::test::RunningCardServer> server_;
};

} // namespace

TEST_F(FrontEndClientCertificates, ATillWithTheStoresCertificatePaysAndTheJournalNamesIt)
{
    for (const char* till : {"till-03", "till-04"}) {
        SCOPED_TRACE(till);
        CardFrontEndClient c = client(till);
        const CardFrontEndResult query = c.queryCard(Query());
        ASSERT_TRUE(query.ok()) << query.error.toStdString();
        const CardFrontEndResult paid = c.payByCard(Payment(QStringLiteral("D-%1").arg(QLatin1String(till))),
                                                    QString::fromLatin1(till), query.token);
        EXPECT_TRUE(paid.ok()) << paid.error.toStdString();
    }
    EXPECT_EQ(cards_.journal(QStringLiteral("till, document_no, state")),
              (QList<QStringList>{{"till-03", "D-till-03", "done"}, {"till-04", "D-till-04", "done"}}));
}

TEST_F(FrontEndClientCertificates, AnyOtherTillOrAServerTheTillCannotCheckIsRefused)
{
    const struct {
        const char* name;
        const char* till;
        bool trustStore;
        QString said; // part of the error
    } cases[] = {
        {"no certificate", nullptr, true, QStringLiteral("不认可本收银台的 TLS 证书")},
        // Its common name is a store till's, but another authority signed it.
        {"certificate of another authority", "stranger", true, QStringLiteral("不认可本收银台的 TLS 证书")},
        // The system's trust store does not know the store's authority.
        {"server certificate not trusted", "till-03", false, QStringLiteral("TLS 证书未通过验证")},
    };
    for (const auto& c : cases) {
        SCOPED_TRACE(c.name);
        const CardFrontEndResult r = client(c.till, c.trustStore).queryCard(Query());
        EXPECT_EQ(r.status, CardFrontEndStatus::ConnectionFailed) << r.error.toStdString();
        EXPECT_TRUE(r.error.contains(c.said)) << r.error.toStdString();
        EXPECT_TRUE(r.token.isEmpty());
    }
    EXPECT_TRUE(cards_.journal(QStringLiteral("till")).isEmpty());
}

#include "screens/cards/stationcardservices.h"

#include "stationdirectory.h"

#include <gtest/gtest.h>

using namespace qiantai;

TEST(StationFrontEndSettings, TheStationNamesItsCertificateAuthorityAndItsKey)
{
    test::StationDirectory station;
    ASSERT_TRUE(station.IsValid());
    ASSERT_TRUE(station.WriteStation("[CardFrontEnd]\nPort=9000\nTls=1\nCaFile=/etc/store/ca.pem\n"
                                     "TillKey=till-07-0123456789abcdef\nReadTimeout=4\n"
                                     "CertFile=/etc/store/till-07.pem\nKeyFile=/etc/store/till-07.key\n"));
    CardFrontEndSettings s;
    QString error;
    ASSERT_TRUE(StationFrontEndSettings(QStringLiteral("cards.store"), s, error)) << error.toStdString();
    EXPECT_EQ(s.host, QStringLiteral("cards.store"));
    EXPECT_EQ(s.port, 9000);
    EXPECT_TRUE(s.tls);
    EXPECT_EQ(s.caFile, QStringLiteral("/etc/store/ca.pem"));
    EXPECT_EQ(s.tillKey, QStringLiteral("till-07-0123456789abcdef"));
    EXPECT_EQ(s.readTimeoutSeconds, 4);
    EXPECT_EQ(s.certFile, QStringLiteral("/etc/store/till-07.pem"));
    EXPECT_EQ(s.keyFile, QStringLiteral("/etc/store/till-07.key"));
}

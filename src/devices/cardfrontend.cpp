#include "devices/cardfrontend.h"

#include "base/logcategories.h"
#include "devices/jsonvariant.h"

#include <httplib.h>
#include <nlohmann/json.hpp>

#include <memory>

namespace qiantai {

namespace {

QString Endpoint(const CardFrontEndSettings& s)
{
    return s.host.contains(QLatin1Char(':')) ? QStringLiteral("[%1]:%2").arg(s.host).arg(s.port)
                                             : QStringLiteral("%1:%2").arg(s.host).arg(s.port);
}

QString TransportError(httplib::Error error, const QString& endpoint)
{
    switch (error) {
    case httplib::Error::Connection:
        return QStringLiteral("无法连接 %1").arg(endpoint);
    case httplib::Error::ConnectionTimeout:
        return QStringLiteral("连接 %1 超时").arg(endpoint);
    case httplib::Error::Read:
        return QStringLiteral("读取 %1 的应答失败或超时").arg(endpoint);
    case httplib::Error::Write:
        return QStringLiteral("向 %1 发送请求失败").arg(endpoint);
    case httplib::Error::SSLConnection:
        return QStringLiteral("与 %1 建立 TLS 连接失败").arg(endpoint);
    case httplib::Error::SSLLoadingCerts:
        return QStringLiteral("无法读取 TLS 证书");
    case httplib::Error::SSLServerVerification:
        return QStringLiteral("%1 的 TLS 证书未通过验证").arg(endpoint);
    default:
        return QStringLiteral("与 %1 通信失败(%2)")
            .arg(endpoint, QString::fromStdString(httplib::to_string(error)));
    }
}

CardFrontEndResult Failure(CardFrontEndStatus status, const QString& error)
{
    CardFrontEndResult r;
    r.status = status;
    r.error = error;
    return r;
}

// Whether a request that failed `error` may have reached the front-end.
CardFrontEndStatus TransportStatus(httplib::Error error)
{
    switch (error) {
    case httplib::Error::Connection:
    case httplib::Error::ConnectionTimeout:
    case httplib::Error::SSLConnection:
    case httplib::Error::SSLLoadingCerts:
    case httplib::Error::SSLServerVerification:
    case httplib::Error::BindIPAddress:
        return CardFrontEndStatus::ConnectionFailed;
    default:
        return CardFrontEndStatus::OutcomeUnknown;
    }
}

QString TextMember(const nlohmann::json& object, const char* name)
{
    const auto v = object.find(name);
    return v != object.end() && v->is_string() ? QString::fromStdString(v->get<std::string>()) : QString();
}

CardFrontEndResult BadAnswer(const QString& error)
{
    return Failure(CardFrontEndStatus::BadAnswer, error);
}

std::unique_ptr<httplib::ClientImpl> MakeClient(const CardFrontEndSettings& s)
{
    const std::string host = s.host.toStdString();
    std::unique_ptr<httplib::ClientImpl> client;
    if (s.tls) {
        auto ssl =
            s.certFile.isEmpty()
                ? std::make_unique<httplib::SSLClient>(host, s.port)
                : std::make_unique<httplib::SSLClient>(host, s.port, s.certFile.toLocal8Bit().toStdString(),
                                                       s.keyFile.toLocal8Bit().toStdString());
        ssl->enable_server_certificate_verification(true);
        if (!s.caFile.isEmpty())
            ssl->set_ca_cert_path(s.caFile.toLocal8Bit().constData());
        client = std::move(ssl);
    } else {
        client = std::make_unique<httplib::ClientImpl>(host, s.port);
    }
    client->set_keep_alive(false);
    if (!s.tillKey.isEmpty())
        client->set_bearer_token_auth(s.tillKey.toStdString());
    client->set_connection_timeout(s.connectTimeoutSeconds, 0);
    const long readMs = s.readTimeoutMs > 0 ? s.readTimeoutMs : 1000L * s.readTimeoutSeconds;
    client->set_read_timeout(readMs / 1000, (readMs % 1000) * 1000);
    client->set_write_timeout(readMs / 1000, (readMs % 1000) * 1000);
    return client;
}

} // namespace

bool ApplyFrontEndAddress(const QString& machine, CardFrontEndSettings* settings)
{
    const QString text = machine.trimmed();
    QString host = text;
    QString portText;
    if (text.startsWith(QLatin1Char('['))) {
        const int close = int(text.indexOf(QLatin1Char(']')));
        if (close < 0)
            return false;
        host = text.mid(1, close - 1);
        const QString rest = text.mid(close + 1);
        if (!rest.isEmpty()) {
            if (!rest.startsWith(QLatin1Char(':')))
                return false;
            portText = rest.mid(1);
        }
    } else if (text.count(QLatin1Char(':')) == 1) {
        const int colon = int(text.indexOf(QLatin1Char(':')));
        host = text.left(colon);
        portText = text.mid(colon + 1);
    }
    if (host.isEmpty())
        return false;
    int port = settings->port;
    if (!portText.isNull()) {
        bool ok = false;
        port = portText.toInt(&ok);
        if (!ok || port < 1 || port > 65535)
            return false;
    }
    settings->host = host;
    settings->port = port;
    return true;
}

CardFrontEndClient::CardFrontEndClient(CardFrontEndSettings settings) : settings_(std::move(settings)) {}

CardFrontEndResult CardFrontEndClient::queryCard(const QVariantList& request)
{
    return call("QueryCard", request, Expect::Answer);
}

CardFrontEndResult CardFrontEndClient::payByCard(const QVariantList& request, const QString& paymentId,
                                                 const QString& token)
{
    return call("PayByCard", request, Expect::Nothing,
                {{QStringLiteral("paymentId"), paymentId}, {QStringLiteral("token"), token}});
}

CardFrontEndResult CardFrontEndClient::paymentStatus(const QString& paymentId)
{
    return call("PaymentStatus", {paymentId}, Expect::State);
}

CardFrontEndResult CardFrontEndClient::reverseCharge(const QString& paymentId)
{
    return call("ReverseCharge", {paymentId}, Expect::Nothing);
}

CardFrontEndResult CardFrontEndClient::journalForDay(const QString& day)
{
    return call("JournalForDay", {day}, Expect::Entries);
}

CardFrontEndResult CardFrontEndClient::call(const char* method, const QVariantList& request, Expect expect,
                                            const QVariantMap& context)
{
    if (settings_.host.trimmed().isEmpty())
        return Failure(CardFrontEndStatus::ConnectionFailed, QStringLiteral("未设置卡前置机"));
    const QString endpoint = Endpoint(settings_);
    const long long id = nextId_++;
    nlohmann::json body = {
        {"jsonrpc", "2.0"}, {"id", id}, {"method", method}, {"params", VariantToJson(request)}};
    if (!context.isEmpty())
        body["context"] = VariantToJson(context);

    auto client = MakeClient(settings_);
    if (!client->is_valid())
        return Failure(CardFrontEndStatus::ConnectionFailed,
                       QStringLiteral("无法读取本收银台的 TLS 证书或密钥 %1").arg(settings_.certFile));
    const httplib::Result reply = client->Post(Path, body.dump(), "application/json");
    if (!reply) {
        qCWarning(lcFrontEnd) << method << "to" << endpoint
                              << "failed:" << httplib::to_string(reply.error()).c_str();
        return Failure(TransportStatus(reply.error()), TransportError(reply.error(), endpoint));
    }
    if (reply->status == 401)
        return Failure(CardFrontEndStatus::ConnectionFailed,
                       QStringLiteral("%1 不认可本收银台的 TillKey").arg(endpoint));
    if (reply->status == 403)
        return Failure(CardFrontEndStatus::ConnectionFailed,
                       QStringLiteral("%1 不认可本收银台的 TLS 证书").arg(endpoint));
    if (reply->status != 200)
        return BadAnswer(QStringLiteral("卡前置机应答 HTTP %1").arg(reply->status));

    const nlohmann::json answer = nlohmann::json::parse(reply->body, nullptr, false);
    if (answer.is_discarded() || !answer.is_object())
        return BadAnswer(QStringLiteral("卡前置机的应答不是 JSON-RPC 对象"));
    if (answer.value("jsonrpc", nlohmann::json()) != "2.0" || answer.value("id", nlohmann::json()) != id)
        return BadAnswer(QStringLiteral("卡前置机的应答与请求不符"));
    if (answer.contains("error")) {
        const nlohmann::json& e = answer["error"];
        const std::string message = e.is_object() && e.contains("message") && e["message"].is_string()
                                        ? e["message"].get<std::string>()
                                        : "";
        const long long code = e.is_object() && e.contains("code") && e["code"].is_number_integer()
                                   ? e["code"].get<long long>()
                                   : 0;
        return BadAnswer(
            QStringLiteral("卡前置机错误 %1: %2").arg(code).arg(QString::fromStdString(message)));
    }
    const auto result = answer.find("result");
    if (result == answer.end() || !result->is_object() || !result->contains("ok") ||
        !(*result)["ok"].is_boolean())
        return BadAnswer(QStringLiteral("卡前置机的应答缺少结果"));

    CardFrontEndResult r;
    if (!(*result)["ok"].get<bool>()) {
        r.status = CardFrontEndStatus::Refused;
        r.refusal = JsonToVariant(result->value("refusal", nlohmann::json()));
        qCInfo(lcFrontEnd) << method << "refused";
        return r;
    }
    if (expect == Expect::Answer) {
        const auto elements = result->find("answer");
        if (elements == result->end() || !elements->is_array())
            return BadAnswer(QStringLiteral("卡前置机的应答缺少卡信息"));
        r.answer = JsonToVariant(*elements).toList();
        r.token = TextMember(*result, "token");
    }
    if (expect == Expect::Entries) {
        const auto entries = result->find("entries");
        if (entries == result->end() || !entries->is_array())
            return BadAnswer(QStringLiteral("卡前置机的应答缺少流水"));
        r.answer = JsonToVariant(*entries).toList();
    }
    if (expect == Expect::State) {
        r.state = TextMember(*result, "state");
        if (r.state != QLatin1String("done") && r.state != QLatin1String("reversed") &&
            r.state != QLatin1String("none"))
            return BadAnswer(QStringLiteral("卡前置机的应答缺少支付状态"));
    }
    r.status = CardFrontEndStatus::Ok;
    qCInfo(lcFrontEnd) << method << "done";
    return r;
}

} // namespace qiantai

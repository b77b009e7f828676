#include "platform/qt/QtHttpClient.h"

#include <QNetworkReply>
#include <QNetworkRequest>
#include <QPointer>
#include <QSslConfiguration>
#include <QTimer>
#include <QUrl>

#include <algorithm>
#include <cmath>
#include <memory>

namespace platform::qt {

namespace {

int milliseconds(double seconds) {
    return static_cast<int>(std::clamp(std::ceil(seconds * 1000.0), 1.0, 2.0e9));
}

// One request in flight: collects the body within its cap and reports exactly once.
struct Exchange {
    QPointer<QNetworkReply> reply;
    QByteArray body;
    std::size_t maxBytes = 0;
    std::optional<HttpError> abortReason;
    HttpClient::Completion completion;
    bool finished = false;
};

HttpError errorFor(QNetworkReply::NetworkError error) {
    switch (error) {
    case QNetworkReply::TimeoutError:
    case QNetworkReply::OperationCanceledError: return HttpError::timedOut; // transfer time-out aborts this way
    default: return HttpError::transport;
    }
}

} // namespace

QtHttpClient::QtHttpClient(QList<QSslCertificate> extraCertificateAuthorities)
    : extraCertificateAuthorities_(std::move(extraCertificateAuthorities)) {}

QtHttpClient::~QtHttpClient() = default;

ObservationToken QtHttpClient::send(HttpRequest request, Completion completion) {
    const QUrl url(QString::fromStdString(request.url), QUrl::StrictMode);
    if (!url.isValid() || url.scheme() != QLatin1String("https") || url.host().isEmpty()) {
        // Reported on a later turn, like every other outcome.
        auto exchange = std::make_shared<Exchange>();
        exchange->completion = std::move(completion);
        QTimer::singleShot(0, &manager_, [exchange] {
            if (exchange->finished) return;
            exchange->finished = true;
            exchange->completion(HttpResult{HttpError::badURL, 0, {}});
        });
        return ObservationToken([exchange] { exchange->finished = true; });
    }

    QNetworkRequest networkRequest(url);
    for (const auto& [name, value] : request.headers) {
        networkRequest.setRawHeader(QByteArray::fromStdString(name), QByteArray::fromStdString(value));
    }
    networkRequest.setAttribute(QNetworkRequest::RedirectPolicyAttribute, QNetworkRequest::NoLessSafeRedirectPolicy);
    networkRequest.setTransferTimeout(milliseconds(request.inactivityTimeout));
    auto tls = QSslConfiguration::defaultConfiguration();
    tls.setPeerVerifyMode(QSslSocket::VerifyPeer);
    if (!extraCertificateAuthorities_.isEmpty()) tls.addCaCertificates(extraCertificateAuthorities_);
    networkRequest.setSslConfiguration(tls);

    auto exchange = std::make_shared<Exchange>();
    exchange->maxBytes = request.maxResponseBytes;
    exchange->completion = std::move(completion);
    QNetworkReply* reply = manager_.sendCustomRequest(networkRequest, QByteArray::fromStdString(request.method),
                                                      QByteArray::fromStdString(request.body));
    exchange->reply = reply;

    auto abortWith = [exchange](HttpError reason) {
        if (exchange->finished || exchange->abortReason || !exchange->reply) return;
        exchange->abortReason = reason;
        exchange->reply->abort();
    };

    QObject::connect(reply, &QNetworkReply::readyRead, reply, [exchange, abortWith] {
        if (exchange->abortReason) return;
        exchange->body += exchange->reply->readAll();
        if (static_cast<std::size_t>(exchange->body.size()) > exchange->maxBytes) abortWith(HttpError::responseTooLarge);
    });
    QObject::connect(reply, &QNetworkReply::finished, reply, [exchange] {
        QNetworkReply* reply = exchange->reply;
        if (exchange->finished || !reply) return;
        exchange->finished = true;
        HttpResult result;
        if (exchange->abortReason) {
            result.error = exchange->abortReason;
        } else if (reply->error() != QNetworkReply::NoError && !reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).isValid()) {
            result.error = errorFor(reply->error());
        } else {
            exchange->body += reply->readAll();
            if (static_cast<std::size_t>(exchange->body.size()) > exchange->maxBytes) {
                result.error = HttpError::responseTooLarge;
            } else {
                result.statusCode = reply->attribute(QNetworkRequest::HttpStatusCodeAttribute).toInt();
                result.body = exchange->body.toStdString();
            }
        }
        reply->deleteLater();
        auto completion = std::move(exchange->completion);
        completion(result);
    });

    // Owned by the reply, so it goes with it and holds nothing alive after the exchange.
    auto* deadline = new QTimer(reply);
    deadline->setSingleShot(true);
    QObject::connect(deadline, &QTimer::timeout, reply, [abortWith] { abortWith(HttpError::timedOut); });
    deadline->start(milliseconds(request.deadline));

    return ObservationToken([exchange] {
        if (exchange->finished) return;
        exchange->finished = true;
        if (exchange->reply) {
            exchange->reply->abort();
            exchange->reply->deleteLater();
        }
    });
}

} // namespace platform::qt

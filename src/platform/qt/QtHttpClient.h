#pragma once

#include "platform/HttpClient.h"

#include <QList>
#include <QNetworkAccessManager>
#include <QSslCertificate>

namespace platform::qt {

// HTTPS over Qt Network. Only https addresses are sent, peers are always verified, and a
// redirect may never lead to a less safe address.
class QtHttpClient : public HttpClient {
public:
    // `extraCertificateAuthorities` are trusted in addition to the system's (tests only).
    explicit QtHttpClient(QList<QSslCertificate> extraCertificateAuthorities = {});
    ~QtHttpClient() override;

    ObservationToken send(HttpRequest request, Completion completion) override;

private:
    QNetworkAccessManager manager_;
    QList<QSslCertificate> extraCertificateAuthorities_;
};

} // namespace platform::qt

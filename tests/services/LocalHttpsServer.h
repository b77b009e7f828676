#pragma once

#include <QByteArray>
#include <QList>
#include <QSslCertificate>
#include <QSslServer>
#include <QString>

#include <filesystem>
#include <map>
#include <vector>

namespace zentaris::testing {

// An HTTPS server on 127.0.0.1 with a certificate made for this run only: a client must trust
// certificate() explicitly to talk to it.
class LocalHttpsServer {
public:
    enum class Behaviour {
        respond,     // the configured status and body
        neverAnswer, // read the request, then stay silent
        trickle,     // announce a long body, then send one byte every 50 ms
    };

    struct ReceivedRequest {
        QByteArray method;
        QByteArray path;
        std::map<QByteArray, QByteArray> headers; // names lower-cased
        QByteArray body;
    };

    // Makes a key and certificate with the openssl tool in `workDirectory` and starts listening.
    explicit LocalHttpsServer(const std::filesystem::path& workDirectory);
    ~LocalHttpsServer();

    bool isListening() const { return server_.isListening(); }
    QString origin() const;
    const QSslCertificate& certificate() const { return certificate_; }

    void respondWith(int status, QByteArray body) {
        behaviour_ = Behaviour::respond;
        status_ = status;
        body_ = std::move(body);
    }
    void setBehaviour(Behaviour behaviour) { behaviour_ = behaviour; }
    const std::vector<ReceivedRequest>& requests() const { return requests_; }

private:
    void serve(QSslSocket* socket);
    void answer(QSslSocket* socket);

    QSslServer server_;
    QSslCertificate certificate_;
    Behaviour behaviour_ = Behaviour::respond;
    int status_ = 200;
    QByteArray body_;
    std::vector<ReceivedRequest> requests_;
};

} // namespace zentaris::testing

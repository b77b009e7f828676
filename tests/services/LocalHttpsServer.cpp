#include "LocalHttpsServer.h"

#include <QFile>
#include <QHostAddress>
#include <QSslConfiguration>
#include <QSslKey>
#include <QTimer>

#include <cstdlib>
#include <memory>
#include <stdexcept>

namespace zentaris::testing {

namespace {

QByteArray readAll(const std::filesystem::path& path) {
    QFile file(QString::fromStdString(path.string()));
    if (!file.open(QIODevice::ReadOnly)) throw std::runtime_error("cannot read " + path.string());
    return file.readAll();
}

QByteArray reasonPhrase(int status) {
    switch (status) {
    case 200: return "OK";
    case 204: return "No Content";
    case 500: return "Internal Server Error";
    default: return "Status";
    }
}

} // namespace

LocalHttpsServer::LocalHttpsServer(const std::filesystem::path& workDirectory) {
    const auto key = workDirectory / "key.pem";
    const auto certificate = workDirectory / "certificate.pem";
    const std::string command = "openssl req -x509 -newkey ec -pkeyopt ec_paramgen_curve:prime256v1 -nodes -days 1"
                                " -subj /CN=127.0.0.1 -addext subjectAltName=IP:127.0.0.1 -keyout '"
                              + key.string() + "' -out '" + certificate.string() + "' >/dev/null 2>&1";
    if (std::system(command.c_str()) != 0) throw std::runtime_error("openssl could not make a certificate");

    certificate_ = QSslCertificate(readAll(certificate), QSsl::Pem);
    auto configuration = QSslConfiguration::defaultConfiguration();
    configuration.setLocalCertificate(certificate_);
    configuration.setPrivateKey(QSslKey(readAll(key), QSsl::Ec, QSsl::Pem));
    configuration.setPeerVerifyMode(QSslSocket::VerifyNone); // clients bring no certificate
    server_.setSslConfiguration(configuration);

    QObject::connect(&server_, &QTcpServer::pendingConnectionAvailable, &server_, [this] {
        while (auto* socket = server_.nextPendingConnection()) serve(static_cast<QSslSocket*>(socket));
    });
    server_.listen(QHostAddress::LocalHost, 0);
}

LocalHttpsServer::~LocalHttpsServer() { server_.close(); }

QString LocalHttpsServer::origin() const { return QStringLiteral("https://127.0.0.1:%1").arg(server_.serverPort()); }

void LocalHttpsServer::serve(QSslSocket* socket) {
    auto buffer = std::make_shared<QByteArray>();
    QObject::connect(socket, &QSslSocket::disconnected, socket, &QObject::deleteLater);
    QObject::connect(socket, &QSslSocket::readyRead, socket, [this, socket, buffer] {
        *buffer += socket->readAll();
        const auto headerEnd = buffer->indexOf("\r\n\r\n");
        if (headerEnd < 0) return;
        ReceivedRequest request;
        const auto lines = buffer->left(headerEnd).split('\n');
        const auto requestLine = lines.value(0).trimmed().split(' ');
        request.method = requestLine.value(0);
        request.path = requestLine.value(1);
        for (qsizetype i = 1; i < lines.size(); ++i) {
            const auto colon = lines[i].indexOf(':');
            if (colon > 0) request.headers[lines[i].left(colon).trimmed().toLower()] = lines[i].mid(colon + 1).trimmed();
        }
        const auto length = request.headers["content-length"].toLongLong();
        if (buffer->size() < headerEnd + 4 + length) return;
        request.body = buffer->mid(headerEnd + 4, length);
        buffer->clear();
        requests_.push_back(std::move(request));
        answer(socket);
    });
}

void LocalHttpsServer::answer(QSslSocket* socket) {
    switch (behaviour_) {
    case Behaviour::neverAnswer: return;
    case Behaviour::respond: {
        QByteArray reply = "HTTP/1.1 " + QByteArray::number(status_) + " " + reasonPhrase(status_) + "\r\n";
        if (status_ != 204) reply += "Content-Type: application/json\r\nContent-Length: " + QByteArray::number(body_.size()) + "\r\n";
        reply += "Connection: close\r\n\r\n";
        if (status_ != 204) reply += body_;
        socket->write(reply);
        socket->disconnectFromHost();
        return;
    }
    case Behaviour::trickle: {
        socket->write("HTTP/1.1 200 OK\r\nContent-Type: application/json\r\nContent-Length: 100000\r\n\r\n{");
        auto* timer = new QTimer(socket);
        QObject::connect(timer, &QTimer::timeout, socket, [socket] { socket->write(" "); });
        timer->start(50);
        return;
    }
    }
}

} // namespace zentaris::testing

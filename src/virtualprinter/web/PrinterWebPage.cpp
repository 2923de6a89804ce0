#include "PrinterWebPage.h"

#include <QHttpServerRequest>
#include <QHttpServerResponse>
#include <QRegularExpression>
#include <QTcpSocket>
#include <QTimer>
#include <QUrlQuery>

namespace
{

// The page holds no document text: its script fills it in with textContent, so that what a
// document prints is never read as markup.
constexpr char Page[] = R"(<!DOCTYPE html>
<html lang="en">
<head>
<meta charset="utf-8">
<title>Virtual printer</title>
<style>
body { font-family: sans-serif; margin: 1em; background: #eee; }
.printer { margin-bottom: 2em; }
.document { background: #fff; border: 1px solid #bbb; margin: 0.5em 0; padding: 0.5em; display: flex; gap: 1em; align-items: flex-start; }
.pictures { flex: none; max-height: 80vh; overflow-y: auto; }
.pictures img { display: block; border: 1px solid #888; margin-bottom: 4px; }
.document pre { margin: 0.2em 0; white-space: pre-wrap; overflow-wrap: anywhere; }
.settings { color: #444; }
.empty { color: #666; }
</style>
</head>
<body>
<h1>Virtual printer</h1>
<p id="status" class="empty">Waiting for documents.</p>
<div id="printers"></div>
<script src="/page.js"></script>
</body>
</html>
)";

constexpr char Script[] = R"('use strict';
let latest = 0;
const printers = new Map();

function element(tag, className, text) {
  const e = document.createElement(tag);
  if (className) e.className = className;
  if (text !== undefined) e.textContent = text;
  return e;
}

function printerSection(name) {
  let section = printers.get(name);
  if (!section) {
    section = element('section', 'printer');
    section.appendChild(element('h2', '', 'Printer ' + name));
    section.list = element('div', 'documents');
    section.appendChild(section.list);
    document.getElementById('printers').appendChild(section);
    printers.set(name, section);
  }
  return section;
}

function documentView(d) {
  const view = element('article', 'document');
  view.dataset.id = d.id;
  const pictures = element('div', 'pictures');
  for (const url of d.pictures) {
    const img = element('img');
    img.src = url;
    img.alt = 'picture of document ' + d.number;
    pictures.appendChild(img);
  }
  view.appendChild(pictures);
  const text = element('div', 'text');
  text.appendChild(element('h3', '', 'Document ' + d.number + ' from ' + d.from));
  text.appendChild(element('pre', 'lines', d.lines.join('\n')));
  if (d.linesLeftOut > 0)
    text.appendChild(element('p', 'empty', d.linesLeftOut + ' more lines left out'));
  text.appendChild(element('pre', 'settings', d.settings));
  view.appendChild(text);
  return view;
}

function show(update) {
  if (update.latest < latest) {
    // The printer started again: its documents are new ones.
    printers.clear();
    document.getElementById('printers').replaceChildren();
  }
  for (const p of update.printers) {
    const section = printerSection(p.name);
    // Oldest first, so that each goes on top of the ones before it.
    for (const d of p.documents.slice().reverse())
      section.list.prepend(documentView(d));
    const kept = new Set(p.kept);
    for (const view of Array.from(section.list.children))
      if (!kept.has(Number(view.dataset.id))) view.remove();
  }
  latest = update.latest;
  const status = document.getElementById('status');
  status.textContent = latest > 0 ? 'Updated ' + new Date().toLocaleTimeString() : 'Waiting for documents.';
}

async function poll() {
  try {
    const response = await fetch('/updates.json?after=' + latest, {cache: 'no-store'});
    if (response.ok) show(await response.json());
  } catch (e) {
    document.getElementById('status').textContent = 'The printer does not answer.';
  }
  setTimeout(poll, 1000);
}
poll();
)";

QHttpServerResponse plain(const char* text, QHttpServerResponse::StatusCode status)
{
    QHttpServerResponse response(QByteArrayLiteral("text/plain; charset=utf-8"),
                                 QByteArray(text) + '\n', status);
    return response;
}

QHttpServerResponse served(QByteArray mimeType, QByteArray body)
{
    QHttpServerResponse response(std::move(mimeType), std::move(body));
    response.setHeader("Cache-Control", "no-store");
    response.setHeader("X-Content-Type-Options", "nosniff");
    response.setHeader("Content-Security-Policy",
                       "default-src 'self'; style-src 'unsafe-inline'; img-src 'self'");
    return response;
}

bool isGet(const QHttpServerRequest& request)
{
    return request.method() == QHttpServerRequest::Method::Get;
}

enum class RequestStart { Incomplete, Readable, Unreadable, TooLarge };

// Reads what starts a connection before the server's parser does: the server closes a
// connection it cannot read without a word, and waits for a body the page never needs.
RequestStart readRequestStart(QByteArrayView bytes)
{
    static const QRegularExpression requestLine(
        QStringLiteral("^[A-Z]{1,16} /[\\x21-\\x7E]* HTTP/1\\.[01]\r?$"));
    static const QRegularExpression body(
        QStringLiteral("^(content-length: *[1-9]|transfer-encoding:)"),
        QRegularExpression::CaseInsensitiveOption | QRegularExpression::MultilineOption);
    qsizetype start = 0;
    while (start < bytes.size() && (bytes[start] == '\r' || bytes[start] == '\n'))
        ++start;
    const QByteArrayView rest = bytes.sliced(start);
    const qsizetype lineEnd = rest.indexOf('\n');
    if (lineEnd < 0)
        return rest.size() > PrinterWebPage::LongestRequestHead ? RequestStart::TooLarge
                                                                : RequestStart::Incomplete;
    if (!requestLine.match(QString::fromLatin1(rest.first(lineEnd))).hasMatch())
        return RequestStart::Unreadable;
    qsizetype headEnd = rest.indexOf("\r\n\r\n");
    if (headEnd < 0)
        headEnd = rest.indexOf("\n\n");
    if (headEnd < 0)
        return rest.size() > PrinterWebPage::LongestRequestHead ? RequestStart::TooLarge
                                                                : RequestStart::Incomplete;
    return body.match(QString::fromLatin1(rest.first(headEnd))).hasMatch() ? RequestStart::TooLarge
                                                                           : RequestStart::Readable;
}

void refuse(QTcpSocket* socket, const QByteArray& status, const QByteArray& text)
{
    socket->write(QByteArrayLiteral("HTTP/1.1 ") + status +
                  "\r\nContent-Type: text/plain; charset=utf-8\r\n"
                  "Content-Length: " +
                  QByteArray::number(text.size() + 1) + "\r\nConnection: close\r\n\r\n" + text +
                  "\n");
    socket->disconnectFromHost();
}

// Watches one connection: closes it when idle or when it sends more than the page could ask
// for, and reads the start of its first request before the server's own reader does, since
// that one closes a request it cannot read without a word and waits for a body the page never
// needs. The server's reader takes what waits in the socket, so the start is pieced together
// from what waited before it ran and what it left.
class ConnectionGuard : public QObject
{
public:
    ConnectionGuard(QTcpSocket* socket, int idleMs)
        : QObject(socket), socket_(socket), idleMs_(idleMs)
    {
        idle_.setSingleShot(true);
        idle_.start(idleMs_);
        connect(&idle_, &QTimer::timeout, socket, &QTcpSocket::abort);
        connect(socket, &QTcpSocket::bytesWritten, this, [this] { idle_.start(idleMs_); });
        // Connected before the server's reader, so that it runs first, and once more after it.
        connect(socket, &QTcpSocket::readyRead, this, &ConnectionGuard::beforeReader);
        connect(socket, &QTcpSocket::readyRead, this, &ConnectionGuard::afterReader,
                Qt::QueuedConnection);
        connect(socket, &QTcpSocket::disconnected, socket, &QObject::deleteLater);
    }

private:
    void beforeReader()
    {
        idle_.start(idleMs_);
        received_ += socket_->bytesAvailable();
        if (received_ > PrinterWebPage::MostBytesPerConnection) {
            socket_->abort();
            return;
        }
        if (judged_)
            return;
        waiting_ = socket_->peek(PrinterWebPage::LongestRequestHead + 1);
        switch (readRequestStart(taken_ + waiting_)) {
        case RequestStart::Incomplete:
            return;
        case RequestStart::Readable:
            break;
        case RequestStart::Unreadable:
            socket_->readAll();
            refuse(socket_, "400 Bad Request", "The request cannot be read.");
            break;
        case RequestStart::TooLarge:
            socket_->readAll();
            refuse(socket_, "413 Content Too Large", "The page takes no more than this.");
            break;
        }
        judged_ = true;
    }
    void afterReader()
    {
        const qint64 left = socket_->bytesAvailable();
        if (!judged_ && left < waiting_.size())
            taken_ += waiting_.first(waiting_.size() - left);
        waiting_.clear();
    }

    QTcpSocket* socket_;
    const int idleMs_;
    QTimer idle_;
    QByteArray taken_;   // the start of the first request that the server's reader took
    QByteArray waiting_; // what waited when it was last seen
    qint64 received_ = 0;
    bool judged_ = false;
};

// Takes connections within a bound in count, each watched.
class BoundedTcpServer : public QTcpServer
{
public:
    BoundedTcpServer(int idleMs, QObject* parent) : QTcpServer(parent), idleMs_(idleMs) {}

protected:
    void incomingConnection(qintptr descriptor) override
    {
        auto* socket = new QTcpSocket(this);
        if (!socket->setSocketDescriptor(descriptor) ||
            findChildren<QTcpSocket*>(Qt::FindDirectChildrenOnly).size() >
                PrinterWebPage::MostConnections) {
            socket->abort();
            delete socket;
            return;
        }
        new ConnectionGuard(socket, idleMs_);
        addPendingConnection(socket);
    }

private:
    const int idleMs_;
};

} // namespace

PrinterWebPage::PrinterWebPage(const DocumentGallery& gallery, int idleMs, QObject* parent)
    : QObject(parent), gallery_(gallery), idleMs_(idleMs)
{
    addRoutes();
}

void PrinterWebPage::addRoutes()
{
    server_.route("/", [](const QHttpServerRequest& request) {
        if (!isGet(request))
            return plain("Only GET is served.", QHttpServerResponse::StatusCode::MethodNotAllowed);
        return served("text/html; charset=utf-8", QByteArray(Page));
    });
    server_.route("/page.js", [](const QHttpServerRequest& request) {
        if (!isGet(request))
            return plain("Only GET is served.", QHttpServerResponse::StatusCode::MethodNotAllowed);
        return served("text/javascript; charset=utf-8", QByteArray(Script));
    });
    server_.route("/updates.json", [this](const QHttpServerRequest& request) {
        if (!isGet(request))
            return plain("Only GET is served.", QHttpServerResponse::StatusCode::MethodNotAllowed);
        const QString after = QUrlQuery(request.url()).queryItemValue(QStringLiteral("after"));
        bool isNumber = after.isEmpty();
        const quint64 since = isNumber ? 0 : after.toULongLong(&isNumber);
        if (!isNumber)
            return plain("after takes a document id.", QHttpServerResponse::StatusCode::BadRequest);
        return served("application/json", QByteArray::fromStdString(gallery_.updates(since)));
    });
    server_.route("/documents/<arg>/picture-<arg>.png", [this](quint64 id, int k,
                                                               const QHttpServerRequest& request) {
        if (!isGet(request))
            return plain("Only GET is served.", QHttpServerResponse::StatusCode::MethodNotAllowed);
        const std::optional<QByteArray> png = gallery_.picture(id, k);
        if (!png)
            return plain("No such picture.", QHttpServerResponse::StatusCode::NotFound);
        return served("image/png", *png);
    });
    server_.afterRequest([this](QHttpServerResponse&& response, const QHttpServerRequest& request) {
        emit answered(request.url().path());
        // A site that points a name of its own at loopback must not read the documents: there
        // only an address or localhost names this page.
        const QString host = request.url().host();
        if (tcp_->serverAddress().isLoopback() && !host.isEmpty() &&
            host != QLatin1String("localhost") && QHostAddress(host).isNull())
            return plain("This page answers to its address or localhost only.",
                         QHttpServerResponse::StatusCode::Forbidden);
        return std::move(response);
    });
    server_.setMissingHandler([](const QHttpServerRequest&, QHttpServerResponder&& responder) {
        responder.write(QByteArrayLiteral("Not found.\n"),
                        QByteArrayLiteral("text/plain; charset=utf-8"),
                        QHttpServerResponder::StatusCode::NotFound);
    });
}

bool PrinterWebPage::listen(const QString& host, quint16 port, QString& failure)
{
    auto* tcp = new BoundedTcpServer(idleMs_, this);
    if (!tcp->listen(QHostAddress(host), port)) {
        failure = QStringLiteral("cannot serve the web page on %1:%2: %3")
                      .arg(host)
                      .arg(port)
                      .arg(tcp->errorString());
        delete tcp;
        return false;
    }
    server_.bind(tcp);
    tcp_ = tcp;
    return true;
}

QString PrinterWebPage::address() const
{
    if (tcp_ == nullptr)
        return {};
    const QHostAddress host = tcp_->serverAddress();
    const QString name = host.protocol() == QAbstractSocket::IPv6Protocol
                             ? QStringLiteral("[%1]").arg(host.toString())
                             : host.toString();
    return QStringLiteral("http://%1:%2/").arg(name).arg(tcp_->serverPort());
}

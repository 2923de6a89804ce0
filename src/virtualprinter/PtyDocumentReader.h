#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

// A serial line made of a pseudo-terminal: the tool opens its slave by name, this reads the
// master. A line has no connections, so a pause in the bytes ends a document.
class PtyDocumentReader : public QObject
{
    Q_OBJECT

public:
    static constexpr int DocumentPauseMs = 300;

    explicit PtyDocumentReader(QObject* parent = nullptr);
    ~PtyDocumentReader() override;

    bool open(QString& failure);
    QString slavePath() const { return slavePath_; }

signals:
    void documentReceived(const QByteArray& bytes, const QString& from);

private:
    void readAvailable();
    void endDocument();

    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer pause_;
    QByteArray received_;
};

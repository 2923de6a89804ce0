#pragma once

#include <QObject>
#include <QSocketNotifier>
#include <QTimer>

class VirtualPrinterOutput;

// A serial line made of a pseudo-terminal: the tool opens its slave by name, this reads the
// master. A line has no connections, so a pause in the bytes ends a document. Bytes are
// decoded in bounded slices as they arrive.
class PtyDocumentReader : public QObject
{
    Q_OBJECT

public:
    static constexpr int DocumentPauseMs = 300;
    static constexpr qsizetype SliceBytes = 64 * 1024;

    explicit PtyDocumentReader(VirtualPrinterOutput& output, QObject* parent = nullptr);
    ~PtyDocumentReader() override;

    bool open(QString& failure);
    QString slavePath() const { return slavePath_; }

signals:
    void documentEnded();

private:
    void readAvailable();
    void endDocument();

    VirtualPrinterOutput& output_;
    int master_ = -1;
    int slave_ = -1;
    QString slavePath_;
    QSocketNotifier* notifier_ = nullptr;
    QTimer pause_;
    int document_ = 0; // 0 between documents
};

#pragma once

#include <QFrame>
#include <array>

class QLineEdit;

// Four numeric fields, 0 to 255, with dots between: the entry that holds the address of an
// ipBox. It shows a packed address, gives one back (blank fields read as 0) and takes a font
// like any widget.
class IpAddressEntry : public QFrame
{
    Q_OBJECT

public:
    explicit IpAddressEntry(QWidget* parent = nullptr);

    // The first field in bits 31 to 24, the fourth in bits 7 to 0.
    void setPackedAddress(quint32 address);
    quint32 packedAddress() const;

    QLineEdit* field(int index) const { return fields_[index]; }

protected:
    bool eventFilter(QObject* watched, QEvent* event) override;

private:
    int indexOf(QObject* watched) const;
    bool handleKey(int index, QKeyEvent* key);
    void fieldEdited(int index);
    void moveTo(int index, bool selectAll, bool cursorAtEnd);
    bool pasteAddress();

    std::array<QLineEdit*, 4> fields_{};
};

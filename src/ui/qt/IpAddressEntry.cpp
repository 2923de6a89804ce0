#include "IpAddressEntry.h"

#include <QApplication>
#include <QClipboard>
#include <QHBoxLayout>
#include <QKeyEvent>
#include <QLabel>
#include <QLineEdit>
#include <QRegularExpressionValidator>

namespace
{

constexpr int FieldCount = 4;

// Reads "a.b.c.d" with every part 0 to 255, blanks around parts allowed.
std::optional<std::array<int, 4>> dottedAddress(const QString& text)
{
    const QStringList parts = text.trimmed().split(u'.');
    if (parts.size() != FieldCount)
        return std::nullopt;
    std::array<int, 4> values{};
    for (int i = 0; i < FieldCount; ++i) {
        bool ok = false;
        const QString part = parts[i].trimmed();
        const int value = part.toInt(&ok);
        if (!ok || part.size() > 3 || value < 0 || value > 255 || part.startsWith(u'+'))
            return std::nullopt;
        values[i] = value;
    }
    return values;
}

} // namespace

IpAddressEntry::IpAddressEntry(QWidget* parent) : QFrame(parent)
{
    setFrameShape(QFrame::StyledPanel);
    setAutoFillBackground(true);
    setBackgroundRole(QPalette::Base);
    auto* layout = new QHBoxLayout(this);
    layout->setContentsMargins(2, 0, 2, 0);
    layout->setSpacing(0);
    auto* validator =
        new QRegularExpressionValidator(QRegularExpression(QStringLiteral("[0-9]{0,3}")), this);
    for (int i = 0; i < FieldCount; ++i) {
        if (i > 0) {
            auto* dot = new QLabel(QStringLiteral("."), this);
            dot->setBackgroundRole(QPalette::Base);
            layout->addWidget(dot);
        }
        auto* field = new QLineEdit(this);
        field->setObjectName(QStringLiteral("field%1").arg(i));
        field->setFrame(false);
        field->setAlignment(Qt::AlignCenter);
        field->setValidator(validator);
        field->installEventFilter(this);
        connect(field, &QLineEdit::textEdited, this, [this, i] { fieldEdited(i); });
        layout->addWidget(field, 1);
        fields_[i] = field;
    }
    setFocusProxy(fields_[0]);
}

void IpAddressEntry::setPackedAddress(quint32 address)
{
    for (int i = 0; i < FieldCount; ++i)
        fields_[i]->setText(QString::number((address >> (24 - 8 * i)) & 0xFF));
}

quint32 IpAddressEntry::packedAddress() const
{
    quint32 address = 0;
    for (int i = 0; i < FieldCount; ++i)
        address |= (fields_[i]->text().toUInt() & 0xFF) << (24 - 8 * i);
    return address;
}

int IpAddressEntry::indexOf(QObject* watched) const
{
    for (int i = 0; i < FieldCount; ++i) {
        if (fields_[i] == watched)
            return i;
    }
    return -1;
}

bool IpAddressEntry::eventFilter(QObject* watched, QEvent* event)
{
    const int index = indexOf(watched);
    if (index >= 0 && event->type() == QEvent::KeyPress)
        return handleKey(index, static_cast<QKeyEvent*>(event));
    return QFrame::eventFilter(watched, event);
}

bool IpAddressEntry::handleKey(int index, QKeyEvent* key)
{
    QLineEdit* field = fields_[index];
    if (key->matches(QKeySequence::Paste))
        return pasteAddress();
    if (key->text() == QLatin1String(".")) {
        if (!field->text().isEmpty() && !field->hasSelectedText() && index + 1 < FieldCount)
            moveTo(index + 1, true, false);
        return true;
    }
    const bool atStart = field->cursorPosition() == 0 && !field->hasSelectedText();
    const bool atEnd = field->cursorPosition() == field->text().size() && !field->hasSelectedText();
    switch (key->key()) {
    case Qt::Key_Backspace: // at the start of a field, as Left: nothing there to delete
    case Qt::Key_Left:
        if (atStart && index > 0) {
            moveTo(index - 1, false, true);
            return true;
        }
        return false;
    case Qt::Key_Right:
        if (atEnd && index + 1 < FieldCount) {
            moveTo(index + 1, false, false);
            return true;
        }
        return false;
    default:
        return false;
    }
}

void IpAddressEntry::fieldEdited(int index)
{
    QLineEdit* field = fields_[index];
    if (field->text().toInt() > 255)
        field->setText(QStringLiteral("255"));
    // A third digit completes the field.
    if (field->text().size() == 3 && field->cursorPosition() == 3 && index + 1 < FieldCount)
        moveTo(index + 1, true, false);
}

void IpAddressEntry::moveTo(int index, bool selectAll, bool cursorAtEnd)
{
    QLineEdit* field = fields_[index];
    field->setFocus(Qt::OtherFocusReason);
    if (selectAll)
        field->selectAll();
    else
        field->setCursorPosition(cursorAtEnd ? field->text().size() : 0);
}

bool IpAddressEntry::pasteAddress()
{
    const std::optional<std::array<int, 4>> address =
        dottedAddress(QApplication::clipboard()->text());
    if (!address)
        return false; // the field's own paste, which takes digits only
    for (int i = 0; i < FieldCount; ++i)
        fields_[i]->setText(QString::number((*address)[i]));
    moveTo(FieldCount - 1, false, true);
    return true;
}

#include "PrinterStreamDecoder.h"

#include <algorithm>

using Layout = CommandFrame::Layout;

QStringList PrinterStreamDecoder::feed(QByteArrayView bytes)
{
    QStringList lines;
    feedInto(bytes, lines);
    return lines;
}

QStringList PrinterStreamDecoder::finish()
{
    QStringList lines;
    if (inCommand_) {
        const bool runEnds = frame_.layout == Layout::Text || frame_.layout == Layout::Unknown;
        lines << (runEnds ? line() : shownBytes() + QStringLiteral("  truncated ") + frame_.name);
        inCommand_ = false;
        if (listener_)
            listener_->commandEnds(runEnds);
    }
    if (headSize_ > 0) {
        const QByteArrayView head(head_.data(), headSize_);
        lines << QString::fromLatin1(head.toByteArray().toHex(' ').toUpper()) +
                     QStringLiteral("  truncated ") +
                     EscPosCommandSet::frame(head, settings_, condition_).name;
        headSize_ = 0;
    }
    return lines;
}

QStringList PrinterStreamDecoder::decode(QByteArrayView document)
{
    QStringList lines = feed(document);
    return lines + finish();
}

void PrinterStreamDecoder::feedInto(QByteArrayView bytes, QStringList& lines)
{
    while (!bytes.isEmpty())
        bytes =
            bytes.sliced(inCommand_ ? continueCommand(bytes, lines) : startCommand(bytes, lines));
}

// Gathers a command's first bytes until its frame is known; returns how many it took.
qsizetype PrinterStreamDecoder::startCommand(QByteArrayView bytes, QStringList& lines)
{
    const qsizetype held = headSize_;
    const qsizetype added = std::min(bytes.size(), EscPosCommandSet::LongestHead - held);
    std::copy_n(bytes.data(), added, head_.data() + held);
    headSize_ += added;
    const QByteArrayView head(head_.data(), headSize_);
    CommandFrame frame = EscPosCommandSet::frame(head, settings_, condition_);
    if (frame.layout == Layout::CutShort) {
        if (headSize_ < EscPosCommandSet::LongestHead)
            return added;
        frame = {Layout::Fixed, 1, 0, {}, QStringLiteral("unknown bytes"), {}}; // never stall
    }
    const std::array<char, EscPosCommandSet::LongestHead> taken = head_;
    headSize_ = 0;
    begin(frame, QByteArrayView(taken.data(), frame.length), lines);
    if (frame.length >= held)
        return frame.length - held;
    // The command ended inside the bytes held from before: they start the next ones.
    feedInto(QByteArrayView(taken.data() + frame.length, held - frame.length), lines);
    return 0;
}

// Takes the data or the run of the command under way; returns how many bytes it took.
qsizetype PrinterStreamDecoder::continueCommand(QByteArrayView bytes, QStringList& lines)
{
    qsizetype length = 0;
    bool ends = false;
    switch (frame_.layout) {
    case Layout::Fixed:
        length = qsizetype(std::min<qint64>(dataLeft_, bytes.size()));
        dataLeft_ -= length;
        ends = dataLeft_ == 0;
        break;
    case Layout::UpToNul: {
        const qsizetype nul = bytes.indexOf('\0');
        ends = nul >= 0;
        length = ends ? nul + 1 : bytes.size();
        break;
    }
    case Layout::Text:
    case Layout::Unknown: {
        const auto continues = frame_.layout == Layout::Text ? EscPosCommandSet::continuesText
                                                             : EscPosCommandSet::continuesUnknown;
        const auto* const data = reinterpret_cast<const quint8*>(bytes.data());
        length = std::find_if_not(data, data + bytes.size(), continues) - data;
        ends = length < bytes.size();
        break;
    }
    case Layout::CutShort:
        break;
    }
    take(bytes.first(length));
    if (ends)
        end(lines);
    return length;
}

void PrinterStreamDecoder::begin(const CommandFrame& frame, QByteArrayView head, QStringList& lines)
{
    frame_ = frame;
    shown_.clear();
    taken_ = 0;
    dataLeft_ = frame.dataLength;
    answer_ += frame.answer;
    inCommand_ = true;
    if (listener_)
        listener_->commandBegins(frame);
    take(head);
    if (frame.layout == Layout::Fixed && dataLeft_ == 0)
        end(lines);
}

void PrinterStreamDecoder::take(QByteArrayView bytes)
{
    taken_ += bytes.size();
    if (listener_ && !bytes.isEmpty())
        listener_->commandBytes(bytes);
    const qsizetype room = ShownBytes - shown_.size();
    if (room > 0)
        shown_.append(bytes.first(std::min(room, bytes.size())));
}

void PrinterStreamDecoder::end(QStringList& lines)
{
    lines << line();
    inCommand_ = false;
    if (listener_)
        listener_->commandEnds(true);
}

QString PrinterStreamDecoder::shownBytes() const
{
    static constexpr char digits[] = "0123456789ABCDEF";
    QString text(std::max<qsizetype>(0, shown_.size() * 3 - 1), u' ');
    for (qsizetype i = 0; i < shown_.size(); ++i) {
        text[3 * i] = QLatin1Char(digits[quint8(shown_[i]) >> 4]);
        text[3 * i + 1] = QLatin1Char(digits[quint8(shown_[i]) & 0xF]);
    }
    if (taken_ > shown_.size())
        text += QStringLiteral(" \u2026 (%1 bytes)").arg(taken_);
    return text;
}

QString PrinterStreamDecoder::line() const
{
    if (frame_.layout != Layout::Text)
        return shownBytes() + QStringLiteral("  ") + frame_.meaning;
    return shownBytes() + QStringLiteral("  text \"") + QLatin1String(shown_) +
           (taken_ > shown_.size() ? QStringLiteral("\u2026\"") : QStringLiteral("\""));
}

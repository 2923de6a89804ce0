#include "EscPosCommandSet.h"

#include <QHash>
#include <algorithm>
#include <optional>
#include <vector>

namespace
{

using Layout = CommandFrame::Layout;

constexpr quint8 HT = 0x09;
constexpr quint8 LF = 0x0A;
constexpr quint8 FF = 0x0C;
constexpr quint8 CR = 0x0D;
constexpr quint8 DLE = 0x10;
constexpr quint8 EOT = 0x04;
constexpr quint8 ESC = 0x1B;
constexpr quint8 FS = 0x1C;
constexpr quint8 GS = 0x1D;
constexpr quint8 US = 0x1F;

// A command of fixed length: its name, whose words are its first bytes (a control's name or a
// character), and a count of parameter bytes after them. In the meaning, {1} {2} {3} stand for
// the parameters and {12} for the first two read as one number, low byte first.
struct FixedCommand {
    const char* name;
    int parameters;
    const char* meaning;
};

// clang-format off
const FixedCommand FixedCommands[] = {
    {"HT", 0, "horizontal tab"},
    {"LF", 0, "print and feed one line"},
    {"FF", 0, "print the page"},
    {"CR", 0, "carriage return"},
    {"ESC SP", 1, "character spacing {1}"},
    {"ESC !", 1, "print mode {1}"},
    {"ESC $", 2, "absolute print position {12}"},
    {"ESC %", 1, "user-defined characters {1}"},
    {"ESC -", 1, "underline {1}"},
    {"ESC 2", 0, "default line spacing"},
    {"ESC 3", 1, "line spacing {1}"},
    {"ESC =", 1, "peripheral device {1}"},
    {"ESC ?", 1, "cancel user-defined character {1}"},
    {"ESC @", 0, "initialise the printer"},
    {"ESC E", 1, "emphasis {1}"},
    {"ESC G", 1, "double strike {1}"},
    {"ESC J", 1, "print and feed {1} units"},
    {"ESC L", 0, "page mode"},
    {"ESC M", 1, "character font {1}"},
    {"ESC R", 1, "international character set {1}"},
    {"ESC S", 0, "standard mode"},
    {"ESC T", 1, "page mode print direction {1}"},
    {"ESC V", 1, "quarter-turn rotation {1}"},
    {"ESC W", 8, "page mode print area"},
    {"ESC \\", 2, "relative print position {12}"},
    {"ESC a", 1, "justification {1}"},
    {"ESC c 3", 1, "paper sensors that report paper end {1}"},
    {"ESC c 4", 1, "paper sensors that stop printing {1}"},
    {"ESC c 5", 1, "panel buttons {1}"},
    {"ESC d", 1, "print and feed {1} lines"},
    {"ESC e", 1, "print and feed back {1} lines"},
    {"ESC i", 0, "cut, one point left"},
    {"ESC m", 0, "cut, three points left"},
    {"ESC p", 3, "drawer pulse on pin {1}, {2} on, {3} off"},
    {"ESC r", 1, "print colour {1}"},
    {"ESC t", 1, "character code table {1}"},
    {"ESC {", 1, "upside-down printing {1}"},
    {"GS FF", 0, "feed marked paper to the print starting position"},
    {"GS !", 1, "character size {1}"},
    {"GS $", 2, "page mode vertical position {12}"},
    {"GS /", 1, "print the downloaded bit image, mode {1}"},
    {"GS :", 0, "start or end of macro definition"},
    {"GS B", 1, "white on black {1}"},
    {"GS H", 1, "barcode text position {1}"},
    {"GS L", 2, "left margin {12}"},
    {"GS P", 2, "motion units {1} and {2}"},
    {"GS W", 2, "print area width {12}"},
    {"GS \\", 2, "page mode relative vertical position {12}"},
    {"GS ^", 3, "run the macro {1} times"},
    {"GS b", 1, "smoothing {1}"},
    {"GS f", 1, "barcode text font {1}"},
    {"GS h", 1, "barcode height {1}"},
    {"GS w", 1, "barcode module width {1}"},
    {"FS !", 1, "kanji print mode {1}"},
    {"FS &", 0, "kanji mode on"},
    {"FS -", 1, "kanji underline {1}"},
    {"FS .", 0, "kanji mode off"},
    {"FS C", 1, "kanji code system {1}"},
    {"FS S", 2, "kanji spacing {1} and {2}"},
    {"FS W", 1, "kanji quadruple size {1}"},
    {"FS p", 2, "print the stored logo {1}, mode {2}"},
    {"DLE ENQ", 1, "real-time request {1}"},
    {"DLE DC4", 3, "real-time request {1}, {2} {3}"},
};
// clang-format on

// The bytes a command's name stands for: "ESC a" is 1B 61.
QByteArray keyOf(const char* name)
{
    static const QHash<QByteArray, char> controls{
        {"HT", 0x09},  {"LF", 0x0A},  {"FF", 0x0C}, {"CR", 0x0D}, {"DLE", 0x10}, {"ENQ", 0x05},
        {"DC4", 0x14}, {"ESC", 0x1B}, {"FS", 0x1C}, {"GS", 0x1D}, {"SP", 0x20}};
    QByteArray key;
    for (const QByteArray& word : QByteArray(name).split(' '))
        key += controls.value(word, word.at(0));
    return key;
}

// The table read once, with the text of its lines made ready.
struct KeyedCommand {
    QByteArray key;
    int parameters;
    QString name;
    QString meaning; // whole when there are no parameters
};

const std::vector<KeyedCommand>& keyedCommands()
{
    static const std::vector<KeyedCommand> keyed = [] {
        std::vector<KeyedCommand> all;
        for (const FixedCommand& command : FixedCommands) {
            const QString name = QString::fromLatin1(command.name);
            all.push_back({keyOf(command.name), command.parameters, name,
                           name + QStringLiteral(": ") + QString::fromLatin1(command.meaning)});
        }
        return all;
    }();
    return keyed;
}

quint8 byteAt(QByteArrayView bytes, qsizetype at)
{
    return static_cast<quint8>(bytes[at]);
}

int wordAt(QByteArrayView bytes, qsizetype at)
{
    return byteAt(bytes, at) | byteAt(bytes, at + 1) << 8;
}

bool printable(quint8 byte)
{
    return byte >= 0x20 && byte <= 0x7E;
}

QString hex(QByteArrayView bytes, qsizetype at, qsizetype length = 1)
{
    return QString::fromLatin1(bytes.sliced(at, length).toByteArray().toHex(' ').toUpper());
}

QString distanceWords(int count)
{
    return QStringLiteral("%1 mm (%2 counts)").arg(millimetres(count)).arg(count);
}

CommandFrame cutShort(const QString& name)
{
    return {Layout::CutShort, 0, 0, name, {}, {}};
}

CommandFrame whole(qsizetype length, const QString& name, const QString& what, qint64 data = 0)
{
    return {Layout::Fixed, length, data, name, name + QStringLiteral(": ") + what, {}};
}

CommandFrame unknownBytes(qsizetype length)
{
    return {Layout::Fixed, length, 0, {}, QStringLiteral("unknown bytes"), {}};
}

QString fill(QString text, QByteArrayView parameters)
{
    if (parameters.isEmpty())
        return text;
    if (parameters.size() >= 2)
        text.replace(QLatin1String("{12}"), QString::number(wordAt(parameters, 0)));
    for (qsizetype i = 0; i < parameters.size(); ++i)
        text.replace(QStringLiteral("{%1}").arg(i + 1), QString::number(byteAt(parameters, i)));
    return text;
}

std::optional<CommandFrame> fixedCommand(QByteArrayView head)
{
    for (const KeyedCommand& command : keyedCommands()) {
        const QByteArrayView key = command.key;
        if (key[0] != head[0])
            continue;
        const qsizetype common = std::min(head.size(), key.size());
        if (head.first(common) != key.first(common))
            continue;
        if (head.size() < key.size())
            return cutShort(command.name.section(u' ', 0, int(head.size()) - 1));
        const qsizetype length = key.size() + command.parameters;
        if (head.size() < length)
            return cutShort(command.name);
        return CommandFrame{Layout::Fixed,
                            length,
                            0,
                            command.name,
                            fill(command.meaning, head.sliced(key.size(), command.parameters)),
                            {}};
    }
    return std::nullopt;
}

// DLE EOT n and GS r n, answered as the printer stands.
CommandFrame statusRequest(QByteArrayView head, const PrinterCondition& condition)
{
    const bool realTime = byteAt(head, 0) == DLE;
    const QString name = realTime ? QStringLiteral("DLE EOT") : QStringLiteral("GS r");
    if (head.size() < 3)
        return cutShort(name);
    const quint8 n = byteAt(head, 2);
    struct Status {
        quint8 n;
        const char* what;
    };
    static const Status realTimeStatus[] = {
        {1, "printer status"}, {2, "offline cause"}, {3, "error cause"}, {4, "paper roll sensor"}};
    static const Status status[] = {
        {1, "paper sensor"},      {49, "paper sensor"}, {2, "drawer connector"},
        {50, "drawer connector"}, {4, "ink"},           {52, "ink"}};
    const auto begin = realTime ? std::begin(realTimeStatus) : std::begin(status);
    const auto end = realTime ? std::end(realTimeStatus) : std::end(status);
    const auto known = std::find_if(begin, end, [n](const Status& s) { return s.n == n; });
    if (known == end)
        return whole(3, name, QStringLiteral("unknown status request %1").arg(n));
    CommandFrame frame = whole(3, name, {});
    frame.answer = realTime ? condition.realTimeStatus(n) : condition.status(n);
    frame.meaning += QStringLiteral("%1 request (answer: %2)")
                         .arg(QLatin1String(known->what), hex(frame.answer, 0));
    return frame;
}

// GS I n: who the printer is, answered from its identity.
CommandFrame printerIdRequest(QByteArrayView head, const PrinterCondition& condition)
{
    const QString name = QStringLiteral("GS I");
    if (head.size() < 3)
        return cutShort(name);
    CommandFrame frame = whole(3, name, {});
    frame.answer = condition.printerId(byteAt(head, 2));
    const bool text = frame.answer.startsWith('\x5F');
    const QString answer =
        text ? u'"' + QString::fromLatin1(frame.answer.sliced(1).chopped(1)) + u'"'
             : hex(frame.answer, 0, frame.answer.size());
    frame.meaning +=
        frame.answer.isEmpty()
            ? QStringLiteral("unknown printer ID request %1").arg(byteAt(head, 2))
            : QStringLiteral("printer ID request %1 (answer: %2)").arg(byteAt(head, 2)).arg(answer);
    return frame;
}

// GS a n: automatic status back, which sends the status block at once when switched on.
CommandFrame automaticStatusBack(QByteArrayView head, const PrinterCondition& condition)
{
    const QString name = QStringLiteral("GS a");
    if (head.size() < 3)
        return cutShort(name);
    const quint8 n = byteAt(head, 2);
    CommandFrame frame = whole(3, name, QStringLiteral("automatic status back %1").arg(n));
    if (n != 0) {
        frame.answer = condition.automaticStatus();
        frame.meaning += QStringLiteral(" (status: %1)").arg(hex(frame.answer, 0, 4));
    }
    return frame;
}

// ESC * m nL nH and the columns of the image: one byte a column, or three at 24 dots.
CommandFrame bitImage(QByteArrayView head)
{
    const QString name = QStringLiteral("ESC *");
    if (head.size() < 3)
        return cutShort(name);
    const quint8 m = byteAt(head, 2);
    if (m != 0 && m != 1 && m != 32 && m != 33)
        return whole(3, name, QStringLiteral("unknown bit image mode %1").arg(hex(head, 2)));
    if (head.size() < 5)
        return cutShort(name);
    const int columns = wordAt(head, 3);
    return whole(5, name, QStringLiteral("bit image mode %1, %2 columns").arg(m).arg(columns),
                 qint64(columns) * (m >= 32 ? 3 : 1));
}

// GS v 0 m xL xH yL yH and x times y bytes of raster data.
CommandFrame rasterImage(QByteArrayView head)
{
    if (head.size() < 3)
        return cutShort(QStringLiteral("GS v"));
    if (byteAt(head, 2) != '0')
        return whole(2, QStringLiteral("GS 76"), QStringLiteral("unknown command"));
    const QString name = QStringLiteral("GS v 0");
    if (head.size() < 8)
        return cutShort(name);
    const int width = wordAt(head, 4);
    const int height = wordAt(head, 6);
    return whole(8, name,
                 QStringLiteral("raster image %1 x %2 dots, mode %3")
                     .arg(width * 8)
                     .arg(height)
                     .arg(byteAt(head, 3)),
                 qint64(width) * height);
}

// GS 8 L p1 p2 p3 p4 and a parameter block whose length the four bytes give.
CommandFrame largeGraphics(QByteArrayView head)
{
    if (head.size() < 3)
        return cutShort(QStringLiteral("GS 8"));
    if (byteAt(head, 2) != 'L')
        return whole(2, QStringLiteral("GS 38"), QStringLiteral("unknown command"));
    const QString name = QStringLiteral("GS 8 L");
    if (head.size() < 7)
        return cutShort(name);
    const qint64 length = wordAt(head, 3) | qint64(wordAt(head, 5)) << 16;
    return whole(7, name, QStringLiteral("graphics, %1 parameter bytes").arg(length), length);
}

const char* barcodeSystem(quint8 m)
{
    static const char* const systems[] = {"UPC-A", "UPC-E",   "EAN-13", "EAN-8",  "CODE39",
                                          "ITF",   "CODABAR", "CODE93", "CODE128"};
    if (m <= 6)
        return systems[m];
    if (m >= 65 && m <= 73)
        return systems[m - 65];
    return "other";
}

// GS k m d1 ... NUL for m up to 6; GS k m n d1 ... dn for m from 65.
CommandFrame barcode(QByteArrayView head)
{
    const QString name = QStringLiteral("GS k");
    if (head.size() < 3)
        return cutShort(name);
    const quint8 m = byteAt(head, 2);
    const QString what =
        QStringLiteral("barcode %1 (system %2)").arg(QLatin1String(barcodeSystem(m))).arg(m);
    if (m <= 6)
        return {Layout::UpToNul, 3, 0, name, name + QStringLiteral(": ") + what, {}};
    if (m < 65 || m > 79)
        return whole(3, name, QStringLiteral("unknown barcode system %1").arg(hex(head, 2)));
    if (head.size() < 4)
        return cutShort(name);
    return whole(4, name, what, byteAt(head, 3));
}

// GS V m, and GS V m n for the cuts that feed first.
CommandFrame cut(QByteArrayView head)
{
    const QString name = QStringLiteral("GS V");
    if (head.size() < 3)
        return cutShort(name);
    const quint8 m = byteAt(head, 2);
    if (m == 0 || m == 0x30)
        return whole(3, name, QStringLiteral("full cut"));
    if (m == 1 || m == 0x31)
        return whole(3, name, QStringLiteral("partial cut"));
    if (m == 0x41 || m == 0x42 || m == 0x61 || m == 0x62) {
        if (head.size() < 4)
            return cutShort(name);
        const bool full = m == 0x41 || m == 0x61;
        return whole(4, name,
                     QStringLiteral("feed %1 and %2 cut")
                         .arg(byteAt(head, 3))
                         .arg(full ? QStringLiteral("full") : QStringLiteral("partial")));
    }
    return whole(3, name, QStringLiteral("unknown cut mode %1").arg(hex(head, 2)));
}

// GS ( F pL pH a m nL nH: where printing starts or the cut falls after a black mark.
CommandFrame positionAdjustment(QByteArrayView head, BlackMarkSettings& settings)
{
    const QString name = QStringLiteral("GS ( F");
    if (head.size() < 5)
        return cutShort(name);
    const int parameters = wordAt(head, 3);
    if (parameters != 4)
        return whole(5, name, QStringLiteral("unexpected parameter length %1").arg(parameters),
                     parameters);
    if (head.size() < 9)
        return cutShort(name);
    const quint8 a = byteAt(head, 5);
    const quint8 m = byteAt(head, 6);
    const int count = wordAt(head, 7);
    if ((a != 1 && a != 2) || m > 1)
        return whole(
            9, name,
            QStringLiteral("unknown function %1 direction %2").arg(hex(head, 5), hex(head, 6)));
    const bool backfeed = m == 1;
    (a == 1 ? settings.printStart : settings.cutPosition) = PositionAdjustment{count, backfeed};
    return whole(9, name,
                 QStringLiteral("%1 %2 %3")
                     .arg(a == 1 ? QStringLiteral("print start") : QStringLiteral("cut position"),
                          backfeed ? QStringLiteral("backfeed") : QStringLiteral("feed"),
                          distanceWords(count)));
}

const char* parameterBlockFunction(char x)
{
    switch (x) {
    case 'A':
        return "test print";
    case 'C':
        return "user memory";
    case 'D':
        return "real-time command switch";
    case 'E':
        return "user setup";
    case 'H':
        return "response request";
    case 'K':
        return "print control";
    case 'L':
        return "graphics";
    case 'M':
        return "customize";
    case 'N':
        return "character effects";
    case 'P':
        return "page mode";
    case 'Q':
        return "graphic shapes";
    case 'k':
        return "2D code";
    default:
        return "function";
    }
}

// FS ( L fn 33: sm, then sa to sf in ASCII decimal 0.1 mm, each ended by 3B: the fields
// given. Nothing when the parameters are not laid out so.
std::optional<PaperLayout> readPaperLayout(QByteArrayView parameters)
{
    if (parameters.size() < 1 || byteAt(parameters, 0) < '0' || byteAt(parameters, 0) > '3')
        return std::nullopt;
    const QList<QByteArray> fields = parameters.sliced(1).toByteArray().split(';');
    if (fields.size() != PaperLayout::FieldCount + 1 || !fields.last().isEmpty())
        return std::nullopt;
    PaperLayout read;
    read.kind = PaperLayout::Kind(parameters[0]);
    for (int i = 0; i < PaperLayout::FieldCount; ++i) {
        if (fields[i].isEmpty())
            continue;
        bool number = false;
        const int value = fields[i].toInt(&number);
        const bool signedField = PaperLayout::maySign(PaperLayout::Field(i));
        if (!number || fields[i].startsWith('+') || (!signedField && value < 0) ||
            fields[i].size() > (value < 0 ? 6 : 5))
            return std::nullopt;
        read.fields[i] = value;
    }
    return read;
}

// The FS ( L fn 34 answer: 37 4B, n in decimal, 1F and each field, 00; in 0.1 mm or in dots at
// 8 dots a millimetre.
QByteArray layoutAnswer(const PaperLayout& layout, quint8 n)
{
    QByteArray answer = "\x37\x4B" + QByteArray::number(n) + '\x1F' + char(layout.kind);
    for (const std::optional<int>& tenths : layout.fields) {
        answer += '\x1F';
        if (tenths)
            answer += QByteArray::number(n == 0x40 ? *tenths : qRound(*tenths * 0.8));
    }
    return answer + '\0';
}

// FS ( L pL pH fn ...: the paper layout and feeds to its positions.
CommandFrame labelControl(QByteArrayView head, BlackMarkSettings& settings)
{
    const QString name = QStringLiteral("FS ( L");
    const int length = wordAt(head, 3);
    if (length < 1 || length > EscPosCommandSet::LongestHead - 5)
        return whole(5, name, QStringLiteral("unexpected parameter length %1").arg(length), length);
    if (head.size() < 5 + length)
        return cutShort(name);
    const quint8 fn = byteAt(head, 5);
    const QByteArrayView parameters = head.sliced(6, length - 1);
    CommandFrame frame = whole(5 + length, name, {});
    const quint8 m = parameters.isEmpty() ? 0 : byteAt(parameters, 0);
    static const char* const positions[3] = {"label peeling", "cutting", "print start"};
    if (fn == 0x21) {
        const std::optional<PaperLayout> given = readPaperLayout(parameters);
        if (given) {
            // A field left out keeps its value.
            PaperLayout& layout = settings.layout.emplace(settings.layout.value_or(PaperLayout()));
            layout.kind = given->kind;
            for (int i = 0; i < PaperLayout::FieldCount; ++i)
                layout.fields[i] = given->fields[i] ? given->fields[i] : layout.fields[i];
        }
        frame.meaning += given ? QStringLiteral("paper layout ") + paperLayoutWords(given)
                               : QStringLiteral("paper layout with unreadable parameters");
    } else if (fn == 0x22 && length == 2 && (m == 0x40 || m == 0x50)) {
        frame.answer = layoutAnswer(settings.layout.value_or(PaperLayout()), m);
        frame.meaning += QStringLiteral("send the paper layout %1 (answer: %2)")
                             .arg(m == 0x40 ? QStringLiteral("as set, in 0.1 mm")
                                            : QStringLiteral("in effect, in dots"),
                                  hex(frame.answer, 0, frame.answer.size()));
    } else if (fn == 0x30 && length == 2 && m == 0x30) {
        frame.answer = QByteArray("\x37\x38") + char(0x40 | settings.position) + '\x40' + '\0';
        frame.meaning += QStringLiteral("send the position (answer: %1)")
                             .arg(hex(frame.answer, 0, frame.answer.size()));
    } else if (fn >= 0x41 && fn <= 0x43 && length == 2 && (m == 0x30 || m == 0x31)) {
        settings.position = 1 << (fn - 0x41);
        frame.meaning += QStringLiteral("feed to the %1 position%2")
                             .arg(QLatin1String(positions[fn - 0x41]),
                                  m == 0x30 ? QStringLiteral(", unless there already")
                                            : QStringLiteral(", the next one"));
    } else {
        frame.meaning += QStringLiteral("function %1, %2 parameter bytes").arg(fn).arg(length - 1);
    }
    return frame;
}

// GS ( M pL pH fn m: the settings memory.
CommandFrame settingsMemory(QByteArrayView head, BlackMarkSettings& settings)
{
    const QString name = QStringLiteral("GS ( M");
    const int length = wordAt(head, 3);
    if (length != 2)
        return whole(5, name, QStringLiteral("unexpected parameter length %1").arg(length), length);
    if (head.size() < 7)
        return cutShort(name);
    const quint8 fn = byteAt(head, 5);
    const quint8 m = byteAt(head, 6);
    CommandFrame frame = whole(7, name, {});
    if ((fn == 1 || fn == 49) && (m == 1 || m == 49)) {
        settings.savedLayout = settings.layout;
        frame.meaning += QStringLiteral("save the settings");
    } else if ((fn == 3 || fn == 51) && (m <= 1 || m == 48 || m == 49)) {
        settings.savedLoadsAtStartUp = m == 1 || m == 49;
        frame.meaning += settings.savedLoadsAtStartUp
                             ? QStringLiteral("load the saved settings at start-up")
                             : QStringLiteral("start up with the settings of the factory");
    } else {
        frame.meaning += QStringLiteral("function %1 %2").arg(fn).arg(m);
    }
    return frame;
}

// FS ( x pL pH and pL + 256 pH parameter bytes, for every x.
CommandFrame fsParameterBlock(QByteArrayView head, BlackMarkSettings& settings)
{
    if (head.size() < 3)
        return cutShort(QStringLiteral("FS ("));
    const quint8 x = byteAt(head, 2);
    const QString name =
        QStringLiteral("FS ( ") + (printable(x) ? QString(QChar(x)) : hex(head, 2));
    if (head.size() < 5)
        return cutShort(name);
    if (x == 'L')
        return labelControl(head, settings);
    const int length = wordAt(head, 3);
    return whole(5, name, QStringLiteral("function, %1 parameter bytes").arg(length), length);
}

// GS ( x pL pH and pL + 256 pH parameter bytes, for every x.
CommandFrame parameterBlock(QByteArrayView head, BlackMarkSettings& settings)
{
    if (head.size() < 3)
        return cutShort(QStringLiteral("GS ("));
    const quint8 x = byteAt(head, 2);
    if (x == 'F')
        return positionAdjustment(head, settings);
    if (x == 'M' && head.size() >= 5)
        return settingsMemory(head, settings);
    const QString name =
        QStringLiteral("GS ( ") + (printable(x) ? QString(QChar(x)) : hex(head, 2));
    if (head.size() < 5)
        return cutShort(name);
    const int length = wordAt(head, 3);
    return whole(5, name,
                 QStringLiteral("%1, %2 parameter bytes")
                     .arg(QLatin1String(parameterBlockFunction(char(x))))
                     .arg(length),
                 length);
}

// 1F 1B 1F fn 04 05 06 and the parameter: the maker's black-mark commands.
CommandFrame makerCommand(QByteArrayView head, BlackMarkSettings& settings)
{
    // 1F 1B 1F ?? 04 05 06, the function byte at index 3 being free.
    static const QByteArray frame("\x1F\x1B\x1F\x00\x04\x05\x06", 7);
    for (qsizetype i = 0; i < std::min(head.size(), frame.size()); ++i) {
        if (i != 3 && head[i] != frame.at(i))
            return unknownBytes(1);
    }
    if (head.size() < frame.size())
        return cutShort(QStringLiteral("maker command"));
    const quint8 function = byteAt(head, 3);
    const QString name = QStringLiteral("maker command ") + hex(head, 3);
    if (function == 0x80) {
        if (head.size() < 8)
            return cutShort(name);
        const quint8 value = byteAt(head, 7);
        CommandFrame known = whole(8, name, {});
        if (value != 0x66 && value != 0x44) {
            known.meaning =
                QStringLiteral("black mark function: unknown value %1").arg(hex(head, 7));
            return known;
        }
        settings.functionOn = value == 0x44;
        known.meaning = QStringLiteral("black mark function %1")
                            .arg(value == 0x44 ? QStringLiteral("on") : QStringLiteral("off"));
        return known;
    }
    if (function == 0x81 || function == 0x82) {
        if (head.size() < 9)
            return cutShort(name);
        const int count = wordAt(head, 7);
        (function == 0x81 ? settings.markMaxWidth : settings.paperMaxWidth) = count;
        CommandFrame known = whole(9, name, {});
        known.meaning = QStringLiteral("%1 %2").arg(
            function == 0x81 ? QStringLiteral("black mark max width")
                             : QStringLiteral("black mark paper max width"),
            distanceWords(count));
        return known;
    }
    return whole(7, name, QStringLiteral("unknown function"));
}

QString prefixName(quint8 prefix)
{
    switch (prefix) {
    case ESC:
        return QStringLiteral("ESC");
    case GS:
        return QStringLiteral("GS");
    case FS:
        return QStringLiteral("FS");
    default:
        return QStringLiteral("DLE");
    }
}

// The commands whose length is not a fixed count of parameter bytes.
std::optional<CommandFrame> laidOutCommand(QByteArrayView head, BlackMarkSettings& settings,
                                           const PrinterCondition& condition)
{
    const quint8 prefix = byteAt(head, 0);
    const quint8 second = byteAt(head, 1);
    if (prefix == ESC && second == '*')
        return bitImage(head);
    if (prefix == ESC && second == 'D')
        return CommandFrame{Layout::UpToNul,
                            2,
                            0,
                            QStringLiteral("ESC D"),
                            QStringLiteral("ESC D: horizontal tab positions"),
                            {}};
    if (prefix == DLE && second == EOT)
        return statusRequest(head, condition);
    if (prefix == FS && second == '(')
        return fsParameterBlock(head, settings);
    if (prefix != GS)
        return std::nullopt;
    switch (second) {
    case 'V':
        return cut(head);
    case '(':
        return parameterBlock(head, settings);
    case '8':
        return largeGraphics(head);
    case 'k':
        return barcode(head);
    case 'v':
        return rasterImage(head);
    case 'r':
        return statusRequest(head, condition);
    case 'I':
        return printerIdRequest(head, condition);
    case 'a':
        return automaticStatusBack(head, condition);
    default:
        return std::nullopt;
    }
}

} // namespace

CommandFrame EscPosCommandSet::frame(QByteArrayView head, BlackMarkSettings& settings,
                                     const PrinterCondition& condition)
{
    const quint8 first = byteAt(head, 0);
    if (printable(first)) {
        settings.position = 0; // printing moves the paper on
        return {Layout::Text, 1, 0, {}, {}, {}};
    }
    switch (first) {
    case ESC:
    case GS:
    case FS:
    case DLE: {
        if (head.size() < 2)
            return cutShort(prefixName(first) + QStringLiteral(" command"));
        if (std::optional<CommandFrame> known = laidOutCommand(head, settings, condition))
            return *known;
        if (std::optional<CommandFrame> known = fixedCommand(head))
            return *known;
        return whole(2, prefixName(first) + u' ' + hex(head, 1), QStringLiteral("unknown command"));
    }
    case US:
        return makerCommand(head, settings);
    default:
        break;
    }
    if (std::optional<CommandFrame> known = fixedCommand(head))
        return *known;
    return {Layout::Unknown, 1, 0, {}, QStringLiteral("unknown bytes"), {}};
}

bool EscPosCommandSet::continuesText(quint8 byte)
{
    return printable(byte);
}

bool EscPosCommandSet::continuesUnknown(quint8 byte)
{
    // Unknown bytes run up to the next byte that starts something known.
    static constexpr quint8 starters[] = {HT, LF, FF, CR, DLE, ESC, FS, GS, US};
    return !printable(byte) &&
           std::find(std::begin(starters), std::end(starters), byte) == std::end(starters);
}

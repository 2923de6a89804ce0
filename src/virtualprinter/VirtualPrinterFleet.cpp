#include "VirtualPrinterFleet.h"

#include "AddressRange.h"
#include "PortNames.h"

#include <QDir>
#include <QRegularExpression>
#include <QSaveFile>
#include <nlohmann/json.hpp>

namespace
{

// "A-B:PORT" or "A/N:PORT" (or without the port: the raw printing port).
bool readRun(const QString& text, std::vector<ListenPlace>& places, QString& refusal)
{
    const qsizetype colon = text.lastIndexOf(u':');
    const QString run = colon < 0 ? text : text.left(colon);
    if (!run.contains(u'-') && !run.contains(u'/'))
        return false;
    const AddressRange range = AddressRange::read(run.toStdString());
    // A host name may hold a dash, but not one between two runs of digits and dots.
    static const QRegularExpression numbersOnly(QStringLiteral("^[0-9./-]+$"));
    if (!range.refusal.empty()) {
        if (!numbersOnly.match(run).hasMatch())
            return false;
        refusal = QString::fromStdString(range.refusal);
        return true;
    }
    bool isNumber = false;
    const uint port =
        colon < 0 ? PortNames::RawPrintingPort : text.mid(colon + 1).toUInt(&isNumber);
    if ((colon >= 0 && !isNumber) || port == 0 || port > 65535) {
        refusal =
            QStringLiteral("\"%1\" needs a port from 1 to 65535 after the addresses").arg(text);
        return true;
    }
    if (range.size() + places.size() > std::uint64_t(VirtualPrinterFleet::MostPrinters)) {
        refusal = QStringLiteral("at most %1 printers in one process")
                      .arg(VirtualPrinterFleet::MostPrinters);
        return true;
    }
    for (std::uint64_t a = range.first; a <= range.last; ++a)
        places.push_back({QString::fromStdString(ipv4Text(std::uint32_t(a))), quint16(port)});
    return true;
}

nlohmann::json millimetresOrNull(const std::optional<int>& eighths)
{
    return eighths ? nlohmann::json(*eighths / 8.0) : nlohmann::json(nullptr);
}

// Negative: the paper moves back.
nlohmann::json adjustmentJson(const std::optional<PositionAdjustment>& position)
{
    if (!position)
        return nullptr;
    return (position->backfeed ? -position->count : position->count) / 8.0;
}

nlohmann::json layoutJson(const std::optional<PaperLayout>& layout)
{
    if (!layout)
        return nullptr;
    nlohmann::json json{{"kind", PaperLayout::kindWords(layout->kind)}};
    for (int i = 0; i < PaperLayout::FieldCount; ++i) {
        const std::optional<int>& tenths = layout->fields[std::size_t(i)];
        json[PaperLayout::fieldKey(PaperLayout::Field(i))] =
            tenths ? nlohmann::json(*tenths / 10.0) : nlohmann::json(nullptr);
    }
    return json;
}

nlohmann::json settingsOf(const BlackMarkSettings& settings)
{
    return {
        {"markMaxWidth", millimetresOrNull(settings.markMaxWidth)},
        {"paperMaxWidth", millimetresOrNull(settings.paperMaxWidth)},
        {"function", settings.functionOn ? nlohmann::json(*settings.functionOn ? "on" : "off")
                                         : nlohmann::json(nullptr)},
        {"printStart", adjustmentJson(settings.printStart)},
        {"cutPosition", adjustmentJson(settings.cutPosition)},
        {"paperLayout", layoutJson(settings.layout)},
        {"savedPaperLayout", layoutJson(settings.savedLayout)},
        {"savedLoadsAtStartUp", settings.savedLoadsAtStartUp},
        {"text", settings.describe().toStdString()},
    };
}

} // namespace

std::vector<ListenPlace> readListenPlaces(const QStringList& texts, QString& refusal)
{
    std::vector<ListenPlace> places;
    for (const QString& joined : texts) {
        for (const QString& text : joined.split(u',')) {
            if (readRun(text, places, refusal)) {
                if (!refusal.isEmpty())
                    return {};
                continue;
            }
            const PortNames::NetworkAddress address =
                PortNames::readListenAddress(text.toStdString());
            if (!address.refusal.empty()) {
                refusal = QString::fromStdString(address.refusal);
                return {};
            }
            if (places.size() >= std::size_t(VirtualPrinterFleet::MostPrinters)) {
                refusal = QStringLiteral("at most %1 printers in one process")
                              .arg(VirtualPrinterFleet::MostPrinters);
                return {};
            }
            places.push_back({QString::fromStdString(address.host), address.port});
        }
    }
    return places;
}

QString fleetSerial(const QString& base, int index)
{
    if (index == 0)
        return base;
    static const QRegularExpression trailingNumber(QStringLiteral("^(.*?)(\\d{1,9})$"));
    const QRegularExpressionMatch match = trailingNumber.match(base);
    if (!match.hasMatch())
        return base + u'-' + QString::number(index + 1);
    const QString digits = match.captured(2);
    return match.captured(1) +
           QString::number(digits.toLongLong() + index).rightJustified(digits.size(), u'0');
}

bool VirtualPrinterFleet::setUp(VirtualPrinterOutput& output, const Options& options,
                                const PrinterCondition& condition, const QString& picturesDirectory,
                                QString& failure)
{
    output.setCondition(condition);
    output.setAnswersStatus(options.answersStatus);
    if (options.paper)
        output.setPaper(*options.paper);
    if (!picturesDirectory.isEmpty()) {
        if (!QDir().mkpath(picturesDirectory)) {
            failure = QStringLiteral("cannot make the pictures folder %1").arg(picturesDirectory);
            return false;
        }
        output.setPicturesDirectory(picturesDirectory);
    }
    return true;
}

bool VirtualPrinterFleet::listen(const std::vector<ListenPlace>& places, const Options& options,
                                 QTextStream& out, QString& failure)
{
    for (std::size_t i = 0; i < places.size(); ++i) {
        PrinterCondition condition = options.condition;
        condition.serial = fleetSerial(condition.serial, int(i));
        if (condition.serial.size() > 80) {
            failure = QStringLiteral("the serial number %1 is longer than 80 characters")
                          .arg(condition.serial);
            return false;
        }
        auto printer = std::make_unique<FleetPrinter>(out, options.idleSeconds);
        printer->listener.setDelay(options.delayMs);
        if (!printer->listener.listen(places[i].host, places[i].port, failure))
            return false;
        if (places.size() > 1)
            printer->output.setName(printer->listener.address());
        const QString pictures =
            places.size() > 1 && !options.picturesDirectory.isEmpty()
                ? options.picturesDirectory + QLatin1Char('/') +
                      printer->listener.address().replace(QLatin1Char(':'), QLatin1Char('-'))
                : options.picturesDirectory;
        if (!setUp(printer->output, options, condition, pictures, failure))
            return false;
        printers_.push_back(std::move(printer));
    }
    return true;
}

nlohmann::json VirtualPrinterFleet::settingsJson() const
{
    nlohmann::json printers = nlohmann::json::array();
    for (const auto& printer : printers_) {
        const PrinterCondition& condition = printer->output.condition();
        printers.push_back({
            {"address", printer->listener.address().toStdString()},
            {"maker", condition.maker.toStdString()},
            {"model", condition.model.toStdString()},
            {"serial", condition.serial.toStdString()},
            {"documents", printer->output.documents()},
            {"settings", settingsOf(printer->output.settings())},
        });
    }
    return {{"printers", printers}};
}

bool VirtualPrinterFleet::writeSettings(const QString& path, QString& failure) const
{
    QSaveFile file(path);
    const std::string text = settingsJson().dump(2) + '\n';
    if (!file.open(QIODevice::WriteOnly | QIODevice::Truncate) ||
        file.write(text.data(), qint64(text.size())) != qint64(text.size()) || !file.commit()) {
        failure = QStringLiteral("write %1: %2").arg(path, file.errorString());
        return false;
    }
    return true;
}

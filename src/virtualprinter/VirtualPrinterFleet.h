#pragma once

#include "PaperRoll.h"
#include "PrinterCondition.h"
#include "TcpDocumentListener.h"
#include "VirtualPrinterOutput.h"

#include <QStringList>
#include <memory>
#include <nlohmann/json_fwd.hpp>
#include <optional>
#include <vector>

// Where one printer of the fleet listens.
struct ListenPlace {
    QString host;
    quint16 port = 0;
};

// The --listen texts, each PORT, HOST:PORT, or a run of IPv4 addresses with a port
// ("127.0.0.2-127.0.0.201:9100", "127.0.1.0/24:9100"), several in one text apart by commas.
// Empty, with `refusal` set, when any is not one of these or there are more than MostPrinters.
std::vector<ListenPlace> readListenPlaces(const QStringList& texts, QString& refusal);

// The serial number of the printer at `index` of a fleet: a trailing number counts on from the
// base's (VP-0001, VP-0002, ...), any other base gets "-2", "-3" ...; index 0 keeps the base.
QString fleetSerial(const QString& base, int index);

// One printer of the fleet: its settings, its condition and identity, and its output, behind
// its own listener.
struct FleetPrinter {
    FleetPrinter(QTextStream& out, int idleSeconds) : output(out), listener(output, idleSeconds) {}

    VirtualPrinterOutput output;
    TcpDocumentListener listener;
};

// Every printer that one process plays, each on an address of its own.
class VirtualPrinterFleet
{
public:
    static constexpr int MostPrinters = 4096;

    struct Options {
        PrinterCondition condition; // the first printer's; the others count its serial on
        bool answersStatus = true;
        int idleSeconds = 60;
        int delayMs = 0;
        std::optional<PaperRoll> paper;
        // Pictures are drawn when set; with several printers each has a folder of its own
        // below it, named after its address, since each counts its documents from 1.
        QString picturesDirectory;
    };

    // Starts a printer on each place; false, with `failure` set, when one cannot listen.
    // Sets one printer's output up as the options say, with this condition, drawing into
    // `picturesDirectory` when it is not empty; false, with `failure` set, when that folder
    // cannot be made.
    static bool setUp(VirtualPrinterOutput& output, const Options& options,
                      const PrinterCondition& condition, const QString& picturesDirectory,
                      QString& failure);

    bool listen(const std::vector<ListenPlace>& places, const Options& options, QTextStream& out,
                QString& failure);

    const std::vector<std::unique_ptr<FleetPrinter>>& printers() const { return printers_; }

    // Each printer's address, identity and the settings it holds.
    nlohmann::json settingsJson() const;
    bool writeSettings(const QString& path, QString& failure) const;

private:
    std::vector<std::unique_ptr<FleetPrinter>> printers_;
};

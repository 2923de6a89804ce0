#include "FleetRun.h"

#include "CommandSender.h"
#include "LabelLayoutCommands.h"
#include "ParallelJobs.h"
#include "PortKind.h"
#include "PrinterAnswers.h"
#include "PrinterEnquiry.h"
#include "PrinterSdk.h"

#include <algorithm>
#include <chrono>
#include <mutex>

namespace
{

// A run tells the user nothing on the way: the outcome carries the reason.
class QuietMessages : public UserMessages
{
public:
    void show(const UserMessage&) override {}
};

// What the printer holds against what the profile asked; empty when it holds all of it.
std::string differences(const PaperLayout& asked, const PaperLayout& held)
{
    std::string text;
    const auto add = [&](const std::string& what) { text += (text.empty() ? "" : ", ") + what; };
    if (asked.kind != held.kind)
        add(std::string("paper ") + PaperLayout::kindWords(held.kind) + ", not " +
            PaperLayout::kindWords(asked.kind));
    for (int f = 0; f < PaperLayout::FieldCount; ++f) {
        if (asked.fields[f] && asked.fields[f] != held.fields[f])
            add(std::string(PaperLayout::fieldWords(PaperLayout::Field(f))) + " " +
                (held.fields[f] ? std::to_string(*held.fields[f]) : "not set") + ", not " +
                std::to_string(*asked.fields[f]) + " (0.1 mm)");
    }
    return text;
}

void checkLayout(const PaperLayout& asked, const PortSettings& port, PrinterSdk& sdk,
                 PrinterOutcome& outcome)
{
    using namespace LabelLayoutCommands;
    PrinterEnquiry enquiry(sdk);
    std::optional<PaperLayout> held;
    if (enquiry.open(port)) {
        if (const auto answer = enquiry.ask(sendLayout(AsSet), layoutAnswer(AsSet)))
            held = PaperLayout::fromAnswer(*answer);
        enquiry.close();
    }
    if (!held) {
        outcome.layout = PrinterOutcome::LayoutCheck::Unreadable;
        outcome.reason = "layout cannot be read back";
        return;
    }
    const std::string differ = differences(asked, *held);
    outcome.layout = differ.empty() ? PrinterOutcome::LayoutCheck::Verified
                                    : PrinterOutcome::LayoutCheck::Differs;
    outcome.reason = differ.empty() ? "layout verified" : "layout differs: " + differ;
    if (!differ.empty())
        outcome.result = PrinterOutcome::Result::Failed;
}

PrinterOutcome applyWithin(const Profile& profile, const PortSettings& port, PrinterSdk& sdk,
                           bool force)
{
    PrinterOutcome outcome;
    const bool answers = portKindOf(port.portText) != PortKind::Driver;
    bool answered = false;
    if (answers) {
        PrinterEnquiry enquiry(sdk);
        if (!enquiry.open(port)) {
            outcome.reason = std::string("port not opened: ") + enquiry.failure();
            return outcome;
        }
        const PrinterStatus status = PrinterStatus::ask(enquiry);
        answered = status.answeredAny();
        // A printer that does not answer its status will not tell who it is either.
        const PrinterIdentity identity =
            answered ? PrinterIdentity::ask(enquiry) : PrinterIdentity{};
        enquiry.close();
        outcome.maker = identity.items[0].value_or("");
        outcome.model = identity.items[1].value_or("");
        if (status.stopped() && !force) {
            outcome.result = PrinterOutcome::Result::Skipped;
            outcome.reason = status.line();
            return outcome;
        }
    }
    QuietMessages messages;
    WindowValues values;
    CommandSender sender(sdk, messages, values);
    std::string text = profile.documentHexText();
    const SendOutcome sent = sender.SendHexCommand(text, port);
    if (sent.result != SendOutcome::Result::Sent) {
        outcome.reason = sent.reason.empty() ? CommandSender::DocumentFailedText : sent.reason;
        return outcome;
    }
    outcome.result = PrinterOutcome::Result::Set;
    if (profile.layout && answers && answered)
        checkLayout(*profile.layout, port, sdk, outcome);
    else if (profile.layout) {
        outcome.layout = PrinterOutcome::LayoutCheck::Unreadable;
        outcome.reason = answers ? "layout cannot be read back: the printer does not answer"
                                 : "layout cannot be read back through a printer queue";
    }
    return outcome;
}

} // namespace

namespace FleetRun
{

PrinterOutcome applyTo(const Profile& profile, const PortSettings& port, PrinterSdk& sdk,
                       bool force)
{
    const auto start = std::chrono::steady_clock::now();
    PrinterOutcome outcome = applyWithin(profile, port, sdk, force);
    outcome.seconds =
        std::chrono::duration<double>(std::chrono::steady_clock::now() - start).count();
    return outcome;
}

std::vector<PrinterOutcome> run(const Profile& profile, const std::vector<FleetPrinter>& printers,
                                const SdkMaker& makeSdk, int jobs, bool force, const Progress& done,
                                const std::atomic<bool>* stop)
{
    std::vector<PrinterOutcome> outcomes(printers.size());
    std::size_t finished = 0;
    std::mutex told;
    ParallelJobs::run(printers.size(), jobs, [&](std::size_t i) {
        if (stop && *stop)
            outcomes[i] = {PrinterOutcome::Result::Skipped, {}, {}, NotStartedReason};
        else
            outcomes[i] = applyTo(profile, printers[i].port, *makeSdk(), force);
        const std::lock_guard lock(told);
        ++finished;
        if (done)
            done({finished, i, outcomes[i]});
    });
    return outcomes;
}

} // namespace FleetRun

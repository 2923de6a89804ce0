#pragma once

#include "PaperLayout.h"

#include <array>
#include <optional>
#include <string>

// What the printer took in this run of the window, for File ▸ Save profile: the last value of
// each setting that was sent, and the last paper layout that was set.
class SentSettings
{
public:
    // The settings a profile keeps, each once: a feed and a backfeed of the print start are
    // one setting, as are those of the cut position.
    enum Setting { MarkWidth, PaperWidth, PrintStart, CutPosition, SettingCount };

    // A distance in eighths of a mm, as sent; a backfeed when `backfeed`.
    void distanceSent(Setting setting, int count, bool backfeed);
    void switchSent(bool on);
    void layoutSet(const PaperLayout& layout, bool keptAfterPowerOff);

    bool empty() const;
    // The profile in the form `apply` reads, which gives the commands that were sent.
    std::string profileText() const;

private:
    std::string blackMarkTable() const;
    std::string layoutTable() const;

    struct Distance {
        int count;
        bool backfeed;
    };
    std::array<std::optional<Distance>, SettingCount> distances_;
    std::optional<bool> switchOn_;
    std::optional<PaperLayout> layout_;
    bool layoutKept_ = false;
};

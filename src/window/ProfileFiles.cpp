#include "ProfileFiles.h"

#include "FileChooser.h"
#include "FrmTestModel.h"
#include "Profile.h"
#include "TextFiles.h"

#include <array>

namespace
{

const FileChooser::Question ProfileQuestion(const char* title)
{
    return {title, "Profiles (*.toml)", "*.toml", "profile.toml"};
}

// Titled as the window's other errors, and never as the file dialog that came before.
void refuse(UserMessages& messages, const std::string& text)
{
    messages.show({text, ProfileFiles::RefusedTitle, UserMessage::Icon::Error, {}});
}

// A distance of the [black-mark] table into its box; a signed one into the feed box when
// positive, the backfeed box when negative, the other box then showing 0.
void fillDistance(const Profile& profile, const char* key, int feedRow, int backfeedRow,
                  std::array<std::optional<std::string>, 6>& boxes)
{
    const auto found = profile.values.find(std::string("black-mark.") + key);
    if (found == profile.values.end())
        return;
    const std::string& number = found->second;
    const bool back = number.starts_with('-');
    if (backfeedRow < 0) {
        boxes[std::size_t(feedRow)] = number;
        return;
    }
    boxes[std::size_t(back ? backfeedRow : feedRow)] = back ? number.substr(1) : number;
    // Built in place: GCC 12 takes assigning a literal to an optional string for an overlap.
    boxes[std::size_t(back ? feedRow : backfeedRow)].emplace(1, '0');
}

std::string valueOf(const Profile& profile, const std::string& key)
{
    const auto found = profile.values.find(std::string("paper-layout.").append(key));
    return found == profile.values.end() ? std::string() : found->second;
}

PaperLayoutValues layoutValues(const Profile& profile)
{
    PaperLayoutValues values;
    values.kind = profile.layout->kind;
    values.pitch = valueOf(profile, "pitch");
    values.printStart = valueOf(profile, "print-start");
    values.cut = valueOf(profile, "cut");
    values.bottom = valueOf(profile, "bottom");
    values.keepAfterPowerOff = valueOf(profile, "save") == "true";
    return values;
}

} // namespace

namespace ProfileFiles
{

bool openPath(const std::string& path, FrmTestModel& window, UserMessages& messages)
{
    std::string text, refusal;
    if (!TextFiles::read(path, text)) {
        refuse(messages, path + ": cannot be read");
        return false;
    }
    const std::optional<Profile> profile = Profile::read(text, path, refusal);
    if (!profile) {
        refuse(messages, refusal);
        return false;
    }
    std::array<std::optional<std::string>, 6> boxes;
    fillDistance(*profile, "mark-width", 0, -1, boxes);
    fillDistance(*profile, "paper-width", 1, -1, boxes);
    fillDistance(*profile, "print-start", 2, 3, boxes);
    fillDistance(*profile, "cut-position", 4, 5, boxes);
    const auto function = profile->values.find("black-mark.function");
    std::optional<int> switchIndex;
    if (function != profile->values.end())
        switchIndex = function->second == "on" ? 1 : 0;
    window.showSettings(boxes, switchIndex);
    if (profile->layout)
        window.paperLayoutValues() = layoutValues(*profile);
    return true;
}

void open(FrmTestModel& window, FileChooser& files, UserMessages& messages)
{
    if (const std::optional<std::string> path = files.openPath(ProfileQuestion(OpenTitle)))
        openPath(*path, window, messages);
}

void save(const FrmTestModel& window, FileChooser& files, UserMessages& messages)
{
    const SentSettings& sent = window.sentSettings();
    if (sent.empty()) {
        messages.show({NothingSentText, SaveTitle, UserMessage::Icon::Warning, {}});
        return;
    }
    const std::optional<std::string> path = files.savePath(ProfileQuestion(SaveTitle));
    if (path && !TextFiles::write(*path, sent.profileText()))
        refuse(messages, *path + ": cannot be written");
}

} // namespace ProfileFiles

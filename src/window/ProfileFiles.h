#pragma once

#include <string>

class FileChooser;
class FrmTestModel;
class UserMessages;

// File ▸ Open profile… and File ▸ Save profile…: a profile, in the form `apply` reads, read
// into the window, and what the printer took in this run written out as one. Neither sends
// anything.
namespace ProfileFiles
{

inline constexpr const char* OpenTitle = "Open profile";
inline constexpr const char* SaveTitle = "Save profile";
inline constexpr const char* RefusedTitle = "error";
inline constexpr const char* NothingSentText =
    "Nothing has been sent to the printer yet, so there is no profile to save.";

// Asks for a profile and fills the six distance boxes and the on/off list from its
// [black-mark] table, and the paper layout from its [paper-layout] table. A profile that is
// refused changes nothing: one box says where and why.
void open(FrmTestModel& window, FileChooser& files, UserMessages& messages);
// Reads the profile at `path` into the window; false, with one box, when it is refused.
bool openPath(const std::string& path, FrmTestModel& window, UserMessages& messages);

// Asks where, and writes the last value of each setting that was sent and the last layout
// set; a box says so when nothing was sent yet.
void save(const FrmTestModel& window, FileChooser& files, UserMessages& messages);

} // namespace ProfileFiles

#pragma once
// Where the viewer finds and keeps its files: the program folder (the running executable's),
// the options file, the scratch folder for rebuilt card recordings, the user's folders.

#include <string>

namespace kx {

// The folder of the running executable, without a trailing slash; empty when unknown.
std::string ProgramFolder();

// <program folder>/config/option.ini when that "config" folder exists (portable use and the
// build tree); otherwise option.ini in the user's configuration folder, which is created.
// Empty when neither can be had.
std::string OptionsPath();

// <program folder>/temp when it can be written there, else the user's cache folder + /temp.
// The folder is not created here: it is made when a card recording is first copied.
std::string TempFolder();

// The user's documents folder followed by "/CAM_CAPTURE", created each time this runs.
// Empty when no documents folder is known.
std::string DefaultCaptureFolder();

// $XDG_CONFIG_HOME/kx480-viewer and $XDG_CACHE_HOME/kx480-viewer (with the usual fallbacks
// under the home folder); empty when there is no home folder.
std::string UserConfigFolder();
std::string UserCacheFolder();

// The user's documents folder as the desktop names it (xdg user-dirs), else ~/Documents.
std::string DocumentsFolder();

}  // namespace kx

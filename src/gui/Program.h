#pragma once
// What main() does: reads the command line, then either answers it (help, version, a
// backup or an export without a window) or starts the window on the database the location
// rule finds.

// Returns the process's exit code (CommandLine.h's exitcode).
int runQuillary(int argc, char* argv[]);

// The name the desktop knows the program by: its desktop entry, icon and metainfo.
inline constexpr const char* kDesktopId = "org.quillary.Quillary";
